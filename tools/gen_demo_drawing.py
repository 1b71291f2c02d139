#!/usr/bin/env python3
"""Writes the demo drawing that the built-in simulated host serves.

    python3 tools/gen_demo_drawing.py           write src/host/DemoDrawing.cpp
    python3 tools/gen_demo_drawing.py --check   exit 1 when the committed file differs
    python3 tools/gen_demo_drawing.py --stats   print the figures of the drawing

The drawing is a small conveyor control cabinet: a cover page, power distribution, two
pages of motor starters, the control voltage, PLC inputs, field sensors on a terminal
strip, PLC outputs and a generated terminal diagram.  Wires are drawn from pin to pin,
so their ends lie exactly on the pins; before anything is written the drawing is checked
for accidental geometry (a wire end on nothing, a pin or vertex inside a segment, two
pins on one point).  The only exceptions are the two drawing faults it contains on
purpose, which an engineer using the tool should find:

  * page 4: terminal =CV05+CAB1-X1:3 was dropped onto the finished wire from -K1:6 to
    motor -M1:W1, so both its pins lie inside that wire's segment and it is connected
    to nothing;
  * page 4: the wire from =CV04+CAB1-K1:4 stops 2.5 mm short of terminal -X1:2, so it
    ends nowhere and the terminal's cabinet side is open.

Coordinates are millimetres here and thousandths of a millimetre in the output; y grows
downwards.  Standard library only.
"""

import argparse
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OUT = ROOT / "src" / "host" / "DemoDrawing.cpp"

# Host symbol type codes (the names of TSimType in the output).
TYPES = {
    0: "Normal", 1: "Head", 3: "Relay", 4: "Open", 5: "Close", 6: "Switch", 10: "Signal",
    11: "Terminal", 12: "Plc", 14: "NoneElectric", 15: "Support", 16: "Power", 17: "Cable",
    18: "WireNumber", 32: "Branch", 34: "PowerFuse",
}
T = {name: code for code, name in TYPES.items()}
SKIPPED = {1, 2, 14, 15, 28, 30, 31}

# Branch state -> index of the common pin (the stem of the T).
COMMON_PIN = {2: 1, 3: 1, 4: 1, 5: 2, 6: 0, 7: 1, 8: 1}


class Symbol:
    def __init__(self, handle, type_, name, layer, pins, active=True, state=0, signal=""):
        self.handle = handle
        self.type = type_
        self.name = name
        self.layer = layer
        self.pins = pins  # [(name, x, y)]
        self.active = active
        self.state = state
        self.signal = signal
        self.may_overlap = False  # pins allowed inside a segment (the dropped terminal)

    def at(self, pin):
        """The position of a pin, by index or by its (first) name."""
        if isinstance(pin, int):
            return self.pins[pin][1:]
        for name, x, y in self.pins:
            if name == pin:
                return (x, y)
        raise KeyError("%s has no pin %s" % (self.name, pin))


class Line:
    def __init__(self, handle, layer, vertices, active=True, electric=True, jumper=False,
                 cable=False, dangling=False):
        self.handle = handle
        self.layer = layer
        self.vertices = vertices
        self.active = active
        self.electric = electric
        self.jumper = jumper
        self.cable = cable
        self.dangling = dangling  # may end on nothing (the short wire)


