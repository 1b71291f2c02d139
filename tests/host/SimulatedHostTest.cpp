#include "host/SimulatedHost.h"

#include <gtest/gtest.h>

#include <functional>
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

INSTANTIATE_TEST_SUITE_P(
    Rules, SimulatedHostJoins,
    ::testing::Values(
        TJoinCase{"PinsOnOnePoint",
                  [] {
                    return OnePage({Part("-A", {{0, 0}}), Part("-B", {{0, 0}})});
                  },
                  {"-A:1@1 -B:1@1"}},
        TJoinCase{"OnlyAtVertices",
                  [] {
                    return OnePage(
                        {Part("-A", {{0, 0}}), Part("-B", {{30, 10}}), Part("-C", {{10, 0}})},
                        {Wire({{0, 0}, {20, 0}, {20, 10}, {30, 10}})});
                  },
                  {"-A:1@1 -B:1@1"}},
        TJoinCase{"OtherLayerDoesNotJoin",
                  [] {
                    TSimSymbol B = Part("-B", {{10, 0}});
                    B.Layer = 2;
                    return OnePage({Part("-A", {{0, 0}}), B}, {Wire({{0, 0}, {10, 0}})});
                  },
                  {}},
        TJoinCase{"BranchCommonPin0",
                  [] { return BranchDrawing(6); },
                  {"-A:1@1 -B:1@1", "-B:1@1 -C:1@1"}},
        TJoinCase{"BranchCommonPin2",
                  [] { return BranchDrawing(5); },
                  {"-A:1@1 -B:1@1", "-B:1@1 -C:1@1"}},
        TJoinCase{"SignalsAcrossPagesIgnoringCase",
                  [] {
                    return SignalDrawing(SignalSymbol("L1", "L1", {50, 0}),
                                         SignalSymbol("l1", "l1", {50, 0}));
                  },
                  {"-A:1@1 -B:1@4"}},
        TJoinCase{"SignalsOfOtherNamesStayApart",
                  [] {
                    return SignalDrawing(SignalSymbol("L1", "L1", {50, 0}),
                                         SignalSymbol("L2", "L2", {50, 0}), 1);
                  },
                  {}},
        TJoinCase{"EmptySignalNameStandsForTheSymbolName",
                  [] {
                    return SignalDrawing(SignalSymbol("X1", "", {50, 0}),
                                         SignalSymbol("Y", "x1:UNKNOWN_VARIANT", {50, 0}));
                  },
                  {"-A:1@1 -B:1@4"}},
        TJoinCase{"InactiveNonElectricSkippedAndUnwiredPagesTakeNoPart", NonParticipants, {}},
        TJoinCase{"ChainInDrawingOrderWithTheFirstWireNumber",
                  [] {
                    return OnePage(
                        {Part("W2", {{5, 0}}, TSimType::WireNumber), Part("-C", {{20, 0}}),
                         Part("-A", {{0, 0}}), Part("W1", {{15, 0}}, TSimType::WireNumber),
                         Part("-B", {{10, 0}, {99, 99}}), Part("-D", {{99, 99}})},
                        {Wire({{0, 0}, {5, 0}, {10, 0}, {15, 0}, {20, 0}})});
                  },
                  {"-C:1@1 -A:1@1 W2", "-A:1@1 -B:1@1 W2", "-B:2@1 -D:1@1"}}),
    [](const ::testing::TestParamInfo<TJoinCase>& AInfo) { return AInfo.param.Name; });

class SimulatedHostTest : public ::testing::Test {
 protected:
  TSimulatedHost Host{OnePage({Part("-A", {{0, 0}, {0, 15}}), Part("-B", {{10, 0}}),
                               Part("W9", {{5, 0}}, TSimType::WireNumber)},
                              {Wire({{0, 0}, {5, 0}, {10, 0}})})};
};

