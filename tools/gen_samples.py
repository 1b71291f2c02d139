#!/usr/bin/env python3
"""Writes the nine built-in sample projects as constant C++ tables.

    python3 tools/gen_samples.py           write src/model/samples/SampleProject1..9.cpp
    python3 tools/gen_samples.py --check   exit 1 when the committed tables differ
    python3 tools/gen_samples.py --stats   print the figures of every sample

Each sample is a believable control-cabinet project: circuits (motor feeders, relays,
sensors, lamps, valves, PLC channels ...) are laid out as blocks of wiring, blocks are
spread over the project's pages, and the potentials (PE, N, +24V, 0V, the phases) are
wired between them at the end.  Fixed seeds make every run write the same bytes; the
figures each project must show (record count, pages, empty terminal names, unnamed
wires, terminal bridges) are reached exactly and checked before anything is written.

Standard library only.
"""

import argparse
import random
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
OUT_DIR = ROOT / "src" / "model" / "samples"

UNKNOWN = "unknown"


# ---------------------------------------------------------------------------------------
# Designations


class Ctx:
    """Where a device sits: its function and location texts (without separators)."""

    def __init__(self, f=None, l=None):
        self.f = f
        self.l = l


def designation(f, l, p):
    text = ""
    if f:
        text += "=" + f
    if l:
        text += "+" + l
    if p:
        text += "-" + p
    return text


LETTERS = {
    "relay": "K",
    "contactor": "Q",
    "breaker": "F",
    "fuse": "F",
    "motor": "M",
    "term": "X",
    "psu": "T",
    "plc": "A",
    "button": "S",
    "lamp": "H",
    "sensor": "B",
    "valve": "Y",
    "heater": "E",
    "switch": "Q",
    "plug": "XS",
    "drive": "A",
    "temp": "B",
    "cable": "W",
}


# ---------------------------------------------------------------------------------------
# Building blocks


class Block:
    """The wiring of one circuit; it lands on one page."""

    def __init__(self, flexible):
        self.recs = []  # [pinA, pinB, wire, unknown_by_rule]
        self.taps = {}  # bus name -> [pin]
        self.terms = []  # terminals whose two clamps may show up as a bridge record
        self.spares = []  # (free contact, cabinet) for reserve wiring
        self.flexible = flexible
        self.page = None

    def size(self):
        return len(self.recs) + sum(len(t) for t in self.taps.values())


class Bus:
    """A potential joined across blocks.

    mode "mixed": the first tap of a block runs to the hub, later taps of the same
    block are daisy-chained; "chain": every tap is jumpered to the previous one.
    A quota (number of taps wired straight to the hub) moves taps between the two.
    """

    def __init__(self, name, wire=None, unknown=False, mode="mixed"):
        self.name = name
        self.wire = wire
        self.unknown = unknown
        self.mode = mode
        self.hub = None
        self.hub_block = None
        self.quota = None


class Strip:
    """Terminals of one purpose in one place, numbered 1, 2, 3 ...; a full strip is
    followed by a new one.  Terminals of a pinless strip are symbols of their own
    ("-X2.5") whose clamp has no name."""

    def __init__(self, plant, ctx, size, pinless=False, des=None):
        self.plant = plant
        self.ctx = ctx
        self.size = size
        self.pinless = pinless
        self.des = des
        self.next = 1

    def take(self, n, names=None):
        if self.des is None or (self.next + n - 1 > self.size and not names):
            self.des = self.plant.new(self.ctx, "term")
            self.next = 1
        pins = []
        for i in range(n):
            if names:
                pins.append((self.des, names[i]))
            elif self.pinless:
                pins.append(("%s.%d" % (self.des, self.next), ""))
            else:
                pins.append((self.des, str(self.next)))
            self.next += 1
        return pins


class Plc:
    """Digital channels of PLC modules; a new module is added when one is full."""

    def __init__(self, plant, ctx, pin_name, channels=16, supply=("24V", "0V")):
        self.plant = plant
        self.ctx = ctx
        self.pin_name = pin_name
        self.channels = channels
        self.supply = supply
        self.modules = {"in": [None, 0], "out": [None, 0]}

    def channel(self, kind):
        slot = self.modules[kind]
        if slot[0] is None or slot[1] >= self.channels:
            slot[0] = self.plant.new(self.ctx, "plc")
            slot[1] = 0
            if self.supply:
                self.plant.tap("+24V", (slot[0], self.supply[0]))
                self.plant.tap("0V", (slot[0], self.supply[1]))
        pin = (slot[0], self.pin_name(slot[1]))
        slot[1] += 1
        return pin

    def inp(self):
        return self.channel("in")

    def out(self):
        return self.channel("out")