class Page:
    def __init__(self, drawing, title, kind, layer):
        self.drawing = drawing
        self.title = title
        self.kind = kind
        self.layer = layer
        self.symbols = []
        self.lines = []

    # --- symbols ---------------------------------------------------------------------

    def add(self, type_, name, pins, x=0, y=0, **kw):
        """A symbol whose pins are given relative to (x, y)."""
        placed = [(p, x + dx, y + dy) for p, dx, dy in pins]
        s = Symbol(self.drawing.handle(), T[type_], name, kw.pop("layer", self.layer), placed, **kw)
        self.symbols.append(s)
        return s

    def head(self):
        return self.add("Head", "", [])

    def signal(self, text, x, y, name=None):
        return self.add("Signal", text, [("1", 0, 0)], x, y, signal=text if name is None else name)

    def terminal(self, strip, number, x, y):
        """One feed-through terminal: both clamps carry the terminal's number."""
        return self.add("Terminal", strip, [(number, 0, 0), (number, 0, 10)], x, y)

    def two_pin(self, type_, name, a, b, x, y, height=15):
        return self.add(type_, name, [(a, 0, 0), (b, 0, height)], x, y)

    def three_pole(self, type_, name, x, y, **kw):
        return self.add(type_, name, [("1", 0, 0), ("2", 0, 15), ("3", 10, 0), ("4", 10, 15),
                                      ("5", 20, 0), ("6", 20, 15)], x, y, **kw)

    def branch(self, x, y, state, stem="down"):
        """A T-junction on a horizontal bus at height y; the stem points up or down."""
        dy = 2.5 if stem == "down" else -2.5
        ends = [(-2.5, 0), (2.5, 0)]
        ends.insert(COMMON_PIN[state], (0, dy))
        s = self.add("Branch", "", [(str(i + 1), dx, d) for i, (dx, d) in enumerate(ends)], x, y,
                     state=state)
        s.left, s.right = (x - 2.5, y), (x + 2.5, y)
        s.stem = (x, y + dy)
        return s

    # --- lines -----------------------------------------------------------------------

    def wire(self, *points, number=None, **kw):
        """A line through the points, with a corner (vertical first) wherever two
        following points are not in line; `number` puts a wire number on it."""
        vertices = [points[0]]
        for p in points[1:]:
            q = vertices[-1]
            if q[0] != p[0] and q[1] != p[1]:
                vertices.append((q[0], p[1]))
            vertices.append(p)
        if number:
            vertices = self.place_wire_number(vertices, number)
        line = Line(self.drawing.handle(), kw.pop("layer", self.layer), vertices, **kw)
        self.lines.append(line)
        return line

    def place_wire_number(self, vertices, number):
        """Puts the wire number on the middle of the wire's longest segment (a vertex of
        its own, so that the number's pin joins the wire)."""
        k = max(range(1, len(vertices)), key=lambda i: seg_len(vertices[i - 1], vertices[i]))
        (x0, y0), (x1, y1) = vertices[k - 1], vertices[k]
        mid = (snap((x0 + x1) / 2), snap((y0 + y1) / 2))
        self.add("WireNumber", number, [("1", 0, 0)], *mid)
        return vertices[:k] + [mid] + vertices[k:]

    def bus(self, start, y, taps, states, stem="down", corner_last=True, **kw):
        """A horizontal bus at height y from `start` with a tap at each x of `taps`:
        branch symbols (states taken in turn), the last tap a plain corner of the bus
        unless corner_last is false. Gives the points where the taps begin."""
        points, prev = [], start
        for i, x in enumerate(taps):
            if i == len(taps) - 1 and corner_last:
                self.wire(prev, (x, y), **kw)
                points.append((x, y))
            else:
                b = self.branch(x, y, states[i % len(states)], stem)
                self.wire(prev, b.left, **kw)
                prev = b.right
                points.append(b.stem)
        if not corner_last:
            points.append(prev)
        return points


def seg_len(a, b):
    return abs(a[0] - b[0]) + abs(a[1] - b[1])


def snap(v):
    return round(v / 2.5) * 2.5


class Drawing:
    def __init__(self):
        self.pages = []
        self.next_handle = 1001

    def handle(self):
        self.next_handle += 1
        return self.next_handle - 1

    def page(self, title, kind=0, layer=1):
        p = Page(self, title, kind, layer)
        self.pages.append(p)
        return p


# ---------------------------------------------------------------------------------------
# The pages