TEST_F(SimulatedHostTest, FailsLikeAHostOnBadIndexesHandlesAndOrder) {
  const auto Page = Host.Project()->Document()->Pages()->Item(0);
  const auto Symbols = Page->Symbols();
  const auto Lines = Page->Lines();
  const auto Pins = Symbols->Item(0)->Pins();
  const auto Vertices = Lines->Item(0)->Vertices();
  const std::vector<std::function<void()>> Calls{
      [&] { Host.Project()->Document()->Pages()->Item(1); },
      [&] { Symbols->Item(-1); },
      [&] { Symbols->Item(3); },
      [&] { Pins->Item(2); },
      [&] { Lines->Item(1); },
      [&] { Vertices->Item(3); },
      [&] { Host.Project()->Document()->SymbolByHandle(-1, 12345); },
      [&] { Host.GetSignalNames(-1, 12345); },
      [&] { Host.SelectProject(Host.Drawing().ProjectHandle + 1); },
      [&] { Host.ConnectionCount(); },
      [&] { Host.GetConnection(0, 31); },
      [&] {
        Host.BuildConnectionList(0, -1);
        Host.ReleaseConnectionList();
        Host.ConnectionCount();
      },
      [&] {
        Host.BuildConnectionList(0, -1);
        Host.GetConnection(1, 31);
      }};
  for (size_t I = 0; I < Calls.size(); ++I) EXPECT_THROW(Calls[I](), EOleException) << "call " << I;
}

TEST_F(SimulatedHostTest, ServesTheDrawingAndItsConnectionList) {
  const auto Symbol =
      Host.Project()->Document()->SymbolByHandle(-1, Host.Drawing().Pages[0].Symbols[0].Handle);
  EXPECT_EQ(Symbol->Name(), "-A");
  EXPECT_EQ(Symbol->Pins()->Count(), 2);
  EXPECT_EQ(Symbol->Pins()->Item(1)->Name(), "2");
  EXPECT_EQ(Symbol->Pins()->Item(1)->Position().Y, 15);
  EXPECT_EQ(Symbol->Layer()->Number(), 1);
  EXPECT_EQ(Host.Project()
                ->Document()
                ->Pages()
                ->Item(0)
                ->Lines()
                ->Item(0)
                ->Vertices()
                ->Item(2)
                ->Position()
                .X,
            10);

  Host.SelectProject(Host.Project()->ProjectHandle());
  Host.BuildConnectionList(0, -1);
  ASSERT_EQ(Host.ConnectionCount(), 1);
  const std::vector<TVariant> Entry = Host.GetConnection(0, 31);
  ASSERT_EQ(Entry.size(), 9u);
  const TSimConnection& C = Host.Connections()[0];
  const std::vector<int32_t> Expected{
      C.HandleA, 0, 1, TSimType::Normal, C.HandleB, 0, 1, TSimType::Normal, C.WireHandle};
  for (size_t I = 0; I < Entry.size(); ++I) EXPECT_EQ(VariantToInt(Entry[I]), Expected[I]) << I;
  EXPECT_EQ(Host.Project()->Document()->SymbolByHandle(-1, C.WireHandle)->Name(), "W9");
}

TEST_F(SimulatedHostTest, ObjectsOutliveTheApplicationObject) {
  auto Application = std::make_shared<TSimulatedHost>(WireList(1));
  const auto Symbol = Application->Project()->Document()->Pages()->Item(0)->Symbols()->Item(1);
  Application.reset();
  EXPECT_EQ(Symbol->Name(), "=F0+L1-B0");
  EXPECT_EQ(Symbol->Pins()->Item(0)->Position().X, 20000);
}

