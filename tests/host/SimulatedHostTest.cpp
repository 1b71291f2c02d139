#include "host/SimulatedHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "SimTestDrawings.h"
#include "host/DemoDrawing.h"
#include "host/SimHostFactory.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

using TTexts = std::vector<std::string>;

TSimDrawing OnePage(std::vector<TSimSymbol> ASymbols, std::vector<TSimLine> ALines = {}) {
  TSimDrawing Drawing;
  Drawing.Pages.push_back({0, std::move(ASymbols), std::move(ALines)});
  return Drawing;
}

TSimSymbol Branch(int32_t AState) {
  TSimSymbol Symbol = Part("", {{0, 0}, {10, 0}, {5, 5}}, TSimType::Branch);
  Symbol.BranchState = AState;
  return Symbol;
}

TSimSymbol SignalSymbol(std::string AName, std::string ASignal, THostPosition APosition) {
  TSimSymbol Symbol = Part(std::move(AName), {APosition}, TSimType::Signal);
  Symbol.SignalName = std::move(ASignal);
  return Symbol;
}

// A drawing of three devices wired to the three points of a branch symbol.
TSimDrawing BranchDrawing(int32_t AState) {
  return OnePage(
      {Part("-A", {{-10, 0}}), Part("-B", {{20, 0}}), Part("-C", {{5, 15}}), Branch(AState)},
      {Wire({{-10, 0}, {0, 0}}), Wire({{10, 0}, {20, 0}}), Wire({{5, 5}, {5, 15}})});
}

// Two devices, each wired to a signal symbol, on pages 1 and APage of the drawing.
TSimDrawing SignalDrawing(TSimSymbol ASignalA, TSimSymbol ASignalB, size_t APage = 4) {
  TSimDrawing Drawing;
  Drawing.Pages.resize(APage);
  Drawing.Pages[0] = {0, {Part("-A", {{0, 0}}), std::move(ASignalA)}, {Wire({{0, 0}, {50, 0}})}};
  Drawing.Pages[APage - 1] = {
      0, {Part("-B", {{0, 0}}), std::move(ASignalB)}, {Wire({{0, 0}, {50, 0}})}};
  return Drawing;
}

// Items that would join if they took part.
TSimDrawing NonParticipants() {
  TSimSymbol Inactive = Part("-F", {{0, 20}});
  Inactive.Active = false;
  TSimLine InactiveLine = Wire({{0, 0}, {10, 0}});
  InactiveLine.Active = false;
  TSimLine Drafting = Wire({{0, 10}, {10, 10}});
  Drafting.Electric = false;
  TSimDrawing Drawing =
      OnePage({Part("-A", {{0, 0}}), Part("-B", {{10, 0}}), Part("-C", {{0, 10}}),
               Part("-D", {{10, 10}}), Part("-E", {{0, 20}}), Inactive, Part("-G", {{0, 30}}),
               Part("-H", {{0, 30}}, TSimType::Support), Part("-I", {{0, 30}}, TSimType::Head)},
              {InactiveLine, Drafting});
  Drawing.Pages.push_back({1, {Part("-J", {{0, 0}}), Part("-K", {{0, 0}})}, {}});
  return Drawing;
}

struct TJoinCase {
  const char* Name;
  std::function<TSimDrawing()> Make;
  TTexts Expected;
};

void PrintTo(const TJoinCase& ACase, std::ostream* AStream) {
  *AStream << ACase.Name;
}

class SimulatedHostJoins : public ::testing::TestWithParam<TJoinCase> {
 protected:
  void SetUp() override { SetCollationLocale("en_US"); }
  void TearDown() override { SetCollationLocale("C"); }
};