def cover(d):
    p = d.page("Cover: conveyor line CV, control cabinet +CAB1", kind=1)
    p.head()
    # The legend shows a contact wired to a lamp; a cover page is never wired.
    s = p.two_pin("Open", "-S", "13", "14", 60, 200)
    h = p.two_pin("Normal", "-H", "X1", "X2", 100, 200)
    p.wire(s.at("14"), (60, 230), (100, 230), h.at("X2"))
    p.wire((20, 20), (400, 20), (400, 277), (20, 277), (20, 20), electric=False)


def power_distribution(d):
    p = d.page("Power distribution 400 V / 230 V / 24 V DC")
    p.head()
    x0 = [p.terminal("=PWR+CAB1-X0", n, 40 + 10 * i, 40)
          for i, n in enumerate(("L1", "L2", "L3", "N", "PE"))]
    q0 = p.three_pole("Switch", "=PWR+CAB1-Q0", 40, 70)
    for i in range(3):
        p.wire(x0[i].at(1), q0.at(str(2 * i + 1)))
    f1 = p.add("PowerFuse", "=PWR+CAB1-F1", [("1", 0, 0), ("2", 0, 15), ("3", 10, 0), ("4", 10, 15)],
               150, 175)
    f3 = p.add("PowerFuse", "=PWR+CAB1-F3", [("1", 0, 0), ("2", 0, 15)], 250, 175)
    t1 = p.add("Power", "=PWR+CAB1-T1", [("L", 0, 0), ("N", 10, 0), ("PE", 20, 0),
                                         ("+24V", 0, 25), ("0V", 20, 25)], 150, 215)
    xs1 = p.add("Normal", "=PWR+CAB1-XS1", [("L", 0, 0), ("N", 10, 0), ("PE", 20, 0)], 250, 215)
    # Phases, neutral and earth run as buses to the right edge and on to the next pages.
    l1 = p.bus(q0.at("2"), 110, [150, 250, 390], [2, 6])
    p.wire(l1[0], f1.at("1"))
    p.wire(l1[1], f3.at("1"))
    p.bus(q0.at("4"), 120, [390], [])
    p.bus(q0.at("6"), 130, [390], [])
    n = p.bus(x0[3].at(1), 140, [160, 260, 390], [5, 3])
    p.wire(n[0], f1.at("3"))
    p.wire(n[1], xs1.at("N"))
    pe = p.bus(x0[4].at(1), 150, [170, 270, 390], [4, 7])
    p.wire(pe[0], t1.at("PE"))
    p.wire(pe[1], xs1.at("PE"))
    for text, y in (("L1", 110), ("L2", 120), ("L3", 130), ("N", 140), ("PE", 150)):
        p.signal(text, 390, y)
    p.wire(f1.at("2"), t1.at("L"), number="101")
    p.wire(f1.at("4"), t1.at("N"), number="102")
    p.wire(f3.at("2"), xs1.at("L"))
    f2 = p.two_pin("PowerFuse", "=PWR+CAB1-F2", "1", "2", 120, 250)
    p.wire(t1.at("+24V"), (150, 245), (120, 245), f2.at("1"))
    p.wire(f2.at("2"), (120, 270), (390, 270))
    p.signal("24VDC", 390, 270)
    p.wire(t1.at("0V"), (170, 260), (390, 260))
    p.signal("0V", 390, 260)


