#include "rawdata/PointTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/TextCompare.h"

namespace wiremap {
namespace {

TRawPoint P(int32_t AX, int32_t AY, int32_t ALayer = 0, int32_t APage = 0) {
  return TRawPoint{AX, AY, 0, ALayer, APage};
}

TSymbol Symbol(int32_t AHandle, int32_t AType, std::vector<TRawPoint> APins,
               std::string AName = "") {
  return TSymbol{AHandle,
                 AType,
                 APins.empty() ? 0 : APins[0].Page,
                 APins.empty() ? 0 : APins[0].Layer,
                 std::move(APins),
                 std::move(AName)};
}

TPolyline Line(std::vector<TRawPoint> AVertices, bool AJumper = false) {
  return TPolyline{900, 0, 0, std::move(AVertices), AJumper, false};
}

// Each net as "handle:pin" texts, in the table's order.
using TNetTexts = std::vector<std::vector<std::string>>;

TNetTexts Texts(const TNaiveNetlist& ANets) {
  TNetTexts Result;
  for (const auto& Net : ANets) {
    auto& Members = Result.emplace_back();
    for (const TPinRef& Pin : Net)
      Members.push_back(std::to_string(Pin.Handle) + ":" + std::to_string(Pin.PinIndex));
  }
  return Result;
}

struct TComputed {
  TNetTexts Nets;
  int32_t SignalCount;
};

TComputed Compute(const TSymbols& ASymbols, const TPolylines& ALines) {
  auto Table = std::make_unique<TPointTable>();
  Table->Build(ASymbols, ALines);
  TNaiveNetlist Nets;
  Table->ComputeNetlist(Nets);
  return {Texts(Nets), Table->SignalCount};
}

// --- Hash and probing ---------------------------------------------------------------

TEST(PointTableHashTest, ShiftsAndXorsUnsigned) {
  EXPECT_EQ(TPointTable::Hash(P(0, 0)), 0);
  EXPECT_EQ(TPointTable::Hash(P(255, 0)), 0);  // the low 8 bits of X take no part
  EXPECT_EQ(TPointTable::Hash(P(256, 0)), 1);
  EXPECT_EQ(TPointTable::Hash(P(0, 42738)), 1);
  EXPECT_EQ(TPointTable::Hash(P(0, 0, 0, 1)), 24312);    // 2^24 mod 42737
  EXPECT_EQ(TPointTable::Hash(P(0, -1)), 27006);         // 0xFFFFFFFF mod 42737
  EXPECT_EQ(TPointTable::Hash(P(0, 0, 0, 128)), 34872);  // 2^31 mod 42737
  EXPECT_EQ(TPointTable::Hash(P(-1, 5)), 24306);         // X shifted in without sign
  EXPECT_EQ(TPointTable::Hash(TRawPoint{0, 0, 1, 0, 0}), 256);
  EXPECT_EQ(TPointTable::Hash(TRawPoint{0, 0, 0, 1, 0}), 65536 % 42737);
}

TEST(PointTableHashTest, AlwaysInsideTheTable) {
  std::mt19937 Random(7);
  std::uniform_int_distribution<int32_t> Any(INT32_MIN, INT32_MAX);
  for (int I = 0; I < 20000; ++I) {
    const int32_t Slot = TPointTable::Hash(
        TRawPoint{Any(Random), Any(Random), Any(Random), Any(Random), Any(Random)});
    ASSERT_GE(Slot, 0);
    ASSERT_LT(Slot, TPointTable::TableSize);
  }
}

class PointTableTest : public ::testing::Test {
 protected:
  std::unique_ptr<TPointTable> Table = std::make_unique<TPointTable>();
};

TEST_F(PointTableTest, StartsEmpty) {
  EXPECT_EQ(Table->Head, -1);
  EXPECT_EQ(Table->Count, 0);
  EXPECT_EQ(Table->Collisions, 0);
  for (const TPointTableEntry& Entry : Table->Entries) ASSERT_EQ(Entry.Flags, 0);
}

TEST_F(PointTableTest, SamePointSameSlotOtherLayerOrPageNot) {
  const int32_t Slot = Table->FindOrAdd(P(1000, 2000));
  EXPECT_EQ(Slot, TPointTable::Hash(P(1000, 2000)));
  EXPECT_EQ(Table->FindOrAdd(P(1000, 2000)), Slot);
  EXPECT_EQ(Table->Count, 1);
  EXPECT_EQ(Table->Collisions, 0);
  std::set<int32_t> Slots{Slot, Table->FindOrAdd(P(1000, 2000, 1, 0)),
                          Table->FindOrAdd(P(1000, 2000, 0, 1))};
  EXPECT_EQ(Slots.size(), 3u);
  EXPECT_EQ(Table->Count, 3);
}

TEST_F(PointTableTest, ProbesOnBy1103AndCountsEveryMove) {
  EXPECT_EQ(Table->FindOrAdd(P(0, 0)), 0);
  EXPECT_EQ(Table->FindOrAdd(P(255, 0)), 1103);  // same home slot
  EXPECT_EQ(Table->Collisions, 1);
  EXPECT_EQ(Table->FindOrAdd(P(255, 0)), 1103);  // finds collide too
  EXPECT_EQ(Table->Collisions, 2);

  // Past the end the probe wraps around: 42000 + 1103 - 42737 = 366.
  Table->FindOrAdd(P(0, 366));
  EXPECT_EQ(Table->FindOrAdd(P(0, 42000)), 42000);
  EXPECT_EQ(Table->FindOrAdd(P(1, 42000)), 366 + 1103);
  EXPECT_EQ(Table->Collisions, 4);
  EXPECT_EQ(Table->Count, 5);
}

TEST_F(PointTableTest, InsertionChainRunsNewestFirstOverEveryPoint) {
  std::mt19937 Random(3);
  std::uniform_int_distribution<int32_t> Coordinate(-5000, 5000);
  std::vector<int32_t> Inserted;
  for (int I = 0; I < 3000; ++I) {
    const int32_t Before = Table->Count;
    const int32_t Slot = Table->FindOrAdd(P(Coordinate(Random), Coordinate(Random) / 100));
    if (Table->Count > Before) Inserted.push_back(Slot);
  }
  std::vector<int32_t> Chain;
  for (int32_t S = Table->Head; S != -1; S = Table->Entries[static_cast<size_t>(S)].Next)
    Chain.push_back(S);
  EXPECT_EQ(Chain, std::vector<int32_t>(Inserted.rbegin(), Inserted.rend()));
  int32_t UsedSlots = 0;
  for (const TPointTableEntry& Entry : Table->Entries) UsedSlots += Entry.Flags & TPointTable::Used;
  EXPECT_EQ(UsedSlots, Table->Count);
}

TEST_F(PointTableTest, FullAtTheFillLimitYetStoredPointsStillFound) {
  for (int32_t I = 0; I < 38462; ++I) Table->FindOrAdd(P(0, I));
  EXPECT_EQ(Table->Count, 38462);
  try {
    Table->FindOrAdd(P(0, 38462));
    FAIL() << "no error at the fill limit";
  } catch (const EAssertionFailed& E) {
    EXPECT_EQ(E.Message().rfind("Hash table full (ViewRawD, line ", 0), 0u) << E.Message();
  }
  EXPECT_EQ(Table->Count, 38463);
  for (int32_t I = 0; I < 38462; I += 997) EXPECT_EQ(Table->FindOrAdd(P(0, I)), I);
}

// --- Nets -------------------------------------------------------------------------

struct TNetCase {
  const char* Name;
  TSymbols Symbols;
  TPolylines Lines;
  TNetTexts Expected;
  int32_t SignalCount;
};

void PrintTo(const TNetCase& ACase, std::ostream* AStream) {
  *AStream << ACase.Name;
}

class PointTableNetTest : public ::testing::TestWithParam<TNetCase> {
 protected:
  void SetUp() override { SetCollationLocale("en_US"); }
  void TearDown() override { SetCollationLocale("C"); }
};

TEST_P(PointTableNetTest, FindsTheNetsInWalkOrder) {
  const TNetCase& Case = GetParam();
  const TComputed Result = Compute(Case.Symbols, Case.Lines);
  EXPECT_EQ(Result.Nets, Case.Expected);
  EXPECT_EQ(Result.SignalCount, Case.SignalCount);
}

constexpr int32_t Branch = st_Branch;

const TNetCase NetCases[] = {
    {"Empty", {}, {}, {}, 0},
    {"PinsOnOnePointNeedNoLine",
     {Symbol(1, st_Normal, {P(0, 0)}), Symbol(2, st_Terminal, {P(0, 0)})},
     {},
     {{"1:0", "2:0"}},
     0},
    // Net 0 is the net of the newest point (D); inside it the walk goes D, C, A, B.
    {"LineJoinsOnlyAtVerticesNotInsideASegment",
     {Symbol(1, st_Normal, {P(0, 0)}), Symbol(2, st_Normal, {P(3000, 0)}),
      Symbol(3, st_Normal, {P(2000, 1000)})},
     {Line({P(0, 0), P(0, 1000), P(3000, 1000), P(3000, 0)})},
     {{"1:0", "2:0"}, {"3:0"}},
     0},
    // X was added last and links to Y before Z: depth first gives 1, 2, 4, 3.
    {"DepthFirstInLinkOrder",
     {Symbol(4, st_Normal, {P(0, 9000)}), Symbol(3, st_Normal, {P(9000, 0)}),
      Symbol(2, st_Normal, {P(0, 5000)}), Symbol(1, st_Normal, {P(0, 0)})},
     {Line({P(0, 0), P(0, 5000)}), Line({P(0, 0), P(9000, 0)}, true),
      Line({P(0, 5000), P(0, 9000)})},
     {{"1:0", "2:0", "4:0", "3:0"}},
     0},
    {"OtherLayerOrPageIsAnotherPoint",
     {Symbol(1, st_Normal, {P(0, 0, 1, 0)}), Symbol(2, st_Normal, {P(0, 0, 0, 1)})},
     {Line({P(0, 0), P(0, 1000)})},
     {{}, {"2:0"}, {"1:0"}},
     0},
    {"TwoPinsOfOneSymbolOnOnePoint",
     {Symbol(1, st_Relay, {P(0, 0), P(0, 0)}), Symbol(2, st_WireNumber, {P(0, 0)})},
     {},
     {{"1:0", "1:1", "2:0"}},
     0},
    // Signals of one name join across pages whatever their letter case; a signal
    // alone still makes an (empty) net.
    {"SignalsJoinAcrossPagesIgnoringCase",
     {Symbol(10, st_Signal, {P(0, 0, 0, 0)}, "L1"), Symbol(1, st_Normal, {P(5000, 0, 0, 0)}),
      Symbol(11, st_Signal, {P(0, 0, 0, 3)}, "l1"), Symbol(2, st_Normal, {P(5000, 0, 0, 3)}),
      Symbol(12, st_Signal, {P(0, 0, 0, 4)}, "L2")},
     {Line({P(0, 0, 0, 0), P(5000, 0, 0, 0)}), Line({P(0, 0, 0, 3), P(5000, 0, 0, 3)})},
     {{}, {"2:0", "1:0"}},
     2},
    {"BranchWithCommonPin0",
     {Symbol(7, Branch, {P(0, 0), P(1000, 0), P(0, 1000)}), Symbol(1, st_Normal, {P(0, -5000)}),
      Symbol(2, st_Normal, {P(5000, 0)}), Symbol(3, st_Normal, {P(0, 5000)})},
     {Line({P(0, 0), P(0, -5000)}), Line({P(1000, 0), P(5000, 0)}), Line({P(0, 1000), P(0, 5000)})},
     {{"3:0", "2:0", "1:0"}},
     0},
    {"BranchWithCommonPin1",
     {Symbol(7, Branch | 256, {P(0, 0), P(1000, 0), P(0, 1000)}),
      Symbol(1, st_Normal, {P(0, -5000)}), Symbol(2, st_Normal, {P(5000, 0)}),
      Symbol(3, st_Normal, {P(0, 5000)})},
     {Line({P(0, 0), P(0, -5000)}), Line({P(1000, 0), P(5000, 0)}), Line({P(0, 1000), P(0, 5000)})},
     {{"3:0", "1:0", "2:0"}},
     0},
    {"BranchWithCommonPin2",
     {Symbol(7, Branch | 512, {P(0, 0), P(1000, 0), P(0, 1000)}),
      Symbol(1, st_Normal, {P(0, -5000)}), Symbol(2, st_Normal, {P(5000, 0)}),
      Symbol(3, st_Normal, {P(0, 5000)})},
     {Line({P(0, 0), P(0, -5000)}), Line({P(1000, 0), P(5000, 0)}), Line({P(0, 1000), P(0, 5000)})},
     {{"3:0", "2:0", "1:0"}},
     0},
    {"LoneLineAndOneVertexLine",
     {},
     {Line({P(0, 0), P(1000, 0)}), Line({P(7, 7)}), Line({})},
     {{}, {}},
     0},
};

INSTANTIATE_TEST_SUITE_P(Drawings, PointTableNetTest, ::testing::ValuesIn(NetCases),
                         [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST(PointTableNetsTest, OneLineOfThousandsOfVerticesIsOneNet) {
  TPolyline Long = Line({});
  for (int32_t I = 0; I < 38000; ++I) Long.Vertices.push_back(P(I * 1000, (I % 2) * 1000));
  const TComputed Result = Compute(
      {Symbol(1, st_Normal, {Long.Vertices.front()}), Symbol(2, st_Normal, {Long.Vertices.back()})},
      {Long});
  // The walk starts at the newest vertex, next to the far end, and runs down to pin 1 first.
  EXPECT_EQ(Result.Nets, (TNetTexts{{"1:0", "2:0"}}));
}

// The plain recursive walk, as a yardstick for the table's own stack.
void RecursiveWalk(TPointTable& ATable, int32_t ASlot, std::vector<TPinRef>& ANet) {
  TPointTableEntry& Entry = ATable.Entries[static_cast<size_t>(ASlot)];
  if (Entry.Flags & TPointTable::Visited) return;
  Entry.Flags |= TPointTable::Visited;
  ANet.insert(ANet.end(), Entry.Pins.begin(), Entry.Pins.end());
  for (const int32_t Link : Entry.Links) RecursiveWalk(ATable, Link, ANet);
}

TEST(PointTableNetsTest, SameOrderAsTheRecursiveWalkOnRandomDrawings) {
  std::mt19937 Random(11);
  std::uniform_int_distribution<int32_t> Grid(0, 30);
  for (int Round = 0; Round < 20; ++Round) {
    TSymbols Symbols;
    TPolylines Lines;
    for (int32_t H = 1; H <= 60; ++H)
      Symbols.push_back(Symbol(H, st_Normal, {P(Grid(Random), Grid(Random))}));
    for (int L = 0; L < 40; ++L)
      Lines.push_back(Line({P(Grid(Random), Grid(Random)), P(Grid(Random), Grid(Random)),
                            P(Grid(Random), Grid(Random))}));
    auto Reference = std::make_unique<TPointTable>();
    Reference->Build(Symbols, Lines);
    TNaiveNetlist Expected;
    for (int32_t S = Reference->Head; S != -1; S = Reference->Entries[static_cast<size_t>(S)].Next)
      if (!(Reference->Entries[static_cast<size_t>(S)].Flags & TPointTable::Visited))
        RecursiveWalk(*Reference, S, Expected.emplace_back());
    EXPECT_EQ(Compute(Symbols, Lines).Nets, Texts(Expected));
  }
}

}  // namespace
}  // namespace wiremap
