#include "HostileHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "SimTestDrawings.h"
#include "host/NetRead.h"
#include "model/TextCompare.h"
#include "rawdata/RawData.h"
#include "rawdata/RawDataReport.h"

namespace wiremap {
namespace {

// Wires with wire numbers, a signal and a branch: every kind of object the walks meet.
TSimDrawing Drawing() {
  TSimDrawing Drawing = WireList(2, true);
  TSimPage& Page = Drawing.Pages[0];
  Page.Symbols.push_back(Part("=S", {{0, 0}}, TSimType::Signal));
  Page.Symbols.back().SignalName = "L1";
  Page.Symbols.push_back(Part("B", {{20000, 0}, {25000, 0}, {20000, 5000}}, TSimType::Branch));
  Page.Symbols.back().BranchState = 5;
  return Drawing;
}

// The error classes of the three walks over the host ("" where a walk succeeded): the
// connection list, the drawing, and the names of the raw data texts.
std::vector<std::string> Walk(const std::shared_ptr<IPCsApplication>& AHost,
                              const TSymbols& ASymbols) {
  std::vector<std::string> Errors;
  const auto Try = [&Errors](const auto& AWalk) {
    try {
      AWalk();
      Errors.emplace_back();
    } catch (const Exception& E) {
      Errors.push_back(E.ClassName());
    }
  };
  Try([&] {
    TConnectionRecs Records;
    RetrieveConnections(AHost, Records, {});
  });
  SetHostFactory([AHost] { return AHost; });
  Try([] {
    TSymbols Symbols;
    TPolylines Lines;
    RetrieveRawData(Symbols, Lines, {});
  });
  SetHostFactory({});
  Try([&] { TRawDataReport(AHost, ".").SymbolLines(ASymbols); });
  return Errors;
}

struct THostileCase {
  THostilePlan::TAction Action;
  std::vector<std::string> Allowed;  // the errors the walk that meets it may raise
};

class HostileHostSweep : public ::testing::TestWithParam<THostileCase> {};

// Every call of every walk in turn answered with no object or a false count: the walk
// that meets it fails like a failing host call (a negative count too, never read as an
// empty list), the others are untouched.
TEST_P(HostileHostSweep, EveryCallOfEveryWalk) {
  SetCollationLocale("C");
  const auto Inner = std::make_shared<TSimulatedHost>(Drawing());
  SetHostFactory([Inner] { return Inner; });
  TSymbols Symbols;
  TPolylines Lines;
  RetrieveRawData(Symbols, Lines, {});
  SetHostFactory({});

  int32_t Met = 0;
  for (int32_t Call = 1;; ++Call) {
    const auto Plan = std::make_shared<THostilePlan>();
    Plan->Actions[Call] = GetParam().Action;
    const std::vector<std::string> Errors =
        Walk(std::make_shared<THostileHost>(Plan, Inner), Symbols);
    if (Plan->Calls < Call) break;  // no call left to answer badly
    int32_t Failed = 0;
    for (const std::string& Error : Errors) {
      if (Error.empty()) continue;
      ++Failed;
      EXPECT_NE(std::find(GetParam().Allowed.begin(), GetParam().Allowed.end(), Error),
                GetParam().Allowed.end())
          << "call " << Call << ": " << Error;
    }
    // A count call ignores NoObject, an object call the count actions.
    const bool Applies =
        (Plan->CountCalls.count(Call) != 0) != (GetParam().Action == THostilePlan::NoObject);
    EXPECT_EQ(Failed, Applies ? 1 : 0) << "call " << Call;
    ++Met;
  }
  EXPECT_GT(Met, 50);
}

INSTANTIATE_TEST_SUITE_P(Actions, HostileHostSweep,
                         ::testing::Values(THostileCase{THostilePlan::NoObject, {"EOleException"}},
                                           THostileCase{THostilePlan::OneMore, {"EOleException"}},
                                           THostileCase{THostilePlan::HugeCount, {"EOleException"}},
                                           THostileCase{THostilePlan::NegativeCount,
                                                        {"EOleException"}}));

}  // namespace
}  // namespace wiremap