def motor_feeder(p, k, x, taps, pe_tap, faults=()):
    """Breaker, contactor, terminals and motor of conveyor k below the phase taps."""
    f = "=CV%02d" % k
    q = p.three_pole("Normal", f + "+CAB1-Q1", x, 80)
    km = p.three_pole("Open", f + "+CAB1-K1", x, 110)
    xt = [p.terminal(f + "+CAB1-X1", n, x + 10 * i, 160) for i, n in enumerate(("1", "2", "3", "PE"))]
    m = p.add("Normal", f + "+FLD-M1", [("U1", 0, 0), ("V1", 10, 0), ("W1", 20, 0), ("PE", 30, 0)],
              x, 200)
    for i, tap in enumerate(taps):
        p.wire(tap, q.at(str(2 * i + 1)))
        p.wire(q.at(str(2 * i + 2)), km.at(str(2 * i + 1)))
    cable = k == 3
    for i, pin in enumerate(("U1", "V1", "W1")):
        if i == 2 and "dropped terminal" in faults:
            # Drawn straight to the motor; the terminal was placed on the wire later.
            p.wire(km.at("6"), m.at("W1"))
            xt[2].may_overlap = True
            continue
        if i == 1 and "short wire" in faults:
            end = xt[1].at(0)
            p.wire(km.at("4"), (end[0], end[1] - 2.5), dangling=True)
        else:
            p.wire(km.at(str(2 * i + 2)), xt[i].at(0))
        p.wire(xt[i].at(1), m.at(pin), cable=cable)
    p.wire(pe_tap, xt[3].at(0))
    p.wire(xt[3].at(1), m.at("PE"), cable=cable)
    if cable:
        p.add("Cable", f + "+FLD-W1", [], x + 15, 185)


def motor_page(d, title, conveyors, reserve=False, faults=None):
    p = d.page(title)
    p.head()
    xs = [80 + 110 * i for i in range(len(conveyors))]
    signals = [p.signal(t, 20, y) for t, y in (("L1", 40), ("L2", 50), ("L3", 60), ("PE", 145))]
    taps = []
    for i, s in enumerate(signals[:3]):
        last_branch = reserve and i == 0
        taps.append(p.bus(s.at(0), 40 + 10 * i, [x + 10 * i for x in xs], [2, 8, 5, 6],
                          corner_last=not last_branch))
    pe = p.bus(signals[3].at(0), 145, [x + 30 for x in xs], [6, 3])
    for n, (k, x) in enumerate(zip(conveyors, xs)):
        motor_feeder(p, k, x, [taps[0][n], taps[1][n], taps[2][n]], pe[n],
                     (faults or {}).get(k, ()))
    if reserve:
        # A reserve feeder, drawn and switched off in the drawing.
        q = p.three_pole("Normal", "=CV09+CAB1-Q1", 300, 80, active=False)
        p.wire(taps[0][-1], (300, 40), q.at("1"), active=False)
    return p


def control_voltage(d):
    p = d.page("Control voltage 24 V DC, emergency stop", layer=2)
    p.head()
    s24 = p.signal("24VDC", 20, 40)
    s0 = p.signal("0V", 20, 270)
    taps = p.bus(s24.at(0), 40, [60, 120, 180, 240], [6, 2, 5])
    estop = p.two_pin("Close", "=CTRL+DESK-S0", "11", "12", 60, 70)
    door = p.two_pin("Close", "=CTRL+CAB1-S9", "21", "22", 60, 105)
    k0 = p.two_pin("Relay", "=CTRL+CAB1-K0", "A1", "A2", 60, 150)
    h0 = p.two_pin("Normal", "=CTRL+CAB1-H0", "X1", "X2", 120, 160)
    k0c = p.two_pin("Open", "=CTRL+CAB1-K0", "13", "14", 180, 150)
    f4 = p.two_pin("PowerFuse", "=CTRL+CAB1-F4", "1", "2", 240, 70)
    # The contact mirror under the coil is a drawing aid, not a device.
    p.add("Support", "=CTRL+CAB1-K0", [("A2", 0, 0)], 60, 165)
    p.wire(taps[0], estop.at("11"))
    p.wire(estop.at("12"), door.at("21"), cable=True, number="301")
    p.wire(door.at("22"), k0.at("A1"), number="302")
    p.wire(taps[1], h0.at("X1"))
    p.wire(taps[2], k0c.at("13"))
    p.wire(taps[3], f4.at("1"))
    # The dashed mechanical link between coil and contact carries no current.
    p.wire(k0.at("A1"), k0c.at("13"), electric=False)
    zero = p.bus(s0.at(0), 270, [60, 120], [4], stem="up")
    p.wire(k0.at("A2"), zero[0])
    p.wire(h0.at("X2"), zero[1])
    p.wire(k0c.at("14"), (180, 200), (390, 200))
    p.signal("24V_SAFE", 390, 200)
    p.wire(f4.at("2"), (240, 100), (390, 100))
    p.signal("24V_PLC", 390, 100)


