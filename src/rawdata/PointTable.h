#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/SortedTextList.h"
#include "rawdata/RawData.h"

namespace wiremap {

// One symbol pin that sits on a point.
struct TPinRef {
  int32_t Handle = 0, PinIndex = 0, SymbolType = 0;
};

// The geometric nets: each net is the list of pins on its points.
using TNaiveNetlist = std::vector<std::vector<TPinRef>>;

// One slot of the point table.
struct TPointTableEntry {
  int32_t Flags = 0;
  TRawPoint Key;
  int32_t Next = -1;           // slot of the point inserted just before this one
  std::vector<int32_t> Links;  // slots joined to this one, in the order joined
  std::vector<TPinRef> Pins;   // symbol pins on this point
};

// Gives every distinct pin and vertex position of a drawing one slot, so that points at
// the same place meet, and links the points that lines, branches and same-named signals
// join; the net walk then collects each connected group of points into a net. A hash
// table with open addressing and a fixed size: a drawing with more points than it holds
// fails with "Hash table full". The table is large: create it on the heap.
class TPointTable {
 public:
  static constexpr int32_t TableSize = 42737;               // a prime
  static constexpr int32_t ProbeStep = 1103;                // a prime: a probe visits every slot
  static constexpr int32_t FillLimit = TableSize * 9 / 10;  // the insert that reaches it fails
  static constexpr int32_t Used = 1;
  static constexpr int32_t Visited = 2;

  TPointTable() = default;
  TPointTable(const TPointTable&) = delete;
  TPointTable& operator=(const TPointTable&) = delete;

  // Home slot of a point, 0 to TableSize - 1.
  static int32_t Hash(const TRawPoint& APoint);

  // Slot of the point, inserting it when new.
  int32_t FindOrAdd(const TRawPoint& APoint);

  // Joins AFrom to ATo in that direction only.
  void AddLink(int32_t AFrom, int32_t ATo);

  // Puts every symbol, then every line into the table; counts the distinct signal names.
  void Build(const TSymbols& ASymbols, const TPolylines& APolylines);
  void AddSymbol(const TSymbol& ASymbol);
  void AddPin(const TSymbol& ASymbol, int32_t APinIndex);
  void AddPolyline(const TPolyline& APolyline);

  // The nets, numbered in the order the insertion chain (newest point first) meets them.
  // Once per table: the walk marks slots as visited for good.
  void ComputeNetlist(TNaiveNetlist& ANets);

  // Walks depth first from ASlot along the links, appending the pins met to the net
  // being collected.
  void CollectNet(int32_t ASlot);

  int32_t Count = 0;
  int32_t Collisions = 0;
  int32_t Head = -1;
  int32_t SignalCount = 0;
  std::array<TPointTableEntry, TableSize> Entries;

 private:
  TSortedTextList FSignals;     // signal names with the slot of their first point
  std::vector<int32_t> FSlots;  // a line's vertex slots, reused
  std::vector<int32_t> FStack;  // slots still to visit, reused
  std::vector<TPinRef> FNet;    // the net being collected, reused
};

}  // namespace wiremap
