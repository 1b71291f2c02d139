#pragma once

// The drawing check: the faults of a drawing that make its geometric nets differ from
// what the drawing looks like (wires that stop short, pins dropped onto wires, pins left
// open), and the nets of a connection list held against the drawing's.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/ConnectionRec.h"
#include "rawdata/RawData.h"

namespace wiremap {

enum class TFindingKind { OpenLineEnd, PinInsideLine, UnconnectedPin, OnlyInDrawing, OnlyInList };

struct TFinding {
  TFindingKind Kind;
  int32_t Page;     // the page of the point, as the raw data records carry it (Point.Page)
  TRawPoint Point;  // where: the line end, the pin, or the first pin of the net
  std::vector<std::string> Pins;  // pin names involved (designation + ":" + pin), in name order
  std::string Text;               // one line for a person, naming page, point and pins
};

// The name of pin APinIndex of ASymbol: designation + ":" + pin.
using TPinNamer = std::function<std::string(const TSymbol& ASymbol, int32_t APinIndex)>;

// Names pins as the host of the drawing knows them (see THostPinNames): what the
// overloads without a namer use.
TPinNamer HostPinNamer();

// The geometry check: open line ends, pins inside lines, unconnected pins; in page order,
// then y, then x, then kind. Points meet when the point table would key them alike.
// Raises the point table's "Hash table full" for a drawing beyond its size.
std::vector<TFinding> CheckDrawing(const TSymbols& ASymbols, const TPolylines& ALines);
std::vector<TFinding> CheckDrawing(const TSymbols& ASymbols, const TPolylines& ALines,
                                   const TPinNamer& ANamer);

// The nets of AConnections against the geometric nets of the drawing, over the pins the
// drawing has: nets the drawing joins and the list keeps apart (OnlyInDrawing) and the
// reverse (OnlyInList). Pin names are compared as CompareText does. Same order as above.
std::vector<TFinding> CompareWithConnectionList(const TSymbols& ASymbols, const TPolylines& ALines,
                                                const TConnectionRecs& AConnections);
std::vector<TFinding> CompareWithConnectionList(const TSymbols& ASymbols, const TPolylines& ALines,
                                                const TConnectionRecs& AConnections,
                                                const TPinNamer& ANamer);

// The caption of a kind's group of findings ("Open line ends").
std::string FindingKindCaption(TFindingKind AKind);

// The group line for ACount findings of AKind ("Open line ends (1)").
std::string FindingGroupCaption(TFindingKind AKind, size_t ACount);

// Said where a check found nothing.
inline constexpr const char* NoFindingsText = "No findings.";

// The findings as text lines: per kind that occurs, its group caption, then each
// finding's text indented by a tab; NoFindingsText alone when there are none.
std::vector<std::string> FindingLines(const std::vector<TFinding>& AFindings);

}  // namespace wiremap
