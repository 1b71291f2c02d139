#pragma once

#include "host/SimDrawing.h"

namespace wiremap {

// A small drawing with one of each thing the texts tell apart.
inline TSimDrawing SmallDrawing() {
  TSimDrawing Drawing;
  Drawing.Pages.emplace_back().PageKind = 1;
  TSimPage& Page = Drawing.Pages.emplace_back();
  Page.Symbols.push_back({.Handle = 1,
                          .SymbolType = TSimType::Relay,
                          .Name = "-K1",
                          .Pins = {{"A1", {0, 0, 0}}, {"A2", {0, 12500, 0}}}});
  Page.Symbols.push_back({.Handle = 2,
                          .SymbolType = TSimType::Terminal,
                          .Name = "-X1",
                          .Layer = 2,
                          .Pins = {{"1", {-1250, 0, 0}}}});
  Page.Symbols.push_back({.Handle = 3,
                          .SymbolType = TSimType::Signal,
                          .Name = "=S",
                          .SignalName = "L1+",
                          .Pins = {{"1", {0, 25000, 0}}}});
  Page.Symbols.push_back(
      {.Handle = 4,
       .SymbolType = TSimType::Branch,
       .Name = "B",
       .BranchState = 5,
       .Pins = {{"1", {10000, 0, 0}}, {"2", {10000, 5000, 0}}, {"3", {15000, 0, 0}}}});
  Page.Symbols.push_back({.Handle = 5,
                          .SymbolType = TSimType::WireNumber,
                          .Name = "W7",
                          .Pins = {{"1", {0, 5000, 0}}}});
  Page.Lines.push_back(
      {.Handle = 6, .Layer = 2, .Vertices = {{-1250, 0, 0}, {-5000, 0, 0}}, .Jumper = true});
  Page.Lines.push_back({.Handle = 7, .Vertices = {{0, 12500, 0}, {0, 25000, 0}}, .Cable = true});
  Page.Lines.push_back({.Handle = 8, .Vertices = {{0, 0, 0}, {0, 5000, 0}, {10000, 5000, 0}}});
  return Drawing;
}

}  // namespace wiremap
