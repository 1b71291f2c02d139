#include "host/DemoDrawing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "SimTestDrawings.h"
#include "host/SimulatedHost.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

template <class TItem>
using TWanted = std::vector<std::pair<const char*, std::function<bool(const TItem&)>>>;

TEST(DemoDrawing, IsARealisticCabinetWithEveryKindOfItem) {
  SetCollationLocale("C");
  const TSimDrawing& Drawing = DemoDrawing();
  std::vector<TSimSymbol> Symbols;
  std::vector<TSimLine> Lines;
  size_t Electric = 0;
  for (const TSimPage& Page : Drawing.Pages) {
    Symbols.insert(Symbols.end(), Page.Symbols.begin(), Page.Symbols.end());
    Lines.insert(Lines.end(), Page.Lines.begin(), Page.Lines.end());
    for (const TSimSymbol& S : Page.Symbols)
      Electric += Page.PageKind == 0 && S.SymbolType != TSimType::Head && S.Active;
  }
  EXPECT_GE(Drawing.Pages.size(), 8u);
  EXPECT_NE(Drawing.Pages.front().PageKind, 0);
  EXPECT_GE(Electric, 150u);
  EXPECT_GE(TSimulatedHost(Drawing).Connections().size(), 250u);

  std::set<int32_t> Types;  // relays, contacts, terminals, PLC, fuses, power, a skipped type
  for (const TSimSymbol& S : Symbols) Types.insert(S.SymbolType);
  EXPECT_THAT(Types, testing::IsSupersetOf({TSimType::Relay, TSimType::Open, TSimType::Terminal,
                                            TSimType::Plc, TSimType::PowerFuse, TSimType::Power,
                                            TSimType::WireNumber, TSimType::Support}));
  const auto BranchCommonPin = [](int32_t AStates) {
    return [AStates](const TSimSymbol& S) {
      return S.SymbolType == TSimType::Branch && ((1 << S.BranchState) & AStates) != 0;
    };
  };
  const TWanted<TSimSymbol> WantedSymbols{
      {"motor", [](const TSimSymbol& S) { return S.Name.find("-M") != std::string::npos; }},
      {"branch, common pin 0", BranchCommonPin(1 << 6)},
      {"branch, common pin 1", BranchCommonPin(0x19C)},
      {"branch, common pin 2", BranchCommonPin(1 << 5)},
      {"inactive", [](const TSimSymbol& S) { return !S.Active; }},
      {"second layer", [](const TSimSymbol& S) { return S.Layer == 2; }},
      {"signal in other letters", [](const TSimSymbol& S) { return S.SignalName == "24vdc"; }},
      {"signal", [](const TSimSymbol& S) { return S.SignalName == "24VDC"; }}};
  for (const auto& [Name, Predicate] : WantedSymbols)
    EXPECT_TRUE(std::any_of(Symbols.begin(), Symbols.end(), Predicate)) << Name;
  const TWanted<TSimLine> WantedLines{
      {"jumper", [](const TSimLine& L) { return L.Jumper; }},
      {"cable", [](const TSimLine& L) { return L.Cable; }},
      {"inactive", [](const TSimLine& L) { return !L.Active; }},
      {"non-electric", [](const TSimLine& L) { return !L.Electric && L.Active; }}};
  for (const auto& [Name, Predicate] : WantedLines)
    EXPECT_TRUE(std::any_of(Lines.begin(), Lines.end(), Predicate)) << Name;
}

// The pins the drawing's faults leave open are checked against the geometric nets
// (RawDataRunTest); here, what the host's list makes of the same places.
TEST(DemoDrawing, TheHostsListRoutesAroundTheFaultsAndSkipsWhatTakesNoPart) {
  SetCollationLocale("C");
  const std::vector<std::string> Described = DescribeConnections(TSimulatedHost(DemoDrawing()));
  const auto Connected = [&](const std::string& APin) {
    return std::any_of(Described.begin(), Described.end(), [&](const std::string& ALine) {
      return ALine.rfind(APin + "@", 0) == 0 || ALine.find(" " + APin + "@") != std::string::npos;
    });
  };
  // A terminal dropped onto a finished wire: the wire runs from the contactor straight
  // to the motor.
  EXPECT_THAT(Described, testing::Contains("=CV05+CAB1-K1:6@4 =CV05+FLD-M1:W1@4"));
  // The reserve feeder is switched off, the cover and the terminal diagram are not wired.
  EXPECT_FALSE(Connected("=CV09+CAB1-Q1:1"));
  EXPECT_FALSE(Connected("-S:14"));
  EXPECT_TRUE(Connected("=CV04+CAB1-K1:2"));  // beside the short wire: wired as drawn
}

}  // namespace
}  // namespace wiremap
