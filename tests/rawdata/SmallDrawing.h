#pragma once

#include <string>
#include <vector>

#include "host/SimDrawing.h"

namespace wiremap {

// A small drawing with one of each thing the raw data texts tell apart, on the page
// after a cover page.
inline TSimDrawing SmallDrawing() {
  auto Symbol = [](int32_t AHandle, int32_t AType, const char* AName, std::vector<TSimPin> APins) {
    return TSimSymbol{.Handle = AHandle, .SymbolType = AType, .Name = AName, .Pins = APins};
  };
  TSimDrawing Drawing;
  Drawing.Pages.emplace_back().PageKind = 1;
  TSimPage& Page = Drawing.Pages.emplace_back();
  Page.Symbols = {Symbol(1, TSimType::Relay, "-K1", {{"A1", {0, 0, 0}}, {"A2", {0, 12500, 0}}}),
                  Symbol(2, TSimType::Terminal, "-X1", {{"1", {-1250, 0, 0}}}),
                  Symbol(3, TSimType::Signal, "=S", {{"1", {0, 25000, 0}}}),
                  Symbol(4, TSimType::Branch, "B",
                         {{"1", {10000, 0, 0}}, {"2", {10000, 5000, 0}}, {"3", {15000, 0, 0}}}),
                  Symbol(5, TSimType::WireNumber, "W7", {{"1", {0, 5000, 0}}})};
  Page.Symbols[1].Layer = 2;
  Page.Symbols[2].SignalName = "L1+";
  Page.Symbols[3].BranchState = 5;
  Page.Lines = {
      {.Handle = 6, .Layer = 2, .Vertices = {{-1250, 0, 0}, {-5000, 0, 0}}, .Jumper = true},
      {.Handle = 7, .Vertices = {{0, 12500, 0}, {0, 25000, 0}}, .Cable = true},
      {.Handle = 8, .Vertices = {{0, 0, 0}, {0, 5000, 0}, {10000, 5000, 0}}}};
  return Drawing;
}

}  // namespace wiremap