TEST(SimulatedHostHandles, NumbersFreeHandlesAndRefusesDuplicates) {
  TSimDrawing Drawing = WireList(3);
  Drawing.Pages[0].Symbols[2].Handle = 2;
  Drawing.Pages[0].Lines[1].Handle = 7;
  const TSimulatedHost Host(Drawing);
  std::set<int32_t> Handles;
  for (const TSimSymbol& Symbol : Host.Drawing().Pages[0].Symbols) Handles.insert(Symbol.Handle);
  for (const TSimLine& Line : Host.Drawing().Pages[0].Lines) Handles.insert(Line.Handle);
  EXPECT_EQ(Handles.size(), 9u);
  EXPECT_EQ(Handles.count(0), 0u);
  EXPECT_EQ(Host.Drawing().Pages[0].Symbols[2].Handle, 2);

  Drawing.Pages[0].Symbols[0].Handle = 7;
  EXPECT_THROW(TSimulatedHost{Drawing}, std::invalid_argument);
}

TEST_F(SimulatedHostTest, TheNthCallOfAnOperationFails) {
  Host.Faults().FailOperation = "IHostSymbol.Name";
  Host.Faults().FailCall = 2;
  const auto Symbol = Host.Project()->Document()->Pages()->Item(0)->Symbols()->Item(1);
  EXPECT_EQ(Symbol->Name(), "-B");
  EXPECT_THROW(Symbol->Name(), EOleException);
  EXPECT_EQ(Symbol->Name(), "-B");
  EXPECT_EQ(Host.CallCount("IHostSymbol.Name"), 3);
  EXPECT_EQ(Host.CallCount("IHostSymbolList.Item"), 1);
  EXPECT_THROW(Host.CallCount("IHostSymbol.Nam"), std::invalid_argument);
}

TEST_F(SimulatedHostTest, ABadElementAndAGoneHost) {
  TSimulatedHost Big(WireList(3));
  Big.Faults().BadEntry = 1;
  Big.Faults().BadElement = 4;
  Big.Faults().GoneAfterEntries = 2;
  std::vector<int32_t> Seen;
  Big.Faults().OnGetConnection = [&Seen](int32_t AIndex) { Seen.push_back(AIndex); };
  Big.BuildConnectionList(0, -1);
  EXPECT_NO_THROW(VariantToInt(Big.GetConnection(0, 31)[4]));
  EXPECT_THROW(VariantToInt(Big.GetConnection(1, 31)[4]), EVariantTypeCastError);
  EXPECT_TRUE(Big.Gone());
  EXPECT_THROW(Big.GetConnection(2, 31), EOleException);
  EXPECT_THROW(Big.Project(), EOleException);
  EXPECT_THROW(Big.ReleaseConnectionList(), EOleException);
  EXPECT_EQ(Big.ReleaseCount(), 1);
  EXPECT_EQ(Seen, (std::vector<int32_t>{0, 1}));
}

TEST(CoApplicationTest, ServesTheDemoDrawingUnlessAFactoryIsInstalled) {
  const auto First = std::dynamic_pointer_cast<TSimulatedHost>(CoApplication::Create());
  ASSERT_TRUE(First);
  EXPECT_EQ(First->Drawing().Pages.size(), DemoDrawing().Pages.size());
  EXPECT_NE(CoApplication::Create(), First);
  {
    TSimHostFactory Factory(WireList(2));
    Factory.Faults.GoneAfterEntries = 0;
    const auto Host = CoApplication::Create();
    EXPECT_EQ(Host, Factory.LastHost());
    EXPECT_EQ(Factory.LastHost()->Connections().size(), 2u);
    EXPECT_TRUE(Factory.LastHost()->Gone());
    Factory.RefuseCreation = true;
    try {
      CoApplication::Create();
      ADD_FAILURE() << "connected";
    } catch (const Exception& E) {
      EXPECT_EQ(E.ClassName(), "EOleSysError");
    }
    EXPECT_EQ(Factory.Attempts(), 2);
    EXPECT_EQ(QueryHostServices(Host).get(), Factory.LastHost().get());
  }
  const auto Default = std::dynamic_pointer_cast<TSimulatedHost>(CoApplication::Create());
  ASSERT_TRUE(Default);
  EXPECT_EQ(Default->Drawing().Pages.size(), DemoDrawing().Pages.size());
}

}  // namespace
}  // namespace wiremap
