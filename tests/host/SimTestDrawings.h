#pragma once

// Drawings for host tests and benchmarks, written with names and grid positions.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/SimDrawing.h"
#include "host/SimulatedHost.h"

namespace wiremap {

// A symbol whose pins, named "1", "2", ..., lie at APins.
inline TSimSymbol Part(std::string AName, std::vector<THostPosition> APins,
                       int32_t AType = TSimType::Normal) {
  TSimSymbol Symbol{.SymbolType = AType, .Name = std::move(AName)};
  for (const THostPosition& Position : APins)
    Symbol.Pins.push_back({std::to_string(Symbol.Pins.size() + 1), Position});
  return Symbol;
}

inline TSimLine Wire(std::vector<THostPosition> AVertices) {
  return TSimLine{.Vertices = std::move(AVertices)};
}

// ACount wires, each from the pin of a device -A<i> to the pin of a device -B<i>, on
// pages of a thousand wires; wire i carries the wire number "W<i>" when AWireNumbers.
inline TSimDrawing WireList(int32_t ACount, bool AWireNumbers = false) {
  TSimDrawing Drawing;
  for (int32_t I = 0; I < ACount; ++I) {
    if (I % 1000 == 0) Drawing.Pages.emplace_back();
    TSimPage& Page = Drawing.Pages.back();
    const int32_t Y = (I % 1000) * 5000;
    const std::string Number = std::to_string(I);
    const std::string Function = std::string("=F").append(std::to_string(I / 100)).append("+L1");
    Page.Symbols.push_back(Part(Function + "-A" + Number, {{0, Y}}));
    Page.Symbols.push_back(Part(Function + "-B" + Number, {{20000, Y}}));
    if (AWireNumbers)
      Page.Symbols.push_back(
          Part(std::string("W").append(Number), {{10000, Y}}, TSimType::WireNumber));
    Page.Lines.push_back(Wire({{0, Y}, {10000, Y}, {20000, Y}}));
  }
  return Drawing;
}

// The connection list of AHost as text, one entry each: "-A:1@1 -B:2@3 W7" (designation,
// pin name, 1-based page of both ends, then the wire number's name when there is one).
inline std::vector<std::string> DescribeConnections(const TSimulatedHost& AHost) {
  std::map<int32_t, const TSimSymbol*> Symbols;
  for (const TSimPage& Page : AHost.Drawing().Pages)
    for (const TSimSymbol& Symbol : Page.Symbols) Symbols[Symbol.Handle] = &Symbol;
  const auto End = [&Symbols](int32_t AHandle, int32_t APin, int32_t APage) {
    const TSimSymbol& Symbol = *Symbols.at(AHandle);
    return Symbol.Name + ":" + Symbol.Pins.at(static_cast<size_t>(APin)).Name + "@" +
           std::to_string(APage);
  };
  std::vector<std::string> Lines;
  for (const TSimConnection& C : AHost.Connections()) {
    std::string Line = End(C.HandleA, C.PinA, C.PageA) + " " + End(C.HandleB, C.PinB, C.PageB);
    if (C.WireHandle != 0) Line += " " + Symbols.at(C.WireHandle)->Name;
    Lines.push_back(Line);
  }
  return Lines;
}

}  // namespace wiremap
