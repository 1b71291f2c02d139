#include "rawdata/RawData.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/SimHostFactory.h"
#include "rawdata/RawDataReport.h"

namespace wiremap {
namespace {

TSimSymbol SimSymbol(int32_t AHandle, int32_t AType, size_t APins, const std::string& AName = "") {
  TSimSymbol Symbol{.Handle = AHandle, .SymbolType = AType, .Name = AName};
  for (int32_t I = 0; I < static_cast<int32_t>(APins); ++I)
    Symbol.Pins.push_back({std::to_string(I + 1), {AHandle, I * 1000, 5}});
  return Symbol;
}

// Retrieves from simulated hosts over one drawing; errors at connection are collected.
struct TRetrieval {
  explicit TRetrieval(TSimDrawing ADrawing) : Hosts(std::move(ADrawing)) {}

  void Run() {
    RetrieveRawData(Symbols, Lines, [this](const std::exception& AError) {
      const auto* Own = dynamic_cast<const Exception*>(&AError);
      Reports.push_back((Own ? Own->ClassName() : "?") + ": " + AError.what());
    });
  }
  int32_t Calls(const char* AOperation) const { return Hosts.LastHost()->CallCount(AOperation); }

  TSimHostFactory Hosts;
  TSymbols Symbols{TSymbol{}};
  TPolylines Lines{TPolyline{}};
  std::vector<std::string> Reports;
};

TEST(RawData, ReadsElectricSymbolsAndLinesOfWiringPagesOnly) {
  TSimDrawing Drawing;
  TSimPage& Cover = Drawing.Pages.emplace_back();
  Cover.PageKind = 1;
  Cover.Symbols.push_back(SimSymbol(1, TSimType::Relay, 1));
  TSimPage& Page = Drawing.Pages.emplace_back();
  Page.Symbols = {SimSymbol(10, TSimType::Relay, 2),    SimSymbol(11, TSimType::NoneElectric, 1),
                  SimSymbol(12, TSimType::Terminal, 1), SimSymbol(13, TSimType::Signal, 1, "X1"),
                  SimSymbol(14, TSimType::Signal, 1),   SimSymbol(15, TSimType::Ignore, 1)};
  Page.Symbols[0].Layer = 4;
  Page.Symbols[2].Active = false;
  Page.Symbols[4].SignalName = "L1";
  Page.Lines = {{.Handle = 20, .Vertices = {{1, 2, 3}, {4, 5, 6}}, .Jumper = true},
                {.Handle = 21, .Vertices = {{0, 0, 0}}, .Electric = false},
                {.Handle = 22, .Vertices = {{0, 0, 0}}, .Active = false},
                {.Handle = 23, .Layer = 7, .Vertices = {{5, 5, 0}}, .Cable = true}};
  TRetrieval R(Drawing);
  R.Run();

  // The fields themselves are checked through the window's texts (RawDataReportTest).
  std::vector<int32_t> Taken;
  for (const TSymbol& Symbol : R.Symbols) Taken.push_back(Symbol.Handle);
  for (const TPolyline& Line : R.Lines) Taken.push_back(Line.Handle);
  EXPECT_EQ(Taken, (std::vector<int32_t>{10, 13, 14, 20, 23}));
  EXPECT_EQ(R.Symbols[0].Pins, (std::vector<TRawPoint>{{10, 0, 5, 4, 1}, {10, 1000, 5, 4, 1}}));
  EXPECT_EQ(R.Symbols[1].Name, "X1:unknown_variant");
  EXPECT_EQ(R.Symbols[2].Name, "L1");
  EXPECT_EQ(R.Lines[1].Vertices, (std::vector<TRawPoint>{{5, 5, 0, 7, 1}}));
  // Skipped types are never asked whether they are active, let alone for handle or pins;
  // a line is asked whether it is electric only when it is active.
  EXPECT_EQ(R.Calls("IHostSymbol.Active"), 4);
  EXPECT_EQ(R.Calls("IHostSymbol.Handle"), 3);
  EXPECT_EQ(R.Calls("IHostSymbol.Pins"), 3);
  EXPECT_EQ(R.Calls("IHostLine.Electric"), 3);
  EXPECT_EQ(R.Calls("IPCsPage.Symbols"), 1);
}

TEST(RawData, BranchStateSelectsTheCommonPin) {
  const std::vector<int32_t> StoredTypes = {288, 288, 288, 544, 32, 288, 288};  // states 2 to 8
  TSimDrawing Drawing;
  for (int32_t State = 2; State <= 8; ++State) {
    Drawing.Pages.emplace_back().Symbols.push_back(SimSymbol(State, TSimType::Branch, 3));
    Drawing.Pages.back().Symbols.back().BranchState = State;
  }
  TRetrieval R(Drawing);
  R.Run();
  std::vector<int32_t> Types;
  for (const TSymbol& Symbol : R.Symbols) Types.push_back(Symbol.SymbolType);
  EXPECT_EQ(Types, StoredTypes);
}

TEST(RawData, SignalAndBranchChecksStopWithTheHandle) {
  struct TCheck {
    int32_t Type;
    size_t Pins;
    int32_t BranchState;
    std::string Message;
  };
  const std::string Pins = "Unexpected number of pins, symbol handle = 4711 (ViewRawD, line ";
  const std::string BranchPins = "Unexpected number of branch figure pins, symbol handle = 4711 (";
  const std::string State = "Unexpected branch figure state, symbol handle = 4711 (ViewRawD, ";
  for (const TCheck& Check :
       {TCheck{TSimType::Signal, 2, 0, Pins}, TCheck{TSimType::WireNumber, 0, 0, Pins},
        TCheck{TSimType::Branch, 2, 6, BranchPins}, TCheck{TSimType::Branch, 3, 1, State},
        TCheck{TSimType::Branch, 3, 9, State}}) {
    TSimDrawing Drawing;
    Drawing.Pages.emplace_back().Symbols.push_back(SimSymbol(4711, Check.Type, Check.Pins));
    Drawing.Pages.back().Symbols.back().BranchState = Check.BranchState;
    TRetrieval R(Drawing);
    EXPECT_THAT([&] { R.Run(); },
                testing::ThrowsMessage<EAssertionFailed>(testing::StartsWith(Check.Message)));
  }
}

TEST(RawData, HostErrorsAtConnectionAreReportedOnceLaterOnesRaised) {
  TSimDrawing Drawing;
  Drawing.Pages.emplace_back().Symbols.push_back(SimSymbol(1, TSimType::Relay, 3));
  TRetrieval R(Drawing);
  R.Hosts.RefuseCreation = true;
  R.Run();
  EXPECT_EQ(R.Reports.size(), 1u);
  EXPECT_EQ(R.Reports[0].rfind("EOleSysError: ", 0), 0u);
  EXPECT_TRUE(R.Symbols.empty() && R.Lines.empty());

  R.Hosts.RefuseCreation = false;
  R.Hosts.Faults.FailOperation = "IHostServices.GetStatus";
  R.Hosts.Faults.FailCall = 1;
  R.Run();
  EXPECT_EQ(R.Reports.size(), 2u);

  R.Hosts.Faults.FailOperation = "IHostPin.Position";
  R.Hosts.Faults.FailCall = 2;
  EXPECT_THROW(R.Run(), EOleException);
  EXPECT_EQ(R.Reports.size(), 2u);
}

// Answers with no object where a project belongs.
class TProjectlessHost : public TSimulatedHost {
 public:
  TProjectlessHost() : TSimulatedHost(TSimDrawing{}) {}
  std::shared_ptr<IHostProject> Project() override { return nullptr; }
};

// A host that hands back no object has failed the call, for the drawing and for the names.
TEST(RawData, AHostAnsweringWithNoObjectFailsLikeAFailingCall) {
  const auto Host = std::make_shared<TProjectlessHost>();
  SetHostFactory([Host] { return Host; });
  TSymbols Symbols;
  TPolylines Lines;
  int Reports = 0;
  EXPECT_THROW(RetrieveRawData(Symbols, Lines, [&](const std::exception&) { ++Reports; }),
               EOleException);
  EXPECT_EQ(Reports, 0);
  SetHostFactory({});
  TSymbol Symbol;
  Symbol.Handle = 1;
  const TRawDataReport Report(Host, ".");
  EXPECT_THROW(Report.SymbolLines({Symbol}), EOleException);
}

}  // namespace
}  // namespace wiremap
