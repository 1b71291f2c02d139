#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/NetlistRows.h"
#include "model/PinDescr.h"

namespace wiremap {

class TKeyValues;
class TWiremaps;

// The texts of the main window's two trees, made once here for the windows, the saves,
// the comparison's reader and the command line. Texts are UTF-8.

// The sort orders of the pin list, as the items of the main window's "Sort by:" group.
enum TSortOrder : int {
  soPinName,
  soPage,
  soFunction,
  soFunctionLocation,
  soLocation,
  soLocationPage,
  soCustom,
  SortOrderCount
};

// What a sort order builds: a flat list, groups of one aspect, or no tree at all.
struct TSortOrderInfo {
  enum TShape { Flat, Grouped, NoTree };
  const char* Caption;
  TShape Shape;
  TAspectKind Aspect;       // grouped orders: the aspect of the groups
  const char* GroupPrefix;  // grouped orders: the group caption before the value
  bool PinShowsPage;        // whether pin lines name their page
};

extern const std::array<TSortOrderInfo, SortOrderCount> SortOrders;

// The order's description; nullptr for a number that is no order.
const TSortOrderInfo* SortOrderInfo(int AOrder);

// Parts of the netlist tree's texts, which the netlist reader looks for.
constexpr std::string_view NetlistRootPrefix = "Netlist of project [";
constexpr std::string_view NetPrefix = "net ";
constexpr std::string_view PinCountMark = "   pins ";
constexpr std::string_view LinearMark = "   linear";

// A name as the trees and the saved files show it: a line feed as "\n", a carriage return
// as "\r", so that every node keeps one line. A backslash is doubled only where it comes
// before "n", "r", another backslash or one of those two characters, so that the text
// reads back unambiguously; names without such a backslash and without line ends are
// shown as they are.
std::string EscapeName(std::string_view AName);
// The name EscapeName made AText from.
std::string UnescapeName(std::string_view AText);

// The nets of AGraph (nets computed) for the netlist tree; the ones ComputeNets made
// unless pins or links were added since.
TNetlistRows NetlistRows(const TWiremaps& AGraph);

// The pins of the pin list tree in one sort order: flat, every pin position in name order
// in one group; grouped, one group per value of the order's aspect in value order, each
// holding its pins' positions in name order. An order without a tree has no groups.
struct TPinListRows {
  std::vector<int32_t> Positions;  // pin positions, group after group
  std::vector<int32_t> Starts;     // group I's pins are Positions[Starts[I]] up to Starts[I + 1]

  int32_t GroupCount() const { return static_cast<int32_t>(Starts.size()) - 1; }
  int32_t PinCount(int32_t AGroup) const {
    return Starts[static_cast<size_t>(AGroup) + 1] - Starts[static_cast<size_t>(AGroup)];
  }
  int32_t Position(int32_t AGroup, int32_t AIndex) const {
    return Positions[static_cast<size_t>(Starts[static_cast<size_t>(AGroup)] + AIndex)];
  }
};
TPinListRows PinListRows(const TWiremaps& AGraph, const TKeyValues& AKeyValues, int AOrder);

// Node captions.
std::string NetlistRootText(const std::string& AProjectName);
std::string NetText(const TWiremaps& AGraph, const TNetlistRows& ARows, int32_t ANet);
std::string NetPinText(const TWiremaps& AGraph, int32_t ANumber);
std::string PinListRootText(const std::string& AProjectName);
std::string GroupText(const TSortOrderInfo& AOrder, const TKeyValues& AKeyValues, int32_t AGroup);
std::string PinText(const TWiremaps& AGraph, int32_t APosition, bool AWithPage);
std::string LinkText(const TWiremaps& AGraph, const TPinDescr& APin, size_t ALink);

// The exact bytes Save Netlist and Save Pinlist write: one line per node in pre-order, a
// tab per depth, every line ended by CR LF. AOrder is the "Sort by:" index 0-6.
std::string WriteNetlistText(TWiremaps& AGraph, const std::string& AProjectName);
// The same bytes handed to AWrite in pieces of about a megabyte, so that a large netlist
// reaches its file without ever being held whole.
using TTextSink = std::function<void(std::string_view APiece)>;
void WriteNetlistText(TWiremaps& AGraph, const std::string& AProjectName, const TTextSink& AWrite);
std::string WritePinListText(TWiremaps& AGraph, TKeyValues& AKeyValues, int AOrder,
                             const std::string& AProjectName);

}  // namespace wiremap
