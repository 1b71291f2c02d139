#include "host/DemoDrawing.h"

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

class DemoDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { SetCollationLocale("C"); }

  bool AnySymbol(const std::function<bool(const TSimSymbol&)>& APredicate) const {
    for (const TSimPage& Page : Drawing.Pages)
      if (std::any_of(Page.Symbols.begin(), Page.Symbols.end(), APredicate)) return true;
    return false;
  }

  bool AnyLine(const std::function<bool(const TSimLine&)>& APredicate) const {
    for (const TSimPage& Page : Drawing.Pages)
      if (std::any_of(Page.Lines.begin(), Page.Lines.end(), APredicate)) return true;
    return false;
  }

  // Whether a connection names the pin APin of a symbol called ADesignation.
  bool Connected(const std::string& ADesignation, const std::string& APin) const {
    const std::string Prefix = ADesignation + ":" + APin + "@";
    return std::any_of(Described.begin(), Described.end(), [&](const std::string& ALine) {
      return ALine.rfind(Prefix, 0) == 0 || ALine.find(" " + Prefix) != std::string::npos;
    });
  }

  const TSimDrawing& Drawing = DemoDrawing();
  const TSimulatedHost Host{DemoDrawing()};
  const std::vector<std::string> Described = DescribeConnections(Host);
};

TEST_F(DemoDrawingTest, IsARealisticCabinetWithEveryKindOfItem) {
  EXPECT_GE(Drawing.Pages.size(), 8u);
  EXPECT_NE(Drawing.Pages.front().PageKind, 0);
  EXPECT_GE(Host.Connections().size(), 250u);
  size_t Electric = 0;
  for (const TSimPage& Page : Drawing.Pages)
    if (Page.PageKind == 0)
      Electric += static_cast<size_t>(std::count_if(
          Page.Symbols.begin(), Page.Symbols.end(),
          [](const TSimSymbol& S) { return S.SymbolType != TSimType::Head && S.Active; }));
  EXPECT_GE(Electric, 150u);

  const auto OfType = [](int32_t AType) {
    return [AType](const TSimSymbol& S) { return S.SymbolType == AType; };
  };
  const auto BranchCommonPin = [](int32_t AStates) {
    return [AStates](const TSimSymbol& S) {
      return S.SymbolType == TSimType::Branch && ((1 << S.BranchState) & AStates) != 0;
    };
  };
  const std::vector<std::pair<const char*, std::function<bool(const TSimSymbol&)>>> Symbols{
      {"relay", OfType(TSimType::Relay)},
      {"contact", OfType(TSimType::Open)},
      {"terminal", OfType(TSimType::Terminal)},
      {"PLC", OfType(TSimType::Plc)},
      {"fuse", OfType(TSimType::PowerFuse)},
      {"power supply", OfType(TSimType::Power)},
      {"motor", [](const TSimSymbol& S) { return S.Name.find("-M") != std::string::npos; }},
      {"wire number", OfType(TSimType::WireNumber)},
      {"branch, common pin 0", BranchCommonPin(1 << 6)},
      {"branch, common pin 1", BranchCommonPin(0x19C)},
      {"branch, common pin 2", BranchCommonPin(1 << 5)},
      {"skipped type", OfType(TSimType::Support)},
      {"inactive", [](const TSimSymbol& S) { return !S.Active; }},
      {"second layer", [](const TSimSymbol& S) { return S.Layer == 2; }},
      {"signal in other letters", [](const TSimSymbol& S) { return S.SignalName == "24vdc"; }},
      {"signal", [](const TSimSymbol& S) { return S.SignalName == "24VDC"; }}};
  for (const auto& [Name, Predicate] : Symbols) EXPECT_TRUE(AnySymbol(Predicate)) << Name;

  const std::vector<std::pair<const char*, std::function<bool(const TSimLine&)>>> Lines{
      {"jumper", [](const TSimLine& L) { return L.Jumper; }},
      {"cable", [](const TSimLine& L) { return L.Cable; }},
      {"inactive", [](const TSimLine& L) { return !L.Active; }},
      {"non-electric", [](const TSimLine& L) { return !L.Electric && L.Active; }}};
  for (const auto& [Name, Predicate] : Lines) EXPECT_TRUE(AnyLine(Predicate)) << Name;
}

TEST_F(DemoDrawingTest, TheTwoDrawingFaultsLeaveTheirPinsOpen) {
  // A terminal dropped onto a finished wire: neither clamp is connected, and the wire
  // runs from the contactor straight to the motor.
  EXPECT_FALSE(Connected("=CV05+CAB1-X1", "3"));
  EXPECT_NE(std::find(Described.begin(), Described.end(), "=CV05+CAB1-K1:6@4 =CV05+FLD-M1:W1@4"),
            Described.end());
  // A wire that ends short of its terminal.
  EXPECT_FALSE(Connected("=CV04+CAB1-K1", "4"));
  EXPECT_TRUE(Connected("=CV04+CAB1-K1", "2"));
  EXPECT_TRUE(Connected("=CV04+CAB1-X1", "2"));
  // The reserve feeder is switched off, the cover and the terminal diagram are not wired.
  EXPECT_FALSE(Connected("=CV09+CAB1-Q1", "1"));
  EXPECT_FALSE(Connected("-S", "14"));
}

}  // namespace
}  // namespace wiremap