class Plant:
    """One project under construction: device numbering, terminal strips, the blocks
    of wiring in drawing order and the potentials that join them.  The circuit
    methods each add one block (a few add several)."""

    def __init__(self, seed, fmt=designation, letters=None, restart=False):
        self.seed = seed
        self.rng = random.Random(seed)
        self.fmt = fmt
        self.letters = dict(LETTERS, **(letters or {}))
        self.restart = restart
        self.counters = {}
        self.blocks = []
        self.buses = {}
        self.strips = {}
        self.cur = None
        self.plc = None
        self.screens = False

    # naming

    def des(self, ctx, product):
        return self.fmt(ctx.f, ctx.l, product)

    def new(self, ctx, cls):
        prefix = self.letters[cls]
        key = (ctx.f if self.restart else None, prefix)
        n = self.counters.get(key, 0) + 1
        self.counters[key] = n
        return self.des(ctx, prefix + str(n))

    def strip(self, ctx, purpose, size=40, **kw):
        key = (ctx.f, ctx.l, purpose)
        if key not in self.strips:
            self.strips[key] = Strip(self, ctx, size, **kw)
        return self.strips[key]

    # blocks and wiring

    def begin(self, flexible=True):
        self.cur = Block(flexible)
        self.blocks.append(self.cur)
        return self.cur

    def wire(self, a, b, wire=None, rule=False):
        self.cur.recs.append([a, b, wire, rule])

    def tap(self, bus, pin):
        self.cur.taps.setdefault(bus, []).append(pin)

    def term(self, *pins):
        self.cur.terms.extend(pins)

    def spare(self, pin, cab):
        self.cur.spares.append((pin, cab))

    def bus(self, name, **kw):
        self.buses[name] = Bus(name, **kw)
        return self.buses[name]

    def hub(self, name, pin):
        self.buses[name].hub = pin
        self.buses[name].hub_block = self.cur

    def screen(self, cab, fld):
        """Screen of a field cable: an unnamed clamp wired to the cabinet's PE strip."""
        if not self.screens:
            return
        w = self.new(fld, "cable")
        x = self.strip(cab, "pe", size=10000, des=self.des(cab, "XPE")).take(1)[0]
        self.wire((w, ""), x, rule=True)
        self.tap("PE", x)

    # control sources and sinks: a PLC channel where there is one, relay logic otherwise

    def drive(self, cab, door):
        if self.plc:
            return self.plc.out()
        k = self.new(cab, "relay")
        s = self.new(door, "button")
        self.tap("+24V", (s, "13"))
        self.wire((s, "14"), (k, "A1"))
        self.tap("0V", (k, "A2"))
        self.tap("+24V", (k, "11"))
        self.spare((k, "21"), cab)
        return (k, "14")

    def sink(self, cab):
        if self.plc:
            return self.plc.inp()
        k = self.new(cab, "relay")
        self.tap("0V", (k, "A2"))
        self.spare((k, "11"), cab)
        self.spare((k, "21"), cab)
        return (k, "A1")

    # circuits

    def main_supply(self, cab, wire_names=True):
        self.begin(flexible=False)
        x0 = self.des(cab, self.letters["term"] + "0")
        q0 = self.des(cab, self.letters["switch"] + "0")
        for i, ph in enumerate(("L1", "L2", "L3")):
            self.wire((x0, ph), (q0, str(2 * i + 1)), ph if wire_names else None)
            self.hub(ph, (q0, str(2 * i + 2)))
        self.hub("N", (x0, "N"))
        self.term((x0, "L1"), (x0, "N"), (x0, "PE"))
        return (x0, "PE")

    def power_supply(self, cab, psu_pins=("L", "N", "PE", "+24V", "0V")):
        self.begin(flexible=False)
        f = self.new(cab, "breaker")
        t = self.new(cab, "psu")
        f24 = self.new(cab, "fuse")
        l, n, pe, plus, zero = psu_pins
        self.tap("L1", (f, "1"))
        self.tap("N", (f, "3"))
        self.wire((f, "2"), (t, l))
        self.wire((f, "4"), (t, n))
        self.tap("PE", (t, pe))
        self.wire((t, plus), (f24, "1"))
        self.hub("+24V", (f24, "2"))
        self.hub("0V", (t, zero))
        return t

    def motor(self, cab, fld, door, plug=False, feedback=True, protect=True, pe_rail=False,
              name=None, plug_ctx=None, shield=None, terms=None):
        self.begin()
        f = self.new(cab, "breaker") if protect else None
        q = self.new(cab, "contactor")
        m = name or self.new(fld, "motor")
        xs = self.strip(cab, "power").take(3 if pe_rail else 4, terms)
        self.term(*xs)
        if pe_rail:
            # PE clamps of this strip sit on one unnamed rail.
            xs.append((xs[0][0], ""))
        for i in range(3):
            if f:
                self.tap(("L1", "L2", "L3")[i], (f, str(2 * i + 1)))
                self.wire((f, str(2 * i + 2)), (q, str(2 * i + 1)))
            else:
                self.tap(("L1", "L2", "L3")[i], (q, str(2 * i + 1)))
        if plug:
            p = self.new(plug_ctx or fld, "plug")
            for i, ph in enumerate("UVW"):
                self.wire((q, str(2 * i + 2)), xs[i])
                self.wire(xs[i], (p, str(i + 1)))
                self.wire((p, str(i + 1)), (m, ph))
            self.wire(xs[3], (p, "PE"))
            self.wire((p, "PE"), (m, "PE"), rule=True)
        else:
            for i, ph in enumerate("UVW"):
                self.wire((q, str(2 * i + 2)), xs[i])
                self.wire(xs[i], (m, ph))
            self.wire(xs[3], (m, "PE"), rule=True)
        self.tap("PE", xs[3])
        self.screen(cab, fld)
        if shield:
            # The motor cable's screen is clamped at both ends; the clamps have no names.
            w = self.new(fld, "cable")
            for end in shield(xs[3]):
                self.wire((w, ""), end, rule=True)
        self.wire(self.drive(cab, door), (q, "A1"))
        self.tap("0V", (q, "A2"))
        if feedback:
            self.tap("+24V", (q, "13"))
            self.wire((q, "14"), self.sink(cab))
            if f:
                self.tap("+24V", (f, "13"))
                self.wire((f, "14"), self.sink(cab))
        self.spare((q, "21"), cab)
        return m

    def sensor(self, cab, fld, cls="sensor", pins=("BN", "BU", "BK"), name=None):
        self.begin()
        b = name or self.new(fld, cls)
        xs = self.strip(cab, "io").take(3)
        self.term(*xs)
        for pin, x in zip(pins, xs):
            self.wire((b, pin), x)
        self.tap("+24V", xs[0])
        self.tap("0V", xs[1])
        self.wire(xs[2], self.sink(cab))
        self.screen(cab, fld)

    def button(self, cab, door, nc=False):
        self.begin()
        s = self.new(door, "button")
        if nc:
            self.tap("+24V", (s, "11"))
            self.wire((s, "12"), self.sink(cab))
        else:
            self.tap("+24V", (s, "13"))
            self.wire((s, "14"), self.sink(cab))

    def lamp(self, cab, door):
        self.begin()
        h = self.new(door, "lamp")
        self.wire(self.drive(cab, door), (h, "X1"))
        self.tap("0V", (h, "X2"))

    def valve(self, cab, fld, pins=("1", "2"), name=None):
        self.begin()
        y = name or self.new(fld, "valve")
        xs = self.strip(cab, "io").take(2)
        self.term(*xs)
        self.wire(self.drive(cab, cab), xs[0])
        self.wire(xs[0], (y, pins[0]))
        self.wire((y, pins[1]), xs[1])
        self.tap("0V", xs[1])
        self.screen(cab, fld)

    def relay_group(self, cab, door, n):
        """Interposing relays with their coils daisy-chained on 0V."""
        self.begin()
        prev = None
        for _ in range(n):
            k = self.new(cab, "relay")
            self.wire(self.drive(cab, door), (k, "A1"))
            if prev:
                self.wire((prev, "A2"), (k, "A2"), rule=True)
            else:
                self.tap("0V", (k, "A2"))
            self.tap("+24V", (k, "11"))
            self.wire((k, "14"), self.sink(cab))
            self.spare((k, "21"), cab)
            prev = k

    def estop(self, cab, stations):
        """Emergency stop buttons in series in front of a monitoring relay."""
        self.begin()
        k = self.new(cab, "relay")
        prev = None
        for door in stations:
            s = self.new(door, "button")
            if prev is None:
                self.tap("+24V", (s, "11"))
            else:
                self.wire(prev, (s, "11"))
            prev = (s, "12")
        self.wire(prev, (k, "A1"))
        self.tap("0V", (k, "A2"))
        self.tap("+24V", (k, "13"))
        self.wire((k, "14"), self.sink(cab))
        self.spare((k, "21"), cab)

    def field_signal(self, cab, box, fld, hops=1):
        """A signal led through a junction box: a linear chain of terminals."""
        self.begin()
        b = self.new(fld, "sensor")
        src = self.strip(cab, "io").take(1)[0]
        self.term(src)
        self.wire(src, self.sink(cab))
        prev = src
        for _ in range(hops):
            x = self.strip(box, "box").take(1)[0]
            self.term(x)
            self.wire(prev, x)
            prev = x
        self.wire(prev, (b, "1"))
        feed = self.strip(box, "box").take(1)[0]
        self.wire((b, "2"), feed)
        self.tap("+24V", feed)

    def heater(self, cab, fld):
        self.begin()
        f = self.new(cab, "breaker")
        q = self.new(cab, "contactor")
        e = self.new(fld, "heater")
        xs = self.strip(cab, "power").take(2)
        self.term(*xs)
        self.tap("L2", (f, "1"))
        self.wire((f, "2"), (q, "1"))
        self.wire((q, "2"), xs[0])
        self.wire(xs[0], (e, "1"))
        self.wire((e, "2"), xs[1])
        self.tap("N", xs[1])
        self.wire(self.drive(cab, cab), (q, "A1"))
        self.tap("0V", (q, "A2"))

    def fan(self, cab):
        """Cabinet fan or heater behind a miniature circuit breaker."""
        self.begin()
        f = self.new(cab, "breaker")
        e = self.new(cab, "heater")
        self.tap("L1", (f, "1"))
        self.wire((f, "2"), (e, "L"))
        self.tap("N", (e, "N"))
        self.tap("PE", (e, "PE"))

    def socket(self, cab):
        self.begin()
        f = self.new(cab, "breaker")
        x = self.new(cab, "plug")
        self.tap("L1", (f, "1"))
        self.wire((f, "2"), (x, "L"))
        self.tap("N", (x, "N"))
        self.tap("PE", (x, "PE"))

    # the whole project

    def assemble(self, plan):
        return assemble(self, plan)


