#include "rawdata/PointTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace wiremap {
namespace {

TRawPoint P(int32_t AX, int32_t AY, int32_t ALayer = 0, int32_t APage = 0) {
  return TRawPoint{AX, AY, 0, ALayer, APage};
}

TSymbol Sym(int32_t AHandle, int32_t AType, std::vector<TRawPoint> APins, std::string AName = "") {
  return TSymbol{AHandle, AType, 0, 0, std::move(APins), std::move(AName)};
}

TPolyline Line(std::vector<TRawPoint> AVertices) {
  return TPolyline{900, 0, 0, std::move(AVertices), true, false};
}

// Each net as "handle:pin" texts, in the table's order.
using TNetTexts = std::vector<std::vector<std::string>>;

TNetTexts Compute(const TSymbols& ASymbols, const TPolylines& ALines) {
  auto Table = std::make_unique<TPointTable>();
  Table->Build(ASymbols, ALines);
  TNaiveNetlist Nets;
  Table->ComputeNetlist(Nets);
  TNetTexts Texts;
  for (const auto& Net : Nets) {
    auto& Members = Texts.emplace_back();
    for (const TPinRef& Pin : Net)
      Members.push_back(std::to_string(Pin.Handle) + ":" + std::to_string(Pin.PinIndex));
  }
  return Texts;
}

TEST(PointTable, HashShiftsAndXorsWithoutSign) {
  EXPECT_EQ(TPointTable::Hash(P(255, 0)), 0);  // the low 8 bits of X take no part
  EXPECT_EQ(TPointTable::Hash(P(256, 42736)), 0);
  EXPECT_EQ(TPointTable::Hash(TRawPoint{0, 0, 1, 1, 1}), (256 + 65536 + 16777216) % 42737);
  EXPECT_EQ(TPointTable::Hash(P(0, -1)), 27006);         // 0xFFFFFFFF mod 42737
  EXPECT_EQ(TPointTable::Hash(P(0, 0, 0, 128)), 34872);  // 2^31 mod 42737
  EXPECT_EQ(TPointTable::Hash(P(-1, 5)), 24306);         // X shifted in without its sign
}

TEST(PointTable, FindsAddsAndProbesOnBy1103CountingEveryMove) {
  auto Table = std::make_unique<TPointTable>();
  EXPECT_EQ(Table->Head, -1);
  EXPECT_EQ(Table->FindOrAdd(P(0, 0)), 0);
  EXPECT_EQ(Table->FindOrAdd(P(0, 0)), 0);
  EXPECT_EQ(Table->Collisions, 0);
  EXPECT_EQ(Table->FindOrAdd(P(255, 0)), 1103);  // same home slot
  EXPECT_EQ(Table->FindOrAdd(P(255, 0)), 1103);  // a find collides too
  EXPECT_EQ(Table->Collisions, 2);
  EXPECT_NE(Table->FindOrAdd(P(0, 0, 1, 0)), Table->FindOrAdd(P(0, 0, 0, 1)));
  // The probe wraps around the end: 42000 + 1103 - 42737 = 366, taken, so 1469.
  Table->FindOrAdd(P(0, 366));
  EXPECT_EQ(Table->FindOrAdd(P(0, 42000)), 42000);
  EXPECT_EQ(Table->FindOrAdd(P(1, 42000)), 1469);
  EXPECT_EQ(Table->Count, 7);
  EXPECT_EQ(Table->Head, 1469);
  EXPECT_EQ(Table->Entries[1469].Next, 42000);
}

TEST(PointTable, FullAtTheFillLimitYetStoredPointsStillFound) {
  auto Table = std::make_unique<TPointTable>();
  for (int32_t I = 0; I < 38462; ++I) Table->FindOrAdd(P(0, I));
  EXPECT_THAT([&] { Table->FindOrAdd(P(0, 38462)); },
              testing::ThrowsMessage<EAssertionFailed>(
                  testing::StartsWith("Hash table full (ViewRawD, line ")));
  EXPECT_EQ(Table->Count, 38463);
  for (int32_t I = 0; I < 38462; I += 997) EXPECT_EQ(Table->FindOrAdd(P(0, I)), I);
}

struct TNetCase {
  const char* Name;
  TSymbols Symbols;
  TPolylines Lines;
  TNetTexts Expected;
};

// A branch at (0,0) (1,0) (0,1) whose points lead by lines to the pins of 1, 2 and 3.
TNetCase BranchCase(const char* AName, int32_t ACommon, TNetTexts AExpected) {
  const std::vector<TRawPoint> Ends = {P(0, -5), P(5, 0), P(0, 5)};
  TNetCase Case{
      AName, {Sym(7, st_Branch | ACommon << 8, {P(0, 0), P(1, 0), P(0, 1)})}, {}, AExpected};
  for (int32_t I = 0; I < 3; ++I) {
    Case.Symbols.push_back(Sym(I + 1, st_Normal, {Ends[static_cast<size_t>(I)]}));
    Case.Lines.push_back(
        Line({Case.Symbols[0].Pins[static_cast<size_t>(I)], Ends[static_cast<size_t>(I)]}));
  }
  return Case;
}

const TNetCase NetCases[] = {
    {"Empty", {}, {}, {}},
    {"PinsOnOnePointNeedNoLine",
     {Sym(1, st_Relay, {P(0, 0), P(0, 0)}), Sym(2, st_WireNumber, {P(0, 0)})},
     {},
     {{"1:0", "1:1", "2:0"}}},
    // Net 0 is the newest point's (3,1): the walk goes (3,1), (0,1), (0,0), (3,0). The
    // pin of 3 sits inside a segment; a line to no pin is a net without members.
    {"JoinsOnlyAtVertices",
     {Sym(1, st_Normal, {P(0, 0)}), Sym(2, st_Normal, {P(3, 0)}), Sym(3, st_Normal, {P(2, 1)})},
     {Line({P(0, 0), P(0, 1), P(3, 1), P(3, 0)}), Line({P(7, 7), P(8, 8)}), Line({})},
     {{}, {"1:0", "2:0"}, {"3:0"}}},
    // X (added last) links to Y before Z: depth first gives 1, 2, 4, 3.
    {"DepthFirstInLinkOrder",
     {Sym(4, st_Normal, {P(0, 9)}), Sym(3, st_Normal, {P(9, 0)}), Sym(2, st_Normal, {P(0, 5)}),
      Sym(1, st_Normal, {P(0, 0)})},
     {Line({P(0, 0), P(0, 5)}), Line({P(0, 0), P(9, 0)}), Line({P(0, 5), P(0, 9)})},
     {{"1:0", "2:0", "4:0", "3:0"}}},
    {"OtherLayerOrPageIsAnotherPoint",
     {Sym(1, st_Normal, {P(0, 0, 1, 0)}), Sym(2, st_Normal, {P(0, 0, 0, 1)})},
     {Line({P(0, 0), P(0, 1)})},
     {{}, {"2:0"}, {"1:0"}}},
    // Signals of one name join across pages whatever their letter case; a signal alone
    // still makes an (empty) net.
    {"SignalsJoinAcrossPagesIgnoringCase",
     {Sym(10, st_Signal, {P(0, 0, 0, 0)}, "L1"), Sym(1, st_Normal, {P(5, 0, 0, 0)}),
      Sym(11, st_Signal, {P(0, 0, 0, 3)}, "l1"), Sym(2, st_Normal, {P(5, 0, 0, 3)}),
      Sym(12, st_Signal, {P(0, 0, 0, 4)}, "L2")},
     {Line({P(0, 0, 0, 0), P(5, 0, 0, 0)}), Line({P(0, 0, 0, 3), P(5, 0, 0, 3)})},
     {{}, {"2:0", "1:0"}}},
    BranchCase("BranchWithCommonPin0", 0, {{"3:0", "2:0", "1:0"}}),
    BranchCase("BranchWithCommonPin1", 1, {{"3:0", "1:0", "2:0"}}),
    BranchCase("BranchWithCommonPin2", 2, {{"3:0", "2:0", "1:0"}}),
};

TEST(PointTable, FindsTheNetsInWalkOrder) {
  for (const TNetCase& Case : NetCases) {
    SCOPED_TRACE(Case.Name);
    EXPECT_EQ(Compute(Case.Symbols, Case.Lines), Case.Expected);
  }
}

// Far deeper than a recursive walk could safely go: the net is still found whole.
TEST(PointTable, OneLineOfThousandsOfVerticesIsOneNet) {
  TPolyline Long = Line({});
  for (int32_t I = 0; I < 38000; ++I) Long.Vertices.push_back(P(I * 1000, (I % 2) * 1000));
  EXPECT_EQ(Compute({Sym(1, st_Normal, {Long.Vertices.front()}),
                     Sym(2, st_Normal, {Long.Vertices.back()})},
                    {Long}),
            (TNetTexts{{"1:0", "2:0"}}));
}

}  // namespace
}  // namespace wiremap
