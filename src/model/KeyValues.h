#pragma once

#include <array>

#include "model/PinDescr.h"
#include "model/SortedTextList.h"

namespace wiremap {

class TWiremaps;

// The distinct values of each aspect over all pins of a net graph, each list sorted;
// building it writes every pin's Keys (the position of its values in the lists).
class TKeyValues {
 public:
  explicit TKeyValues(TWiremaps& AGraph);

  std::array<TSortedTextList, AspectCount> Lists;
};

}  // namespace wiremap