# ---------------------------------------------------------------------------------------
# Assembly


def pin_key(pin):
    return (pin[0] + ":" + pin[1]).casefold()


def route_bus(plant, bus, taps):
    """Bus records for the taps [(block index, pin)], in tap order."""
    rng = random.Random("%s-%s" % (plant.seed, bus.name))
    routes = []  # (tap index, partner pin, hub block or block index of the partner tap)
    if not taps:
        return routes
    first_of_block = [i for i in range(len(taps)) if i == 0 or taps[i][0] != taps[i - 1][0]]
    later = sorted(set(range(len(taps))) - set(first_of_block))
    if bus.mode == "chain":
        to_hub = {0}
    else:
        to_hub = set(first_of_block)
        if bus.quota is not None:
            chained = first_of_block[1:]
            rng.shuffle(chained)
            extra = list(later)
            rng.shuffle(extra)
            if bus.quota < len(first_of_block):
                for i in chained[: len(first_of_block) - bus.quota]:
                    to_hub.discard(i)
            else:
                to_hub.update(extra[: bus.quota - len(first_of_block)])
    if bus.hub is None:
        to_hub.discard(0)
    for i in range(len(taps)):
        if i in to_hub:
            routes.append((i, bus.hub, bus.hub_block))
        elif i > 0:
            routes.append((i, taps[i - 1][1], taps[i - 1][0]))
    return routes