def plc_inputs(d):
    p = d.page("PLC inputs -A1", layer=2)
    p.head()
    xs = [60 + 30 * i for i in range(8)]
    a1 = p.add("Plc", "=CTRL+CAB1-A1", [("I0.%d" % i, 30 * i, 0) for i in range(8)] +
               [("L+", 240, 0), ("M", 255, 0)], 60, 230)
    # The potential arrives here under its name in other letters.
    s24 = p.signal("24vdc", 20, 40)
    taps = p.bus(s24.at(0), 40, xs, [3, 6, 5, 2, 7, 8, 4])
    devices = [("Open", "=CV01+DESK-S1", "13", "14", True),
               ("Close", "=CTRL+DESK-S2", "11", "12", True),
               ("Open", "=CTRL+DESK-S3", "13", "14", True),
               ("Open", "=CV05+FLD-B10", "13", "14", True)]
    devices += [("Open", "=CV%02d+CAB1-K1" % k, "13", "14", False) for k in (1, 2, 3, 4)]
    terminal = 0
    for i, (type_, name, a, b, field) in enumerate(devices):
        dev = p.two_pin(type_, name, a, b, xs[i], 70)
        p.wire(taps[i], dev.at(a))
        if field:
            terminal += 1
            x2 = p.terminal("=CTRL+CAB1-X2", str(terminal), xs[i], 120)
            p.wire(dev.at(b), x2.at(0), cable=name.find("DESK") >= 0)
            p.wire(x2.at(1), a1.at(i))
        else:
            p.wire(dev.at(b), a1.at(i))
    p.add("Cable", "=CTRL+DESK-W1", [], 100, 100)
    p.wire(a1.at("L+"), (300, 180), (390, 180))
    p.signal("24V_PLC", 390, 180)
    p.wire(a1.at("M"), (315, 260), (390, 260))
    p.signal("0V", 390, 260)


def feedback_inputs(d):
    p = d.page("PLC inputs -A4: breaker feedback, motor thermal contacts", layer=2)
    p.head()
    xs = [60 + 30 * i for i in range(8)]
    a4 = p.add("Plc", "=CTRL+CAB1-A4", [("I2.%d" % i, 30 * i, 0) for i in range(8)] +
               [("L+", 240, 0), ("M", 255, 0)], 60, 230)
    s24 = p.signal("24VDC", 20, 40)
    taps = p.bus(s24.at(0), 40, xs, [8, 4, 6, 7, 5, 3, 2])
    for i in range(5):
        q = p.two_pin("Open", "=CV%02d+CAB1-Q1" % (i + 1), "13", "14", xs[i], 70)
        p.wire(taps[i], q.at("13"))
        p.wire(q.at("14"), a4.at(i))
    for i in range(5, 8):
        k = i + 1
        out = p.terminal("=CTRL+CAB1-X6", str(2 * i - 9), xs[i], 70)
        back = p.terminal("=CTRL+CAB1-X6", str(2 * i - 8), xs[i], 150)
        t = p.two_pin("Close", "=CV%02d+FLD-M1" % k, "T1", "T2", xs[i], 110)
        p.wire(taps[i], out.at(0))
        p.wire(out.at(1), t.at("T1"), cable=True)
        p.wire(t.at("T2"), back.at(0), cable=True)
        p.wire(back.at(1), a4.at(i))
    p.wire(a4.at("L+"), (300, 180), (390, 180))
    p.signal("24V_PLC", 390, 180)
    p.wire(a4.at("M"), (315, 260), (390, 260))
    p.signal("0V", 390, 260)


