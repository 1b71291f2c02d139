#include "rawdata/RawData.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "host/SimulatedHost.h"

namespace wiremap {
namespace {

TSimSymbol SimSymbol(int32_t AHandle, int32_t AType, std::vector<THostPosition> APins,
                     const std::string& AName = "-K1") {
  TSimSymbol Symbol;
  Symbol.Handle = AHandle;
  Symbol.SymbolType = AType;
  Symbol.Name = AName;
  for (size_t I = 0; I < APins.size(); ++I)
    Symbol.Pins.push_back({std::to_string(I + 1), APins[I]});
  return Symbol;
}

TSimLine SimLine(int32_t AHandle, std::vector<THostPosition> AVertices) {
  TSimLine Line;
  Line.Handle = AHandle;
  Line.Vertices = std::move(AVertices);
  return Line;
}

// Serves one drawing to every connection while it lives.
class RawDataTest : public ::testing::Test {
 protected:
  ~RawDataTest() override { SetHostFactory(nullptr); }

  void Serve(TSimDrawing ADrawing) {
    Host = std::make_shared<TSimulatedHost>(std::move(ADrawing));
    SetHostFactory([this] { return Host; });
  }

  // Retrieves; host errors at connection are collected in Reports.
  void Retrieve() {
    RetrieveRawData(Symbols, Lines, [this](const Exception& AError) {
      Reports.push_back(AError.ClassName() + ": " + AError.Message());
    });
  }