TEST_P(SimulatedHostJoins, ConnectionListFollowsTheGeometry) {
  const TSimulatedHost Host(GetParam().Make());
  EXPECT_EQ(DescribeConnections(Host), GetParam().Expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Rules, SimulatedHostJoins,
    ::testing::Values(
        TJoinCase{"PinsOnOnePoint",
                  [] { return OnePage({Part("-A", {{0, 0}}), Part("-B", {{0, 0}})}); },
                  {"-A:1@1 -B:1@1"}},
        TJoinCase{"OnlyAtVertices", [] {
                    return OnePage(
                        {Part("-A", {{0, 0}}), Part("-B", {{30, 10}}), Part("-C", {{10, 0}})},
                        {Wire({{0, 0}, {20, 0}, {20, 10}, {30, 10}})}); },
                  {"-A:1@1 -B:1@1"}},
        TJoinCase{"OtherLayerDoesNotJoin", [] {
                    TSimSymbol B = Part("-B", {{10, 0}});
                    B.Layer = 2;
                    return OnePage({Part("-A", {{0, 0}}), B}, {Wire({{0, 0}, {10, 0}})}); },
                  {}},
        TJoinCase{"BranchCommonPin0", [] { return BranchDrawing(6); },
                  {"-A:1@1 -B:1@1", "-B:1@1 -C:1@1"}},
        TJoinCase{"BranchCommonPin2", [] { return BranchDrawing(5); },
                  {"-A:1@1 -B:1@1", "-B:1@1 -C:1@1"}},
        TJoinCase{"SignalsAcrossPagesIgnoringCase", [] {
                    return SignalDrawing(SignalSymbol("L1", "L1", {50, 0}),
                                         SignalSymbol("l1", "l1", {50, 0})); },
                  {"-A:1@1 -B:1@4"}},
        TJoinCase{"EmptySignalNameStandsForTheSymbolName", [] {
                    return SignalDrawing(SignalSymbol("X1", "", {50, 0}),
                                         SignalSymbol("Y", "x1:UNKNOWN_VARIANT", {50, 0})); },
                  {"-A:1@1 -B:1@4"}},
        TJoinCase{"InactiveNonElectricSkippedAndUnwiredPagesTakeNoPart", NonParticipants, {}},
        TJoinCase{"ChainInDrawingOrderWithTheFirstWireNumber", [] {
                    return OnePage(
                        {Part("W2", {{5, 0}}, TSimType::WireNumber), Part("-C", {{20, 0}}),
                         Part("-A", {{0, 0}}), Part("W1", {{15, 0}}, TSimType::WireNumber),
                         Part("-B", {{10, 0}, {99, 99}}), Part("-D", {{99, 99}})},
                        {Wire({{0, 0}, {5, 0}, {10, 0}, {15, 0}, {20, 0}})}); },
                  {"-C:1@1 -A:1@1 W2", "-A:1@1 -B:1@1 W2", "-B:2@1 -D:1@1"}}),
    [](const ::testing::TestParamInfo<TJoinCase>& AInfo) { return AInfo.param.Name; });
// clang-format on

class SimulatedHost : public ::testing::Test {
 protected:
  TSimulatedHost Host{OnePage({Part("-A", {{0, 0}, {0, 15}}), Part("-B", {{10, 0}}),
                               Part("W9", {{5, 0}}, TSimType::WireNumber)},
                              {Wire({{0, 0}, {5, 0}, {10, 0}})})};
};

TEST_F(SimulatedHost, FailsLikeAHostOnBadIndexesHandlesAndOrder) {
  const auto Page = Host.Project()->Document()->Pages()->Item(0);
  const auto Symbols = Page->Symbols();
  const auto Lines = Page->Lines();
  const auto Pins = Symbols->Item(0)->Pins();
  const auto Vertices = Lines->Item(0)->Vertices();
  const std::vector<std::function<void()>> Calls{
      [&] { Host.Project()->Document()->Pages()->Item(1); },
      [&] { Symbols->Item(-1); },
      [&] { Pins->Item(2); },
      [&] { Vertices->Item(3); },
      [&] { Host.Project()->Document()->SymbolByHandle(-1, 12345); },
      [&] { Host.SelectProject(Host.Drawing().ProjectHandle + 1); },
      [&] { Host.ConnectionCount(); },
      [&] {
        Host.BuildConnectionList(0, -1);
        Host.ReleaseConnectionList();
        Host.ConnectionCount();
      }};
  for (size_t I = 0; I < Calls.size(); ++I) EXPECT_THROW(Calls[I](), EOleException) << "call " << I;
}

TEST_F(SimulatedHost, ObjectsOutliveTheApplicationObject) {
  auto Application = std::make_shared<TSimulatedHost>(WireList(1));
  const auto Symbol = Application->Project()->Document()->Pages()->Item(0)->Symbols()->Item(1);
  Application.reset();
  EXPECT_EQ(Symbol->Name(), "=F0+L1-B0");
  EXPECT_EQ(Symbol->Pins()->Item(0)->Position().X, 20000);
}

// The handles of the first page's symbols, then of its lines.
std::vector<int32_t> Handles(const TSimulatedHost& AHost) {
  std::vector<int32_t> Handles;
  for (const TSimSymbol& Symbol : AHost.Drawing().Pages[0].Symbols)
    Handles.push_back(Symbol.Handle);
  for (const TSimLine& Line : AHost.Drawing().Pages[0].Lines) Handles.push_back(Line.Handle);
  return Handles;
}

TEST(SimulatedHostHandles, NumbersFreeHandlesAndRefusesDuplicates) {
  TSimDrawing Drawing = WireList(3);
  Drawing.Pages[0].Symbols[2].Handle = 2;
  Drawing.Pages[0].Lines[1].Handle = 7;
  const std::vector<int32_t> Given = Handles(TSimulatedHost(Drawing));
  const std::set<int32_t> Distinct(Given.begin(), Given.end());
  EXPECT_EQ(Distinct.size(), 9u);
  EXPECT_EQ(Distinct.count(0), 0u);
  EXPECT_EQ(Given[2], 2);

  Drawing.Pages[0].Symbols[0].Handle = 7;
  EXPECT_THROW(TSimulatedHost{Drawing}, std::invalid_argument);
}

// Handles next to the largest number must not make the numbering overflow.
TEST(SimulatedHostHandles, NumbersOnAfterTheLargestHandleByWrappingRound) {
  constexpr int32_t Largest = std::numeric_limits<int32_t>::max();
  for (const int32_t Given : {Largest, Largest - 1}) {
    TSimDrawing Drawing = WireList(2);
    Drawing.Pages[0].Symbols[1].Handle = 1;
    Drawing.Pages[0].Symbols[2].Handle = Given;
    EXPECT_EQ(Handles(TSimulatedHost(Drawing)),
              (Given == Largest ? std::vector<int32_t>{2, 1, Largest, 3, 4, 5}
                                : std::vector<int32_t>{Largest, 1, Given, 2, 3, 4}));
  }
}

}  // namespace
}  // namespace wiremap