def field_sensors(d):
    p = d.page("Field sensors, terminal strip -X3, PLC inputs -A2", layer=2)
    p.head()
    xs = [30 + 43 * i for i in range(8)]
    names = ["=CV%02d+FLD-B1" % k for k in range(1, 9)]
    a2 = p.add("Plc", "=CTRL+CAB1-A2", [("I1.%d" % i, 43 * i, 0) for i in range(8)] +
               [("L+", 345, 0), ("M", 355, 0)], 40, 240)
    s24 = p.signal("24VDC", 15, 160)
    plus = p.bus(s24.at(0), 160, xs, [7, 6, 5, 8, 2, 3, 4], stem="up")
    minus = []
    for i, (x, name) in enumerate(zip(xs, names)):
        b = p.add("Normal", name, [("BN", 0, 0), ("BK", 10, 0), ("BU", 20, 0)], x, 50)
        xt = [p.terminal("=CTRL+CAB1-X3", str(3 * i + j + 1), x + 10 * j, 110) for j in range(3)]
        for j, pin in enumerate(("BN", "BK", "BU")):
            p.wire(b.at(pin), xt[j].at(0), cable=True)
        p.wire(xt[0].at(1), plus[i])
        p.wire(xt[1].at(1), a2.at(i))
        minus.append(xt[2].at(1))
        if i == 0:
            # The sensor's bracket is mechanical.
            p.add("NoneElectric", "=CV01+FLD-U1", [("1", 0, 0)], x, 50)
    # The 0 V clamps are bridged, and the bridge is fed once.
    for a, b in zip(minus, minus[1:]):
        p.wire(a, (a[0], 125), (b[0], 125), b, jumper=True)
    p.wire((minus[0][0], 125), (minus[0][0], 135), (15, 135))
    p.signal("0V", 15, 135)
    p.wire(a2.at("L+"), (385, 200), (395, 200))
    p.signal("24V_PLC", 395, 200)
    p.wire(a2.at("M"), (395, 270), (405, 270))
    p.signal("0V", 405, 270)


def output_page(d, title, module, channel, loads, supply):
    """An output module at the top, its loads below, returning to a 0 V bus.
    A load is ("coil", k), ("lamp", k) or ("valve", k)."""
    p = d.page(title, layer=2)
    p.head()
    xs = [60 + 35 * i for i in range(8)]
    a = p.add("Plc", module, [("Q%d.%d" % (channel, i), 35 * i, 0) for i in range(8)] +
              [("L+", 280, 0), ("M", 295, 0)], 60, 60)
    s0 = p.signal("0V", 20, 250)
    zero = p.bus(s0.at(0), 250, xs[:len(loads)], [5, 2, 6, 3, 4, 7, 8], stem="up")
    for i, (kind, k) in enumerate(loads):
        x = xs[i]
        if kind == "coil":
            coil = p.two_pin("Relay", "=CV%02d+CAB1-K1" % k, "A1", "A2", x, 150)
            if k == 1:
                p.wire(a.at(i), (x, 130), coil.at("A1"), number="201")
                # A second number on the same wire: the first one in the drawing counts.
                p.add("WireNumber", "K1-A1", [("1", 0, 0)], x, 130)
            else:
                p.wire(a.at(i), coil.at("A1"), number="2%02d" % k)
            p.wire(coil.at("A2"), zero[i])
        elif kind == "lamp":
            x4 = p.terminal("=CTRL+CAB1-X4", str(k), x, 100)
            h = p.two_pin("Normal", "=CV%02d+DESK-H1" % k, "X1", "X2", x, 150)
            p.wire(a.at(i), x4.at(0))
            p.wire(x4.at(1), h.at("X1"), cable=True)
            p.wire(h.at("X2"), zero[i])
        else:
            out = p.terminal("=CTRL+CAB1-X5", str(2 * k - 1), x, 100)
            back = p.terminal("=CTRL+CAB1-X5", str(2 * k), x, 190)
            y = p.two_pin("Normal", "=CV%02d+FLD-Y1" % k, "A1", "A2", x, 150)
            p.wire(a.at(i), out.at(0))
            p.wire(out.at(1), y.at("A1"), cable=True)
            p.wire(y.at("A2"), back.at(0), cable=True)
            p.wire(back.at(1), zero[i])
    p.wire(a.at("L+"), (340, 30), (390, 30))
    p.signal(supply, 390, 30)
    p.wire(a.at("M"), (355, 250), (390, 250))
    p.signal("0V", 390, 250)


