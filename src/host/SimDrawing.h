#pragma once

// A drawing as the simulated host holds it: pages of symbols and lines in plain structs,
// easy to write by hand in tests and to generate in fuzzers. Positions are in
// thousandths of the drawing unit; a page's place in Pages is its 0-based index, and the
// host's connection list numbers pages from 1.
//
//   TSimDrawing Drawing;
//   TSimPage& Page = Drawing.Pages.emplace_back();
//   Page.Symbols.push_back({.SymbolType = TSimType::Relay, .Name = "-K1",
//                           .Pins = {{"A1", {0, 0, 0}}, {"A2", {0, 15000, 0}}}});
//   Page.Lines.push_back({.Vertices = {{0, 0, 0}, {0, -20000, 0}}});
//
// Every member has a default, so designated initializers may leave any out. Handles
// left at 0 are numbered by the simulated host when it is made.

#include <cstdint>
#include <string>
#include <vector>

#include "host/Dpscad_TLB.h"

namespace wiremap {

// The host's symbol type codes.
struct TSimType {
  static constexpr int32_t Normal = 0, Head = 1, Ignore = 2, Relay = 3, Open = 4, Close = 5,
                           Switch = 6, MasterRef = 7, WithRef = 8, Reference = 9, Signal = 10,
                           Terminal = 11, Plc = 12, Data = 13, NoneElectric = 14, Support = 15,
                           Power = 16, Cable = 17, WireNumber = 18, TestPoint = 19,
                           MultiSignal = 20, DynCable = 21, DynTerm = 22, PowerSource = 23,
                           PowerDistrb = 24, PowerLoad = 25, PowerCable = 26, CableDuct = 27,
                           Insertion = 28, PlcRef = 29, Measure = 30, LineConnect = 31, Branch = 32,
                           BusBar = 33, PowerFuse = 34;
};

struct TSimPin {
  std::string Name{};
  THostPosition Position{};
};

struct TSimSymbol {
  int32_t Handle = 0;
  int32_t SymbolType = TSimType::Normal;
  std::string Name{};  // the designation; a wire number symbol's wire name
  int32_t Layer = 1;
  bool Active = true;
  int32_t BranchState = 0;   // branch symbols: 2 to 8
  std::string SignalName{};  // signal symbols: the first text of GetSignalNames
  std::vector<TSimPin> Pins{};
};

struct TSimLine {
  int32_t Handle = 0;
  int32_t Layer = 1;
  std::vector<THostPosition> Vertices{};
  bool Active = true;
  bool Electric = true;
  bool Jumper = false;
  bool Cable = false;
};

struct TSimPage {
  int32_t PageKind = 0;  // not 0: a page without wiring (cover, lists)
  std::vector<TSimSymbol> Symbols{};
  std::vector<TSimLine> Lines{};
};

struct TSimDrawing {
  int32_t ProjectHandle = 1;
  std::vector<TSimPage> Pages{};
};

}  // namespace wiremap