def assemble(plant, plan):
    rng = random.Random("%s-assemble" % plant.seed)
    target = plan["records"]
    bridges = plan.get("bridges", 0)

    def total(blocks):
        return sum(b.size() for b in blocks) + bridges

    blocks = plant.blocks
    while total(blocks) > target:
        for i in range(len(blocks) - 1, -1, -1):
            if blocks[i].flexible:
                del blocks[i]
                break
        else:
            raise SystemExit("sample %d: fixed blocks exceed the record count" % plan["number"])
    # Reserve wiring: free relay contacts to spare terminals, spread over the project.
    spares = [(b, s) for b in blocks for s in b.spares]
    rng.shuffle(spares)
    missing = target - total(blocks)
    if missing > len(spares):
        raise SystemExit("sample %d: %d records short" % (plan["number"], missing - len(spares)))
    for blk, (pin, cab) in sorted(spares[:missing], key=lambda e: blocks.index(e[0])):
        plant.cur = blk
        x = plant.strip(cab, "spare").take(1)[0]
        plant.wire(pin, x)
        plant.term(x)

    pages = plan["pages"]
    for i, b in enumerate(blocks):
        b.page = pages[i * len(pages) // len(blocks)]

    # Terminal bridges: both clamps of one terminal, reported as a wire from the
    # terminal to itself.
    terms = []
    seen = set()
    for b in blocks:
        for t in b.terms:
            if pin_key(t) not in seen:
                seen.add(pin_key(t))
                terms.append((b, t))
    lettered = [e for e in terms if any(c.isalpha() for c in e[1][1])]
    case_bridges = plan.get("case_bridges", 0)
    chosen = rng.sample(lettered, case_bridges)
    rest = [e for e in terms if e not in chosen]
    chosen += rng.sample(rest, bridges - case_bridges)
    bridge_recs = {}
    for n, (b, t) in enumerate(chosen):
        other = (t[0], t[1].lower()) if n < case_bridges else t
        bridge_recs.setdefault(id(b), []).append([t, other, None, True])

    def emit():
        recs = []
        per_block = {id(b): [] for b in blocks}
        taps_of = {}
        for bi, b in enumerate(blocks):
            for name, pins in b.taps.items():
                for p in pins:
                    taps_of.setdefault(name, []).append((bi, p))
        for name, taps in taps_of.items():
            bus = plant.buses[name]
            for i, partner, pblock in route_bus(plant, bus, taps):
                bi, pin = taps[i]
                ppage = pblock.page if isinstance(pblock, Block) else blocks[pblock].page
                per_block[id(blocks[bi])].append(
                    [pin, blocks[bi].page, partner, ppage, bus.wire, bus.unknown])
        for b in blocks:
            for a, c, w, rule in b.recs:
                recs.append([a, b.page, c, b.page, w, rule])
            for a, c, w, rule in bridge_recs.get(id(b), []):
                recs.append([a, b.page, c, b.page, w, rule])
            recs.extend(per_block[id(b)])
        return recs

    knob = plan.get("empty_knob")
    if knob:
        bus = plant.buses[knob]
        ntaps = sum(len(b.taps.get(knob, [])) for b in blocks)
        reached = []
        for q in range(1, ntaps + 1):
            bus.quota = q
            recs = emit()
            reached.append(count_empty(recs))
            if reached[-1] == plan["empty"]:
                break
        else:
            raise SystemExit("sample %d: cannot reach %d empty terminal names (%d taps reach %s)"
                             % (plan["number"], plan["empty"], ntaps, reached))
    else:
        recs = emit()

    # Unnamed wires: bridges and wires marked by rule first, then others at random.
    unknown = plan["unknown"]
    if unknown == "all":
        unknown = len(recs)
    rule = [i for i, r in enumerate(recs) if r[5]]
    bridges_first = [i for i in rule if pin_key(recs[i][0]) == pin_key(recs[i][2])]
    others = sorted(set(rule) - set(bridges_first))
    rng.shuffle(others)
    picked = (bridges_first + others)[:unknown]
    if len(picked) < unknown:
        free = sorted(set(range(len(recs))) - set(picked))
        picked += rng.sample(free, unknown - len(picked))
    picked = set(picked)
    number = plan.get("wire_name", lambda n, page: "%03d" % n)
    n = 0
    out = []
    for i, (a, pa, c, pc, w, _) in enumerate(recs):
        if i in picked:
            w = UNKNOWN
        elif w is None:
            n += 1
            w = number(n, pa)
        out.append((a[0], a[1], pa, c[0], c[1], pc, w))
    return out


def count_empty(recs):
    return sum((r[0][1] == "") + (r[2][1] == "") for r in recs)


# ---------------------------------------------------------------------------------------
# Figures (the same rules the program applies)


def split_name(name):
    parts = ["", "", "", ""]
    start = len(name)
    for i in range(len(name) + 1):
        if i < len(name) and name[i] not in "=+-:":
            continue
        if start < len(name):
            k = "=+-:".find(name[start])
            if k >= 0:
                parts[k] = name[start:i]
        start = i
    return parts


def figures(recs):
    pins = {}
    page = {}
    parent = {}

    def find(x):
        while parent[x] != x:
            parent[x] = parent[parent[x]]
            x = parent[x]
        return x

    links = {}
    same = 0
    for da, pa, ga, db, pb, gb, _ in recs:
        na, nb = da + ":" + pa, db + ":" + pb
        ka, kb = na.casefold(), nb.casefold()
        if ka == kb:
            same += 1
            continue
        for k, n, g in ((ka, na, ga), (kb, nb, gb)):
            pins.setdefault(k, n)
            parent.setdefault(k, k)
            page[k] = g
        links[ka] = links.get(ka, 0) + 1
        links[kb] = links.get(kb, 0) + 1
        parent[find(ka)] = find(kb)
    nets = {}
    for k in pins:
        nets.setdefault(find(k), []).append(k)
    sizes = sorted((len(v) for v in nets.values()), reverse=True)
    linear = sum(1 for v in nets.values() if all(links[k] <= 2 for k in v))
    aspects = [set(), set(), set(), set()]
    for k, n in pins.items():
        for i, part in enumerate(split_name(n)):
            aspects[i].add(part.casefold())
    shapes = {}
    for des in {r[0] for r in recs} | {r[3] for r in recs}:
        f, l, pr, _ = split_name(des + ":")
        shape = ("F" if f else "") + ("L" if l else "") + ("P" if pr else "") or "word"
        shapes[shape] = shapes.get(shape, 0) + 1
    return {
        "records": len(recs),
        "pins": len(pins),
        "nets": len(nets),
        "largest": sizes[:4],
        "two_pin": sizes.count(2),
        "linear": linear,
        "pages": len({g for g in page.values()}),
        "page_range": (min(min(r[2], r[5]) for r in recs), max(max(r[2], r[5]) for r in recs)),
        "functions": len(aspects[0]),
        "locations": len(aspects[1]),
        "products": len(aspects[2]),
        "empty": sum((r[1] == "") + (r[4] == "") for r in recs),
        "unknown": sum(r[6] == UNKNOWN for r in recs),
        "same": same,
        "shapes": shapes,
    }


# ---------------------------------------------------------------------------------------
# The nine projects


def fill(plant, budget, circuits):
    """Adds circuits, chosen by weight, until the blocks hold about budget records."""
    names = [c[0] for c in circuits]
    weights = [c[1] for c in circuits]
    funcs = dict((c[0], c[2]) for c in circuits)
    while sum(b.size() for b in plant.blocks) < budget:
        funcs[plant.rng.choices(names, weights)[0]]()


def sample1():
    """Conveyor line, hard-wired relay logic; function, location and product everywhere."""
    p = Plant(1101, letters={"term": "XT"}, restart=True)
    for ph in ("L1", "L2", "L3", "N"):
        p.bus(ph, wire=ph, mode="chain")
    p.bus("PE", unknown=True)
    p.bus("+24V")
    p.bus("0V")
    cab0 = Ctx("OPT.00", "MX0")
    p.begin(flexible=False)
    p.hub("PE", ("=OPT.00+MX0", ""))
    p.tap("PE", p.main_supply(cab0))
    p.power_supply(cab0)
    p.begin(flexible=False)
    u = p.des(cab0, "U1")
    p.tap("+24V", (u, "+"))
    p.tap("0V", (u, "-"))
    p.tap("PE", (u, "PE"))
    p.socket(cab0)
    p.estop(cab0, [Ctx("OPT.00", "MX1"), Ctx("OPT.00", "MX1")])
    def screen(fld):
        return lambda rail: [(designation(fld.f, fld.l, None), "")]

    sections = []
    for k in range(1, 7):
        f = "OPT.%02d" % k
        cab, desk, fld = Ctx(f, "MX0"), Ctx(f, "MX1"), Ctx(f, "FD%d" % ((k + 1) // 2))
        sections.append((cab, desk, fld))
        p.begin(flexible=False)
        p.tap("PE", (designation(f, fld.l, None), ""))
        p.motor(cab, fld, desk, pe_rail=True, shield=screen(fld))
        p.sensor(cab, fld)
        p.lamp(cab, desk)
        p.button(cab, desk, nc=True)

    def some():
        return p.rng.choice(sections)

    def motor(section):
        p.motor(section[0], section[2], section[1], feedback=p.rng.random() < 0.5, shield=screen(section[2]))

    fill(p, 440, [
        ("motor", 3, lambda: motor(some())),
        ("sensor", 5, lambda: p.sensor(*some()[::2])),
        ("lamp", 2, lambda: p.lamp(*some()[:2])),
        ("button", 2, lambda: p.button(*some()[:2])),
        ("fan", 2, lambda: p.fan(some()[0])),
    ])
    return p, {
        "number": 1,
        "caption": "Conveyor line OPT",
        "label": "Conveyor OPT",
        "records": 474,
        "pages": list(range(14, 29)),
        "empty": 61,
        "empty_knob": "PE",
        "unknown": 138,
        "bridges": 4,
    }


def used_pages(lo, hi, seed, gaps):
    """Pages lo to hi without a few (cover sheets, parts lists, drawings without wires)."""
    rng = random.Random(seed)
    inner = list(range(lo + 1, hi))
    skip = set(rng.sample(inner, gaps))
    return [lo] + [pg for pg in inner if pg not in skip] + [hi]


def sample2():
    """Pump station with a small PLC; location and product only."""
    p = Plant(2202, fmt=lambda f, l, pr: designation(None, l, pr))
    for ph in ("L1", "L2", "L3", "N"):
        p.bus(ph, wire=ph, mode="chain")
    p.bus("PE", unknown=True)
    p.bus("+24V", wire="24V")
    p.bus("0V", wire="0V")
    cab = Ctx(None, "ZC")
    p.begin(flexible=False)
    p.hub("PE", ("+ZC-PE", ""))
    p.tap("PE", p.main_supply(cab))
    p.power_supply(cab)
    p.plc = Plc(p, cab, lambda k: str(k + 1), channels=16)
    pumps = [Ctx(None, "ZP%d" % k) for k in range(1, 5)]
    tank = Ctx(None, "ZT")
    for fld in pumps:
        p.motor(cab, fld, cab, plug=True, plug_ctx=cab)
        p.sensor(cab, fld)
    p.estop(cab, [cab, pumps[0], pumps[2]])
    fill(p, 388, [
        ("pump", 1, lambda: p.motor(cab, p.rng.choice(pumps), cab, plug=True, plug_ctx=cab)),
        ("level", 4, lambda: p.sensor(cab, tank)),
        ("valve", 3, lambda: p.valve(cab, p.rng.choice(pumps + [tank]))),
        ("lamp", 2, lambda: p.lamp(cab, cab)),
        ("button", 2, lambda: p.button(cab, cab)),
        ("fan", 1, lambda: p.fan(cab)),
    ])
    return p, {
        "number": 2,
        "caption": "Pump station ZC",
        "label": "Pump station",
        "records": 451,
        "pages": list(range(2, 8)),
        "empty": 11,
        "empty_knob": "PE",
        "unknown": 85,
        "bridges": 57,
        "wire_name": lambda n, page: str(n),
    }


def sample3():
    """Cooling plant: cabinets in room 528, field devices, a PLC with connector terminals,
    Pt100 inputs, some devices known only by product or by a plain name."""
    p = Plant(3303)
    p.screens = True
    for ph in ("L1", "L2", "L3"):
        p.bus(ph, mode="chain")
    p.bus("N")
    p.bus("PE")
    p.bus("+24V")
    p.bus("0V")
    cabs = [Ctx(None, "RM528.%d" % k) for k in range(1, 5)]
    door = Ctx(None, None)
    fields = [Ctx(None, "RM528"), Ctx(None, "RM530"), Ctx(None, "ST1"), Ctx(None, "ST2")]
    p.begin(flexible=False)
    p.hub("PE", ("+RM528.4-XPE", ""))
    p.tap("PE", p.main_supply(cabs[0]))
    p.power_supply(cabs[0])
    p.plc = Plc(p, cabs[1], lambda k: "CN%d:%d" % (k // 8 + 1, k % 8 + 1), channels=16,
                supply=("CN3:1", "CN3:2"))
    rack = {"slot": 0, "channel": 4}

    def pt100(cab, fld):
        if rack["channel"] == 4:
            rack["slot"] += 1
            rack["channel"] = 0
        p.begin()
        d = p.des(cabs[1], "D%d.%d" % ((rack["slot"] - 1) // 8 + 1, (rack["slot"] - 1) % 8 + 1))
        ch = rack["channel"]
        rack["channel"] += 1
        b = p.new(fld, "temp")
        xs = p.strip(cab, "io").take(2)
        p.term(*xs)
        p.wire((b, "1"), xs[0])
        p.wire((b, "2"), xs[1])
        p.wire(xs[0], (d, "PT%d:+I" % ch))
        p.wire(xs[1], (d, "PT%d:-I" % ch))
        p.screen(cab, fld)

    def stack_light(cab):
        p.begin()
        h = p.new(door, "lamp")
        for k in range(1, 4):
            el = "%s^%d" % (h, k)
            p.wire(p.drive(cab, door), (el, "X1"))
            p.tap("0V", (el, "X2"))

    def external(cab, name, n):
        p.begin()
        for k in range(n):
            x = p.strip(cab, "io").take(1)[0]
            p.term(x)
            p.wire(p.drive(cab, door) if k % 2 else p.sink(cab), x)
            p.wire(x, (name, str(k + 1)))

    p.motor(cabs[2], fields[1], door, name="Čerpadlo chladicí vody")
    p.motor(cabs[2], fields[2], door, name="Ventilátor chladicí věže")
    p.motor(cabs[3], fields[3], door, name="Ventilátor chladicí věže 2")
    external(cabs[1], "Řídicí systém budovy", 6)
    p.sensor(cabs[1], fields[1], pins=("1", "2", "3"), name="Snímač tlaku vody")
    stack_light(cabs[0])
    stack_light(cabs[1])
    p.estop(cabs[0], [door, fields[0], fields[1], fields[2]])

    def some_cab():
        return p.rng.choice(cabs[1:])

    def some_field():
        return p.rng.choice(fields)

    fill(p, 1960, [
        ("motor", 3, lambda: p.motor(some_cab(), some_field(), door)),
        ("sensor", 6, lambda: p.sensor(some_cab(), some_field())),
        ("pt100", 3, lambda: pt100(some_cab(), some_field())),
        ("valve", 3, lambda: p.valve(some_cab(), some_field())),
        ("lamp", 2, lambda: p.lamp(some_cab(), door)),
        ("button", 2, lambda: p.button(some_cab(), door)),
        ("relays", 1, lambda: p.relay_group(some_cab(), door, p.rng.randint(3, 6))),
        ("signal", 2, lambda: p.field_signal(some_cab(), fields[0], some_field())),
        ("fan", 1, lambda: p.fan(some_cab())),
    ])
    return p, {
        "number": 3,
        "caption": "Cooling plant RM528",
        "label": "Cooling RM528",
        "records": 2056,
        "pages": used_pages(111, 217, 3, 9),
        "empty": 222,
        "empty_knob": "PE",
        "unknown": "all",
        "bridges": 31,
    }


def sample4():
    """Substation with two transformers, MV and LV bays; the control panel's devices
    carry location and product only."""
    p = Plant(4404, letters={"switch": "Q"}, restart=True)
    for ph in ("L1", "L2", "L3", "N"):
        p.bus(ph, mode="chain")
    p.bus("PE")
    p.bus("+24V")
    p.bus("0V")
    cp = Ctx(None, "CP")
    p.begin(flexible=False)
    p.hub("PE", ("+S-PE", ""))
    p.hub("N", ("=TR1+S-TR1", "n"))
    p.power_supply(cp)
    p.plc = Plc(p, cp, lambda k: str(k + 1), channels=32)

    def transformer(k):
        bay = "TR%d" % k
        mv, tr, lv = Ctx("MV%d" % k, "S"), Ctx(bay, "S"), Ctx(bay, "LV")
        p.begin(flexible=False)
        q = p.new(mv, "switch")
        t = p.des(tr, bay)
        vt = p.new(mv, "psu")
        cts = [p.new(tr, "psu") for _ in range(3)]
        relay = p.new(tr, "plc")
        qlv = p.new(lv, "switch")
        for i, (hv, lvp) in enumerate((("U", "u"), ("V", "v"), ("W", "w"))):
            p.wire((q, str(2 * i + 2)), (t, hv))
            p.wire((t, lvp), (cts[i], "P1"))
            p.wire((cts[i], "P2"), (qlv, str(2 * i + 1)))
            p.wire((cts[i], "S1"), (relay, "I%d" % (i + 1)))
            p.wire((cts[i], "S2"), (relay, "I%dN" % (i + 1)))
            if k == 1:
                p.hub(("L1", "L2", "L3")[i], (qlv, str(2 * i + 2)))
            else:
                p.tap(("L1", "L2", "L3")[i], (qlv, str(2 * i + 2)))
        if k != 1:
            p.tap("N", (t, "n"))
        p.tap("PE", (t, "PE"))
        p.wire((q, "1"), (vt, "A"))
        p.wire((q, "3"), (vt, "N"))
        p.wire((vt, "a"), (relay, "U1"))
        p.wire((vt, "n"), (relay, "U1N"))
        p.tap("PE", (vt, "PE"))
        p.tap("+24V", (relay, "L"))
        p.tap("0V", (relay, "M"))
        p.wire((relay, "T1"), p.plc.out())
        p.wire((relay, "A1"), p.plc.inp())
        p.wire(p.drive(cp, cp), (qlv, "C1"))
        p.tap("0V", (qlv, "C2"))
        p.wire((qlv, "13"), p.plc.inp())
        p.tap("+24V", (qlv, "14"))

    transformer(1)
    transformer(2)
    feeders = []

    def feeder():
        k = len(feeders) + 1
        feeders.append(k)
        f = "LV%02d" % k
        lv, plant = Ctx(f, "LV"), Ctx(f, "P%d" % (k % 6 + 1))
        kind = p.rng.random()
        if kind < 0.55:
            p.motor(lv, plant, cp, terms=("U", "V", "W", "PE"))
        elif kind < 0.8:
            p.heater(lv, plant)
        else:
            p.socket(lv)

    for _ in range(6):
        feeder()
    fill(p, 2860, [
        ("feeder", 2, feeder),
        ("sensor", 4, lambda: p.sensor(cp, Ctx(None, "P%d" % p.rng.randint(1, 6)))),
        ("lamp", 3, lambda: p.lamp(cp, cp)),
        ("button", 2, lambda: p.button(cp, cp)),
        ("relays", 2, lambda: p.relay_group(cp, cp, p.rng.randint(2, 5))),
        ("fan", 1, lambda: p.fan(cp)),
    ])
    return p, {
        "number": 4,
        "caption": "Substation TR1/TR2",
        "label": "Substation",
        "records": 2947,
        "pages": list(range(1, 25)),
        "empty": 38,
        "empty_knob": "PE",
        "unknown": "all",
        "bridges": 29,
        "case_bridges": 6,
    }



def sample5():
    """Water treatment plant, newer two-letter device classes; mostly location and
    product, the dosing skids by function only."""
    p = Plant(5505, letters={
        "relay": "KF", "contactor": "QA", "breaker": "QM", "fuse": "FC", "motor": "MA",
        "term": "XD", "psu": "TB", "button": "SF", "lamp": "PF", "sensor": "BG",
        "valve": "MB", "heater": "EB", "switch": "QB", "plug": "XS", "temp": "BT",
        "cable": "WG"})
    for ph in ("L1", "L2", "L3", "N"):
        p.bus(ph, mode="chain")
    p.bus("PE")
    p.bus("+24V")
    p.bus("0V")
    cabs = [Ctx(None, "RM%d" % k) for k in range(1, 5)]
    fields = [Ctx(None, "BS%d" % k) for k in range(1, 7)] + [Ctx(None, "PH")]
    skids = [Ctx("DOS%d" % k, None) for k in (1, 2)]
    door = Ctx(None, None)
    p.begin(flexible=False)
    p.hub("PE", ("+RM1-PE", ""))
    p.tap("PE", p.main_supply(cabs[0]))
    p.power_supply(cabs[0])
    p.plc = Plc(p, cabs[1], lambda k: str(k + 1), channels=16)
    p.estop(cabs[0], [door, door, door, fields[6]])

    def some_cab():
        return p.rng.choice(cabs[1:])

    def some_field():
        return p.rng.choice(fields)

    def skid():
        sk = p.rng.choice(skids)
        p.rng.choice([
            lambda: p.motor(some_cab(), sk, door, feedback=False),
            lambda: p.sensor(some_cab(), sk),
            lambda: p.valve(some_cab(), sk),
        ])()

    def pt100(cab, fld):
        p.begin()
        b = p.new(fld, "temp")
        xs = p.strip(cab, "io").take(2)
        p.term(*xs)
        p.wire((b, "1"), xs[0])
        p.wire((b, "2"), xs[1])
        p.wire(xs[0], p.plc.inp())
        p.wire(xs[1], p.plc.inp())

    fill(p, 3520, [
        ("motor", 4, lambda: p.motor(some_cab(), some_field(), door, feedback=p.rng.random() < 0.3)),
        ("sensor", 7, lambda: p.sensor(some_cab(), some_field())),
        ("pt100", 3, lambda: pt100(some_cab(), some_field())),
        ("valve", 5, lambda: p.valve(some_cab(), some_field())),
        ("lamp", 3, lambda: p.lamp(some_cab(), some_cab())),
        ("button", 3, lambda: p.button(some_cab(), some_cab(), nc=p.rng.random() < 0.2)),
        ("relays", 2, lambda: p.relay_group(some_cab(), some_cab(), p.rng.randint(2, 6))),
        ("signal", 3, lambda: p.field_signal(some_cab(), p.rng.choice(fields[:6]), some_field(),
                                             hops=p.rng.randint(1, 2))),
        ("skid", 3, skid),
        ("fan", 1, lambda: p.fan(some_cab())),
    ])
    return p, {
        "number": 5,
        "caption": "Water treatment plant",
        "label": "Water plant",
        "records": 3645,
        "pages": used_pages(6, 107, 5, 6),
        "empty": 52,
        "empty_knob": "PE",
        "unknown": "all",
        "bridges": 115,
    }


def sample7():
    """Packaging machine: cabinet HR, machine HM, terminal box HT whose terminals are
    single symbols with unnamed clamps; supply pins named with their polarity."""
    p = Plant(7707, fmt=lambda f, l, pr: designation(None, l, pr), letters={"psu": "G"})
    for ph in ("L1", "L2", "L3", "N"):
        p.bus(ph, wire=ph, mode="chain")
    p.bus("PE", unknown=True)
    p.bus("+24V")
    p.bus("0V")
    hr, hm, ht = Ctx(None, "HR"), Ctx(None, "HM"), Ctx(None, "HT")
    p.strip(ht, "io", size=60, pinless=True)
    p.begin(flexible=False)
    p.hub("PE", ("+HR-PE", ""))
    p.tap("PE", p.main_supply(hr))
    p.power_supply(hr)
    p.plc = Plc(p, hr, lambda k: str(k + 1), channels=16)

    def power_module(n):
        p.begin(flexible=False)
        at = p.des(hr, "AT%d" % n)
        p.tap("+24V", (at, "+PWR"))
        p.tap("0V", (at, "-PWR"))
        for k in range(1, 3):
            y = p.new(hm, "valve")
            p.wire((at, "+PWR%d" % k), (y, "+24V"))
            p.wire((at, "-PWR%d" % k), (y, "0V"))
            for c in range(1, 5):
                p.wire(p.plc.out(), (y, str(c)))
            p.tap("PE", (y, "PE"))

    power_module(1)
    p.estop(hr, [hr, hm])
    for _ in range(3):
        p.motor(hr, hm, hr)
    fill(p, 345, [
        ("sensor", 5, lambda: p.sensor(ht, hm)),
        ("motor", 1, lambda: p.motor(hr, hm, hr, feedback=False)),
        ("lamp", 2, lambda: p.lamp(hr, hr)),
        ("button", 2, lambda: p.button(hr, hr)),
    ])
    return p, {
        "number": 7,
        "caption": "Packaging machine HR",
        "label": "Packer HR",
        "records": 355,
        "pages": list(range(2, 9)),
        "empty": 131,
        "empty_knob": "PE",
        "unknown": 72,
        "bridges": 3,
    }


def sample9():
    """Extrusion line with servo axes; dotted function and product numbers, drives and
    PLC with connector terminals ("CN1:1")."""
    p = Plant(9909, letters={"drive": "A"}, restart=True)
    for ph in ("L1", "L2", "L3", "N"):
        p.bus(ph, wire=ph, mode="chain")
    p.bus("PE", unknown=True)
    p.bus("+24V", wire="24V")
    p.bus("0V", wire="0V")
    p.screens = True
    main = Ctx("MAIN.00", "EXTc")
    ctl = Ctx("CTL.01", "EXTc")
    desk = Ctx("CTL.01", "EXTd")
    p.begin(flexible=False)
    p.hub("PE", ("=MAIN.00+EXTc", ""))
    p.tap("PE", ("=MAIN.00+EXTm", ""))
    p.tap("PE", p.main_supply(main))
    p.power_supply(main)
    p.plc = Plc(p, ctl, lambda k: "CN%d:%d" % (k // 8 + 1, k % 8 + 1), channels=16,
                supply=("CN3:1", "CN3:2"))
    p.estop(ctl, [desk, desk, Ctx("CTL.01", "EXTm")])

    def axis(fn):
        cab, mach = Ctx(fn, "EXTc"), Ctx(fn, "EXTm")
        p.begin(flexible=False)
        f = p.new(cab, "breaker")
        a = p.new(cab, "drive")
        m = p.new(mach, "motor")
        for i, ph in enumerate(("L1", "L2", "L3")):
            p.tap(ph, (f, str(2 * i + 1)))
            p.wire((f, str(2 * i + 2)), (a, ph))
        p.tap("PE", (a, "PE"))
        xs = p.strip(cab, "power").take(4)
        p.term(*xs)
        for ph, x in zip("UVW", xs):
            p.wire((a, ph), x)
            p.wire(x, (m, ph))
        p.wire(xs[3], (m, "PE"))
        p.tap("PE", xs[3])
        enc = p.des(mach, "BQ1.1")
        for k in range(1, 7):
            p.wire((a, "CN2:%d" % k), (enc, str(k)))
        p.wire((a, "CN3:1"), (m, "B1"))
        p.wire((a, "CN3:2"), (m, "B2"))
        p.wire(p.plc.out(), (a, "CN1:1"))
        p.wire((a, "CN1:2"), p.plc.inp())
        p.tap("+24V", (a, "CN1:7"))
        p.tap("0V", (a, "CN1:8"))
        p.screen(cab, mach)
        for k in (2, 3):
            p.sensor(cab, mach, name=p.des(mach, "BQ1.%d" % k))

    def zone(fn):
        cab, mach = Ctx(fn, "EXTc"), Ctx(fn, "EXTm")
        p.heater(cab, mach)
        p.begin()
        a = p.new(cab, "plc")
        b = p.new(mach, "temp")
        xs = p.strip(cab, "io").take(2)
        p.term(*xs)
        p.wire((b, "1"), xs[0])
        p.wire((b, "2"), xs[1])
        p.wire(xs[0], (a, "CN1:1"))
        p.wire(xs[1], (a, "CN1:2"))
        p.wire((a, "CN2:1"), p.plc.inp())
        p.wire(p.plc.out(), (a, "CN2:3"))
        p.tap("+24V", (a, "CN4:1"))
        p.tap("0V", (a, "CN4:2"))
        p.screen(cab, mach)

    for fn in ("AXS.X1", "AXS.Y1", "AXS.Z1", "AXS.X2", "AXS.Y2", "AXS.C1"):
        axis(fn)
    for k in range(1, 7):
        zone("HTR.Z%d" % k)
    hyd = ("HYD.P1", "HYD.V1", "CNV.01", "CUT.01")

    def some():
        fn = p.rng.choice(hyd)
        return Ctx(fn, "EXTc"), Ctx(fn, "EXTm")

    fill(p, 1740, [
        ("motor", 2, lambda: p.motor(*some(), desk, feedback=p.rng.random() < 0.5)),
        ("sensor", 6, lambda: p.sensor(*some())),
        ("valve", 4, lambda: p.valve(*some())),
        ("lamp", 2, lambda: p.lamp(ctl, desk)),
        ("button", 2, lambda: p.button(ctl, desk)),
        ("relays", 1, lambda: p.relay_group(ctl, ctl, p.rng.randint(2, 4))),
    ])
    pages = {}

    def wire_name(n, page):
        pages[page] = pages.get(page, 0) + 1
        return "%d.%d" % (page, pages[page])

    return p, {
        "number": 9,
        "caption": "Extrusion line AXS",
        "label": "Extruder AXS",
        "records": 1758,
        "pages": used_pages(19, 80, 9, 5),
        "empty": 161,
        "empty_knob": "PE",
        "unknown": 819,
        "bridges": 9,
        "wire_name": wire_name,
    }


# Variants: the same project at a later revision.


def rename(recs, old, new):
    """Renames a device."""
    if not any(old in (r[0], r[3]) for r in recs):
        raise SystemExit("no device %s to rename" % old)
    out = []
    for da, pa, ga, db, pb, gb, w in recs:
        out.append((new if da == old else da, pa, ga, new if db == old else db, pb, gb, w))
    return out


def reorder(recs, rng, pages, chunk):
    """Shuffles runs of records within the given pages, as a redrawn page lists them."""
    out = []
    i = 0
    while i < len(recs):
        page = recs[i][2]
        j = i
        while j < len(recs) and recs[j][2] == page:
            j += 1
        run = recs[i:j]
        if page in pages:
            pieces = [run[k:k + chunk] for k in range(0, len(run), chunk)]
            rng.shuffle(pieces)
            run = [r for piece in pieces for r in piece]
        out.extend(run)
        i = j
    return out


def sample6(base):
    """Sample 2 at revision B: a pump moved, a lamp renumbered, some wires renumbered, a
    lamp test added, two pages redrawn."""
    rng = random.Random(6606)
    recs = list(base)
    recs = rename(recs, "+ZP3-M3", "+ZP4-M3")
    recs = rename(recs, "+ZC-H2", "+ZC-H12")
    named = [i for i, r in enumerate(recs) if r[6] not in (UNKNOWN, "L1", "L2", "L3", "N", "24V", "0V")]
    for i in sorted(rng.sample(named, 14)):
        r = recs[i]
        recs[i] = r[:6] + (str(int(r[6]) + 500),)
    recs = reorder(recs, rng, {4, 6}, 4)
    plc_out = [r for r in recs if r[3] == "+ZC-H1" and r[4] == "X1"][0]
    at = max(i for i, r in enumerate(recs) if r[2] == 5) + 1
    recs[at:at] = [
        (plc_out[0], plc_out[1], 5, "+ZC-S20", "13", 5, "801"),
        ("+ZC-S20", "14", 5, "+ZC-H12", "X1", 5, "802"),
        ("+ZC-S20", "14", 5, "+ZC-H1", "X1", 5, "803"),
    ]
    return recs


def sample8(base):
    """Sample 7 at a later revision: two sensors replaced by others on new terminals, a
    motor renumbered, wires renumbered, most pages redrawn in another order."""
    rng = random.Random(8808)
    recs = list(base)
    recs = rename(recs, "+HM-M2", "+HM-M5")
    sensors = sorted({r[0] for r in recs if r[0].startswith("+HM-B")},
                     key=lambda d: int(d[5:]))
    for old, new in zip(sensors[1:3], ("+HM-B21", "+HM-B22")):
        recs = rename(recs, old, new)
    terminals = sorted({r[3] for r in recs if r[3].startswith("+HT-X") and r[0] == "+HM-B22"})
    for k, t in enumerate(terminals):
        recs = rename(recs, t, "+HT-X9.%d" % (k + 1))
    named = [i for i, r in enumerate(recs) if r[6] not in (UNKNOWN, "L1", "L2", "L3", "N")]
    for i in sorted(rng.sample(named, 30)):
        r = recs[i]
        recs[i] = r[:6] + ("%03d" % (int(r[6]) + 300),)
    return reorder(recs, rng, {3, 4, 5, 6, 7}, 3)




# ---------------------------------------------------------------------------------------
# Output


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def render(plan, recs):
    n = plan["number"]
    lines = [
        "// Sample project %d: %s." % (n, plan["caption"]),
        "// Written by tools/gen_samples.py; change the generator, not this file.",
        "",
        '#include "model/SampleProjects.h"',
        "",
        "namespace wiremap {",
        "",
        "// clang-format off",
        "const TSampleRecord SampleProject%d[] = {" % n,
    ]
    for da, pa, ga, db, pb, gb, w in recs:
        lines.append("    {%s, %s, %d, %s, %s, %d, %s}," % (
            c_string(da), c_string(pa), ga, c_string(db), c_string(pb), gb, c_string(w)))
    lines += [
        "};",
        "",
        "extern const TSampleProject SampleProject%dInfo;" % n,
        "const TSampleProject SampleProject%dInfo = {%s, %s, SampleProject%d, %d};" % (
            n, c_string(plan["caption"]), c_string(plan["label"]), n, len(recs)),
        "// clang-format on",
        "",
        "}  // namespace wiremap",
        "",
    ]
    return "\n".join(lines)


VARIANTS = {
    6: (2, sample6, "Pump station ZC, rev. B", "Pump station B"),
    8: (7, sample8, "Packaging machine HR, rev. 2", "Packer HR 2"),
}


def build_all():
    built = {}
    for make in (sample1, sample2, sample3, sample4, sample5, sample7, sample9):
        plant, plan = make()
        built[plan["number"]] = (plan, plant.assemble(plan))
    for number, (base, make, caption, label) in VARIANTS.items():
        base_plan, base_recs = built[base]
        recs = make(base_recs)
        plan = {"number": number, "caption": caption, "label": label, "records": len(recs),
                "pages": base_plan["pages"], "unknown": sum(r[6] == UNKNOWN for r in recs),
                "bridges": figures(recs)["same"]}
        built[number] = (plan, recs)
    return [built[n] for n in sorted(built)]


def verify(plan, recs):
    for r in recs:
        for des in (r[0], r[3]):
            if ":" in des or not des:
                raise SystemExit("sample %d: bad designation %r" % (plan["number"], des))
    fig = figures(recs)
    wanted = {"records": plan["records"], "same": plan.get("bridges", 0)}
    if "empty" in plan:
        wanted["empty"] = plan["empty"]
    if plan["unknown"] == "all":
        wanted["unknown"] = len(recs)
    else:
        wanted["unknown"] = plan["unknown"]
    wanted["page_range"] = (plan["pages"][0], plan["pages"][-1])
    for key, value in wanted.items():
        if fig[key] != value:
            raise SystemExit("sample %d: %s is %s, wanted %s" % (plan["number"], key, fig[key], value))
    return fig


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed tables instead of writing them")
    parser.add_argument("--stats", action="store_true", help="print the figures of each sample")
    args = parser.parse_args()

    differ = []
    for plan, recs in build_all():
        fig = verify(plan, recs)
        if args.stats:
            print("sample %d: %s" % (plan["number"], fig))
        path = OUT_DIR / ("SampleProject%d.cpp" % plan["number"])
        text = render(plan, recs).encode("utf-8")
        if args.check:
            if not path.exists() or path.read_bytes() != text:
                differ.append(path.relative_to(ROOT))
        elif not args.stats:
            OUT_DIR.mkdir(parents=True, exist_ok=True)
            if not path.exists() or path.read_bytes() != text:
                path.write_bytes(text)
    if differ:
        print("gen_samples.py: these tables differ from what the generator writes "
              "(run python3 tools/gen_samples.py and commit the result):", file=sys.stderr)
        for path in differ:
            print("  " + str(path), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