def terminal_diagram(d):
    p = d.page("Terminal diagram -X3 (generated)", kind=2, layer=2)
    p.head()
    for i in range(6):
        t = p.terminal("=CTRL+CAB1-X3", str(i + 1), 60 + 20 * i, 100)
        p.wire(t.at(1), (60 + 20 * i, 140))


def build():
    d = Drawing()
    cover(d)
    power_distribution(d)
    motor_page(d, "Motor starters conveyors 1 to 3", [1, 2, 3])
    motor_page(d, "Motor starters conveyors 4 and 5", [4, 5], reserve=True,
               faults={4: ("short wire",), 5: ("dropped terminal",)})
    motor_page(d, "Motor starters conveyors 6 to 8", [6, 7, 8])
    control_voltage(d)
    plc_inputs(d)
    feedback_inputs(d)
    field_sensors(d)
    output_page(d, "PLC outputs -A3: contactors", "=CTRL+CAB1-A3", 0,
                [("coil", k) for k in range(1, 9)], "24V_SAFE")
    output_page(d, "PLC outputs -A5: lamps and valves", "=CTRL+CAB1-A5", 1,
                [("lamp", k) for k in (1, 2, 3)] + [("valve", k) for k in range(1, 6)],
                "24V_SAFE")
    terminal_diagram(d)
    return d


# ---------------------------------------------------------------------------------------
# Checks


def inside(p, a, b):
    """Whether p lies on segment a-b but is neither of its ends."""
    if p == a or p == b:
        return False
    cross = (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0])
    return (cross == 0 and min(a[0], b[0]) <= p[0] <= max(a[0], b[0])
            and min(a[1], b[1]) <= p[1] <= max(a[1], b[1]))


def check(d):
    """Accidental geometry makes a wrong netlist silently; find it here."""
    problems = []
    for number, page in enumerate(d.pages, 1):
        if page.kind != 0:
            continue
        symbols = [s for s in page.symbols if s.active and s.type not in SKIPPED]
        lines = [ln for ln in page.lines if ln.active and ln.electric]
        pins = {}
        for s in symbols:
            for name, x, y in s.pins:
                key = (x, y, s.layer)
                if key in pins:
                    problems.append("page %d: pins %s and %s:%s on one point"
                                    % (number, pins[key], s.name, name))
                pins[key] = "%s:%s" % (s.name, name)
        for ln in lines:
            others = {(v[0], v[1], o.layer) for o in lines if o is not ln for v in o.vertices}
            for end in (ln.vertices[0], ln.vertices[-1]):
                key = (end[0], end[1], ln.layer)
                if key not in pins and key not in others and not ln.dangling:
                    problems.append("page %d: line %d ends nowhere at %s" % (number, ln.handle, end))
            for a, b in zip(ln.vertices, ln.vertices[1:]):
                for s in symbols:
                    if s.layer == ln.layer and not s.may_overlap:
                        for name, x, y in s.pins:
                            if inside((x, y), a, b):
                                problems.append("page %d: pin %s:%s inside line %d"
                                                % (number, s.name, name, ln.handle))
                for o in lines:
                    if o is not ln and o.layer == ln.layer:
                        for v in o.vertices:
                            if inside(v, a, b):
                                problems.append("page %d: a vertex of line %d inside line %d"
                                                % (number, o.handle, ln.handle))
    if problems:
        sys.exit("\n".join(problems))


