#pragma once

#include <cstdint>
#include <iterator>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "host/SimDrawing.h"

namespace wiremap {

// Decodes a fuzzer's bytes into a small drawing for the simulated host: few pages,
// symbols of every type (and codes no host should give), names with separators, letter
// case twins and invalid UTF-8, pins and vertices on a narrow grid so that they meet,
// now and then hostile handles and branch states.
class THostDecoder {
 public:
  explicit THostDecoder(TFuzzInput& AInput) : FInput(AInput) {}

  TSimDrawing Drawing() {
    TSimDrawing Drawing;
    for (int Pages = 1 + FInput.Below(3); Pages > 0; --Pages) {
      TSimPage& Page = Drawing.Pages.emplace_back();
      Page.PageKind = FInput.Below(8) == 0 ? 1 + FInput.Below(3) : 0;
      for (int N = FInput.Below(7); N > 0; --N) Page.Symbols.push_back(Symbol());
      for (int N = FInput.Below(4); N > 0; --N) Page.Lines.push_back(Line());
    }
    return Drawing;
  }

  std::string Text() {
    static const std::string Tokens[] = {"=", "+", "-",    ":",    "K1",           "k1",  "X", "1",
                                         "é", "É", "\xC3", "\xFF", "\xED\xA0\x80", "<b>", ""};
    std::string Text;
    for (int N = FInput.Below(4); N > 0; --N)
      Text += Tokens[FInput.Below(static_cast<int>(std::size(Tokens)))];
    return Text;
  }

  // A value for a 32-bit host field: mostly small, sometimes an extreme.
  int32_t Number(int ASmall) {
    switch (FInput.Below(16)) {
      case 0:
        return std::numeric_limits<int32_t>::min();
      case 1:
        return std::numeric_limits<int32_t>::max();
      case 2:
        return -1 - FInput.Below(3);
      default:
        return FInput.Below(ASmall);
    }
  }

 private:
  // Handle 0 lets the host number the symbol; an explicit one is never given twice.
  int32_t Handle() {
    if (FInput.Below(4) != 0) return 0;
    const int32_t Handle = Number(8);
    return Handle != 0 && FHandles.insert(Handle).second ? Handle : 0;
  }

  int32_t SymbolType() {
    const int Code = FInput.Byte();
    if (Code < 35 * 6) return Code % 35;
    static const int32_t Odd[] = {35, 255, 288, 544, 800, -1, 10 + 256};
    return Odd[static_cast<size_t>(Code) % std::size(Odd)];
  }

  THostPosition Position() {
    return {1000 * FInput.Below(4), 1000 * FInput.Below(3), FInput.Below(16) == 0 ? 1 : 0};
  }

  TSimSymbol Symbol() {
    TSimSymbol Symbol;
    Symbol.Handle = Handle();
    Symbol.SymbolType = SymbolType();
    Symbol.Name = Text();
    Symbol.Layer = FInput.Below(3);
    Symbol.Active = FInput.Below(8) != 0;
    Symbol.BranchState = FInput.Below(8) == 0 ? Number(16) : 2 + FInput.Below(7);
    Symbol.SignalName = FInput.Bool() ? Text() : "";
    // Branches mostly with their three pins, signals and wire numbers with one.
    int Pins = FInput.Below(5);
    if (FInput.Below(4) != 0) {
      if ((Symbol.SymbolType & 0xFF) == TSimType::Branch) Pins = 3;
      if (Symbol.SymbolType == TSimType::Signal || Symbol.SymbolType == TSimType::WireNumber)
        Pins = 1;
    }
    for (; Pins > 0; --Pins) Symbol.Pins.push_back({Text(), Position()});
    return Symbol;
  }

  TSimLine Line() {
    TSimLine Line;
    Line.Handle = Handle();
    Line.Layer = FInput.Below(3);
    for (int N = FInput.Below(6); N > 0; --N) Line.Vertices.push_back(Position());
    Line.Active = FInput.Below(8) != 0;
    Line.Electric = FInput.Below(8) != 0;
    Line.Jumper = FInput.Bool();
    Line.Cable = FInput.Bool();
    return Line;
  }

  TFuzzInput& FInput;
  std::set<int32_t> FHandles;
};

}  // namespace wiremap
