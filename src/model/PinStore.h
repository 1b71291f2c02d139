#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "model/LargeAllocator.h"
#include "model/PinDescr.h"

namespace wiremap {

// The pins of a net graph by number, in blocks of fixed capacity. A pin keeps its address
// while the graph grows (windows hold TPinDescr pointers), and finding a pin takes two
// reads from a block table small enough to stay in cache: a deque's map of small chunks
// missed the cache on nearly every lookup in a large project.
class TPinStore {
 public:
  size_t Count() const { return FCount; }

  TPinDescr& operator[](size_t AIndex) { return FBlocks[AIndex >> BlockBits][AIndex & BlockMask]; }
  const TPinDescr& operator[](size_t AIndex) const {
    return FBlocks[AIndex >> BlockBits][AIndex & BlockMask];
  }

  TPinDescr& Add(const std::string& AName, int32_t ANumber) {
    if ((FCount & BlockMask) == 0) {
      FBlocks.emplace_back();
      FBlocks.back().reserve(BlockMask + 1);
    }
    // Within its reserved capacity a block never moves its pins.
    TPinDescr& Pin = FBlocks.back().emplace_back(AName, ANumber);
    ++FCount;
    return Pin;
  }

  void Clear() {
    FBlocks.clear();
    FCount = 0;
  }

 private:
  // About two megabytes of pins: one huge page (see TLargeAllocator).
  static constexpr size_t BlockBits = 14;
  static constexpr size_t BlockMask = (size_t{1} << BlockBits) - 1;

  std::vector<TLargeVector<TPinDescr>> FBlocks;
  size_t FCount = 0;
};

}  // namespace wiremap