# ---------------------------------------------------------------------------------------
# Output


def um(v):
    return str(int(round(v * 1000)))


def cpp_bool(v):
    return "true" if v else "false"


def render_symbol(s):
    pins = ", ".join('{"%s", {%s, %s, 0}}' % (n, um(x), um(y)) for n, x, y in s.pins)
    return '{%d, TSimType::%s, "%s", %d, %s, %d, "%s", {%s}}' % (
        s.handle, TYPES[s.type], s.name, s.layer, cpp_bool(s.active), s.state, s.signal, pins)


def render_line(ln):
    vertices = ", ".join("{%s, %s, 0}" % (um(x), um(y)) for x, y in ln.vertices)
    return "{%d, %d, {%s}, %s, %s, %s, %s}" % (
        ln.handle, ln.layer, vertices, cpp_bool(ln.active), cpp_bool(ln.electric),
        cpp_bool(ln.jumper), cpp_bool(ln.cable))


def render(d):
    out = ["// The demo drawing of the built-in simulated host: a conveyor control cabinet.",
           "// Written by tools/gen_demo_drawing.py; change the generator, not this file.",
           "", '#include "host/DemoDrawing.h"', "", "namespace wiremap {", "namespace {", "",
           "// clang-format off"]
    for number, page in enumerate(d.pages, 1):
        out += ["", "// Page %d: %s" % (number, page.title), "TSimPage Page%d() {" % number,
                "  TSimPage Page;", "  Page.PageKind = %d;" % page.kind, "  Page.Symbols = {"]
        out += ["      %s," % render_symbol(s) for s in page.symbols]
        out += ["  };", "  Page.Lines = {"]
        out += ["      %s," % render_line(ln) for ln in page.lines]
        out += ["  };", "  return Page;", "}"]
    out += ["", "TSimDrawing BuildDemoDrawing() {", "  TSimDrawing Drawing;",
            "  Drawing.ProjectHandle = 7;", "  Drawing.Pages = {%s};"
            % ", ".join("Page%d()" % n for n in range(1, len(d.pages) + 1)),
            "  return Drawing;", "}", "", "// clang-format on", "", "}  // namespace", "",
            "const TSimDrawing& DemoDrawing() {",
            "  static const TSimDrawing Drawing = BuildDemoDrawing();", "  return Drawing;", "}", "",
            "}  // namespace wiremap", ""]
    return "\n".join(out)


def stats(d):
    read = [p for p in d.pages if p.kind == 0]
    symbols = [s for p in read for s in p.symbols if s.active and s.type not in SKIPPED]
    lines = [ln for p in read for ln in p.lines if ln.active and ln.electric]
    return "%d pages (%d wired), %d symbols (%d electric), %d lines (%d electric)" % (
        len(d.pages), len(read), sum(len(p.symbols) for p in d.pages), len(symbols),
        sum(len(p.lines) for p in d.pages), len(lines))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed file instead of writing it")
    parser.add_argument("--stats", action="store_true", help="print the figures of the drawing")
    args = parser.parse_args()
    d = build()
    check(d)
    text = render(d).encode("utf-8")
    if args.stats:
        print(stats(d))
    elif args.check:
        if not OUT.exists() or OUT.read_bytes() != text:
            sys.exit("%s differs from what tools/gen_demo_drawing.py writes"
                     % OUT.relative_to(ROOT))
    else:
        OUT.write_bytes(text)


if __name__ == "__main__":
    main()