  std::shared_ptr<TSimulatedHost> Host;
  TSymbols Symbols;
  TPolylines Lines;
  std::vector<std::string> Reports;
};

TEST(SymbolTypeNameTest, NamesTheCodesAndTheUnknown) {
  EXPECT_EQ(SymbolTypeName(0), "st_Normal");
  EXPECT_EQ(SymbolTypeName(10), "st_Signal");
  EXPECT_EQ(SymbolTypeName(18), "st_WireNumber");
  EXPECT_EQ(SymbolTypeName(static_cast<uint8_t>(544 & 0xFF)), "st_Branch");
  EXPECT_EQ(SymbolTypeName(34), "st_PowerFuse");
  EXPECT_EQ(SymbolTypeName(35), "st_Unknown(35)");
  EXPECT_EQ(SymbolTypeName(255), "st_Unknown(255)");
}

TEST_F(RawDataTest, ReadsElectricSymbolsAndLinesOfWiringPagesOnly) {
  TSimDrawing Drawing;
  TSimPage& Cover = Drawing.Pages.emplace_back();
  Cover.PageKind = 1;
  Cover.Symbols.push_back(SimSymbol(1, TSimType::Relay, {{0, 0, 0}}));
  Cover.Lines.push_back(SimLine(2, {{0, 0, 0}, {5000, 0, 0}}));
  TSimPage& Page = Drawing.Pages.emplace_back();
  Page.Symbols.push_back(SimSymbol(10, TSimType::Relay, {{1000, 2000, 3}, {1000, 7000, 3}}));
  Page.Symbols.back().Layer = 4;
  Page.Symbols.push_back(SimSymbol(11, TSimType::NoneElectric, {{0, 0, 0}}));
  Page.Symbols.push_back(SimSymbol(12, TSimType::Terminal, {{0, 0, 0}}));
  Page.Symbols.back().Active = false;
  Page.Symbols.push_back(SimSymbol(13, TSimType::Signal, {{9000, 0, 0}}, "X1"));
  Page.Symbols.push_back(SimSymbol(14, TSimType::Signal, {{9000, 5000, 0}}, "X2"));
  Page.Symbols.back().SignalName = "L1";
  Page.Symbols.push_back(SimSymbol(15, TSimType::Ignore, {{0, 0, 0}}));
  Page.Lines.push_back(SimLine(20, {{1000, 2000, 3}, {1000, 0, 0}}));
  Page.Lines.back().Jumper = true;
  Page.Lines.push_back(SimLine(21, {{0, 0, 0}, {1, 1, 0}}));
  Page.Lines.back().Electric = false;
  Page.Lines.push_back(SimLine(22, {{0, 0, 0}, {1, 1, 0}}));
  Page.Lines.back().Active = false;
  Page.Lines.push_back(SimLine(23, {{5, 5, 0}}));
  Page.Lines.back().Cable = true;
  Page.Lines.back().Layer = 7;
  Serve(std::move(Drawing));
  Retrieve();

  EXPECT_TRUE(Reports.empty());
  ASSERT_EQ(Symbols.size(), 3u);
  EXPECT_EQ(Symbols[0].Handle, 10);
  EXPECT_EQ(Symbols[0].SymbolType, st_Relay);
  EXPECT_EQ(Symbols[0].Page, 1);
  EXPECT_EQ(Symbols[0].Layer, 4);
  EXPECT_EQ(Symbols[0].Pins,
            (std::vector<TRawPoint>{{1000, 2000, 3, 4, 1}, {1000, 7000, 3, 4, 1}}));
  EXPECT_EQ(Symbols[0].Name, "");
  EXPECT_EQ(Symbols[1].Name, "X1:unknown_variant");
  EXPECT_EQ(Symbols[2].Name, "L1");
  ASSERT_EQ(Lines.size(), 2u);
  EXPECT_EQ(Lines[0].Handle, 20);
  EXPECT_TRUE(Lines[0].IsJumper);
  EXPECT_FALSE(Lines[0].IsCable);
  EXPECT_EQ(Lines[0].Vertices, (std::vector<TRawPoint>{{1000, 2000, 3, 1, 1}, {1000, 0, 0, 1, 1}}));
  EXPECT_EQ(Lines[1].Handle, 23);
  EXPECT_TRUE(Lines[1].IsCable);
  EXPECT_EQ(Lines[1].Vertices, (std::vector<TRawPoint>{{5, 5, 0, 7, 1}}));

  // Skipped types are never asked whether they are active, let alone for handle or pins;
  // a line is asked whether it is electric only when it is active.
  EXPECT_EQ(Host->CallCount("IHostSymbol.Active"), 4);
  EXPECT_EQ(Host->CallCount("IHostSymbol.Handle"), 3);
  EXPECT_EQ(Host->CallCount("IHostSymbol.Pins"), 3);
  EXPECT_EQ(Host->CallCount("IHostLine.Active"), 4);
  EXPECT_EQ(Host->CallCount("IHostLine.Electric"), 3);
  EXPECT_EQ(Host->CallCount("IPCsPage.Symbols"), 1);
}

TEST_F(RawDataTest, BranchStateSelectsTheCommonPin) {
  const std::vector<std::pair<int32_t, int32_t>> StoredTypes = {
      {2, 288}, {3, 288}, {4, 288}, {5, 544}, {6, 32}, {7, 288}, {8, 288}};
  TSimDrawing Drawing;
  TSimPage& Page = Drawing.Pages.emplace_back();
  for (const auto& [State, Type] : StoredTypes) {
    Page.Symbols.push_back(
        SimSymbol(State, TSimType::Branch, {{State, 0, 0}, {State, 1, 0}, {State, 2, 0}}));
    Page.Symbols.back().BranchState = State;
  }
  Serve(std::move(Drawing));
  Retrieve();
  ASSERT_EQ(Symbols.size(), StoredTypes.size());
  for (size_t I = 0; I < StoredTypes.size(); ++I)
    EXPECT_EQ(Symbols[I].SymbolType, StoredTypes[I].second) << "state " << StoredTypes[I].first;
}

struct TCheckCase {
  const char* Name;
  int32_t Type;
  size_t Pins;
  int32_t BranchState;
  const char* Message;
};

void PrintTo(const TCheckCase& ACase, std::ostream* AStream) {
  *AStream << ACase.Name;
}

class RawDataCheckTest : public RawDataTest, public ::testing::WithParamInterface<TCheckCase> {};

TEST_P(RawDataCheckTest, StopsWithTheHandle) {
  const TCheckCase& Case = GetParam();
  TSimDrawing Drawing;
  TSimSymbol Symbol = SimSymbol(4711, Case.Type, std::vector<THostPosition>(Case.Pins));
  Symbol.BranchState = Case.BranchState;
  Drawing.Pages.emplace_back().Symbols.push_back(Symbol);
  Serve(std::move(Drawing));
  try {
    Retrieve();
    FAIL() << "no assertion";
  } catch (const EAssertionFailed& E) {
    EXPECT_EQ(E.Message().rfind(std::string(Case.Message) + "4711 (ViewRawD, line ", 0), 0u)
        << E.Message();
  }
}

const char* const PinCount = "Unexpected number of pins, symbol handle = ";
const char* const BranchPins = "Unexpected number of branch figure pins, symbol handle = ";
const char* const BranchState = "Unexpected branch figure state, symbol handle = ";

INSTANTIATE_TEST_SUITE_P(
    Checks, RawDataCheckTest,
    ::testing::Values(TCheckCase{"SignalWithTwoPins", TSimType::Signal, 2, 0, PinCount},
                      TCheckCase{"WireNumberWithoutPin", TSimType::WireNumber, 0, 0, PinCount},
                      TCheckCase{"BranchWithTwoPins", TSimType::Branch, 2, 6, BranchPins},
                      TCheckCase{"BranchStateOne", TSimType::Branch, 3, 1, BranchState},
                      TCheckCase{"BranchStateNine", TSimType::Branch, 3, 9, BranchState}),
    [](const auto& AInfo) { return std::string(AInfo.param.Name); });

TEST_F(RawDataTest, AHostThatCannotBeReachedIsReportedOnceAndGivesNothing) {
  Symbols.resize(2);
  Lines.resize(1);
  SetHostFactory([]() -> std::shared_ptr<IPCsApplication> { throw EOleSysError("no host"); });
  Retrieve();
  EXPECT_EQ(Reports, std::vector<std::string>{"EOleSysError: no host"});
  EXPECT_TRUE(Symbols.empty());
  EXPECT_TRUE(Lines.empty());

  Reports.clear();
  TSimDrawing Drawing;
  Drawing.Pages.emplace_back().Symbols.push_back(SimSymbol(1, TSimType::Relay, {{0, 0, 0}}));
  Serve(std::move(Drawing));
  Host->Faults().FailOperation = "IHostServices.GetStatus";
  Host->Faults().FailCall = 1;
  Retrieve();
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0].rfind("EOleException: ", 0), 0u) << Reports[0];
  EXPECT_TRUE(Symbols.empty());
}

TEST_F(RawDataTest, AHostCallFailingLaterEndsTheRetrievalWithItsError) {
  TSimDrawing Drawing;
  Drawing.Pages.emplace_back().Symbols.push_back(
      SimSymbol(1, TSimType::Relay, {{0, 0, 0}, {0, 1, 0}, {0, 2, 0}}));
  Serve(std::move(Drawing));
  Host->Faults().FailOperation = "IHostPin.Position";
  Host->Faults().FailCall = 2;
  EXPECT_THROW(Retrieve(), EOleException);
  EXPECT_TRUE(Reports.empty());
}

TEST_F(RawDataTest, OnlyNonWiringPagesGiveAnEmptyDrawing) {
  TSimDrawing Drawing;
  for (int32_t Kind : {1, 2}) {
    TSimPage& Page = Drawing.Pages.emplace_back();
    Page.PageKind = Kind;
    Page.Symbols.push_back(SimSymbol(Kind, TSimType::Relay, {{0, 0, 0}}));
  }
  Serve(std::move(Drawing));
  Retrieve();
  EXPECT_TRUE(Symbols.empty());
  EXPECT_TRUE(Lines.empty());
  EXPECT_TRUE(Reports.empty());
}

}  // namespace
}  // namespace wiremap
