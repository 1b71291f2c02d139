#include "rawdata/RawDataReport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SmallDrawing.h"
#include "host/SimHostFactory.h"
#include "rawdata/RawDataRun.h"

namespace wiremap {
namespace {

using TLines = std::vector<std::string>;

TEST(RawDataReport, NumbersAndNames) {
  std::string Texts;
  for (const int32_t Value : {0, 2500, 1250, 1249, -1250, -20, INT32_MIN})
    Texts += TRawDataReport::CoordinateText(Value, ",") + " ";
  EXPECT_EQ(Texts, "0,0 2,5 1,3 1,2 -1,3 0,0 -2147483,6 ");
  Texts.clear();
  for (const uint32_t Value : {0u, 5u, 1234u, UINT32_MAX})
    Texts += TRawDataReport::SecondsText(Value, ".") + " ";
  EXPECT_EQ(Texts, "0.000 0.005 1.234 4294967.295 ");
  EXPECT_EQ(ElapsedTicks(0xFFFFFFF0u, 0x10u), 0x20u);  // the counter wrapped
  EXPECT_EQ(SymbolTypeName(34), "st_PowerFuse");
  EXPECT_EQ(SymbolTypeName(35), "st_Unknown(35)");
}

TEST(RawDataReport, SymbolsLinesAndNetsLineByLine) {
  const TSimHostFactory Hosts(SmallDrawing());
  // Retrieval 2.5 s, table 0.75 s, nets 3.75 s: every time differs from the others.
  uint32_t Ticks[] = {1000, 3500, 4250, 8000}, *Tick = Ticks;
  TRawDataRun Run([&] { return *Tick++; });
  Run.Execute(nullptr);
  const TRawDataReport Report(CoApplication::Create(), ",");
  EXPECT_EQ(Report.SymbolLines(Run.Symbols),
            (TLines{"total (electric) symbols = 5", "handle=1 page=1 layer=1 st_Relay   -K1",
                    "        x=0,0 y=0,0 z=0,0 A1", "        x=0,0 y=12,5 z=0,0 A2",
                    "handle=2 page=1 layer=2 st_Terminal   -X1", "        x=-1,3 y=0,0 z=0,0 1",
                    "handle=3 page=1 layer=1 st_Signal   =S", "        x=0,0 y=25,0 z=0,0 L1+",
                    "handle=4 page=1 layer=1 st_Branch   B", "        x=10,0 y=0,0 z=0,0 ",
                    "        x=10,0 y=5,0 z=0,0 ", "        x=15,0 y=0,0 z=0,0 common ",
                    "handle=5 page=1 layer=1 st_WireNumber   W7", "        x=0,0 y=5,0 z=0,0 1"}));
  EXPECT_EQ(Report.PolylineLines(Run.Polylines),
            (TLines{"total (electric) polylines = 3", "handle=6 page=1 layer=2 JUMPER  ",
                    "        x=-1,3 y=0,0 z=0,0", "        x=-5,0 y=0,0 z=0,0",
                    "handle=7 page=1 layer=1  CABLE ", "        x=0,0 y=12,5 z=0,0",
                    "        x=0,0 y=25,0 z=0,0", "handle=8 page=1 layer=1  ",
                    "        x=0,0 y=0,0 z=0,0", "        x=0,0 y=5,0 z=0,0",
                    "        x=10,0 y=5,0 z=0,0"}));

  const TLines Nets = Report.NetlistLines(Run);
  // The newest point is the jumper's far end, so X1 comes first; the next walk starts at
  // W7, the point inserted before the branch's; the signal's point leads to K1:A2 last.
  EXPECT_EQ(Nets,
            (TLines{"point table entries = 9, collisions = 0", "table computation time = 0,750 s",
                    "netlist computation time = 4,500 s", "nets found = 3", "signals found = 1",
                    "net #0", "        -X1:1   st_Terminal handle=2 pin_index=0", "net #1",
                    "        W7:1   st_WireNumber handle=5 pin_index=0",
                    "        -K1:A1   st_Relay handle=1 pin_index=0", "net #2",
                    "        -K1:A2   st_Relay handle=1 pin_index=1"}));
  EXPECT_EQ(TRawDataReport::Caption(Run, ","),
            "Raw Data (Retrieval Time = 2,500 s, Computation = 4,500 s)");
}

}  // namespace
}  // namespace wiremap
