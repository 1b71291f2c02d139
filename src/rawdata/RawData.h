#pragma once

// The drawing as the raw data view reads it from the host: the electric symbols with
// their pin positions and the electric lines with their vertices.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/Exception.h"

namespace wiremap {

// One position of a pin or a line vertex. All five fields make up its identity.
struct TRawPoint {
  int32_t X = 0, Y = 0, Z = 0, Layer = 0, Page = 0;

  bool operator==(const TRawPoint&) const = default;
};

// One electric symbol. SymbolType holds the host's type code in bits 0 to 7 and, for a
// branch symbol, the index of its common pin in bits 8 and 9. Name is the signal name
// of a signal symbol and empty for every other symbol.
struct TSymbol {
  int32_t Handle = 0, SymbolType = 0, Page = 0, Layer = 0;
  std::vector<TRawPoint> Pins;
  std::string Name;
};

// One electric line with its vertices in the host's order.
struct TPolyline {
  int32_t Handle = 0, Page = 0, Layer = 0;
  std::vector<TRawPoint> Vertices;
  bool IsJumper = false, IsCable = false;
};

using TSymbols = std::vector<TSymbol>;
using TPolylines = std::vector<TPolyline>;

// The host's symbol type codes.
enum TSymbolType : uint8_t {
  st_Normal = 0,
  st_Head = 1,
  st_Ignore = 2,
  st_Relay = 3,
  st_Open = 4,
  st_Close = 5,
  st_Switch = 6,
  st_MasterRef = 7,
  st_WithRef = 8,
  st_Reference = 9,
  st_Signal = 10,
  st_Terminal = 11,
  st_Plc = 12,
  st_Data = 13,
  st_NoneElectric = 14,
  st_Support = 15,
  st_Power = 16,
  st_Cable = 17,
  st_WireNumber = 18,
  st_TestPoint = 19,
  st_MultiSignal = 20,
  st_DynCable = 21,
  st_DynTerm = 22,
  st_PowerSource = 23,
  st_PowerDistrb = 24,
  st_PowerLoad = 25,
  st_PowerCable = 26,
  st_CableDuct = 27,
  st_Insertion = 28,
  st_PlcRef = 29,
  st_Measure = 30,
  st_LineConnect = 31,
  st_Branch = 32,
  st_BusBar = 33,
  st_PowerFuse = 34,
};

// The name of a type code ("st_Branch"); codes without a name give "st_Unknown(<code>)".
// Callers pass the low 8 bits of a stored SymbolType.
std::string SymbolTypeName(uint8_t AType);

// Whether retrieval passes over symbols of the host type code AType.
bool IsSkippedSymbolType(int32_t AType);

// Branch state table: the host's BranchState (2 to 8) selects the common pin of a
// branch symbol.
inline constexpr int32_t MinBranchState = 2;
inline constexpr int32_t MaxBranchState = 8;
inline constexpr std::array<int32_t, 7> BranchCommonPin = {1, 1, 1, 2, 0, 1, 1};

// The common pin index for a branch state from MinBranchState to MaxBranchState.
constexpr int32_t BranchCommonPinOf(int32_t ABranchState) {
  return BranchCommonPin[static_cast<size_t>(ABranchState - MinBranchState)];
}

// Told about the error when no host could be connected (a host adapter may raise any
// exception, not only the program's own).
using THostErrorReport = std::function<void(const std::exception&)>;

// Reads every electric symbol and line of the host's open project into ASymbols and
// APolylines (replacing what they held). When the host cannot be connected, AReport is
// called once and both arrays come back empty; a host call that fails later, and the
// consistency checks of signal and branch symbols, raise their exceptions.
void RetrieveRawData(TSymbols& ASymbols, TPolylines& APolylines, const THostErrorReport& AReport);

}  // namespace wiremap
