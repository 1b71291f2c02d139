#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/PinDescr.h"

namespace wiremap {

class TWiremaps;
class TKeyValues;

// The net graph condensed onto the values of one aspect: a node per value and, between
// two nodes, the number of connections running between their pins. Drawn by the charts.
class TCondensedGraph {
 public:
  TCondensedGraph() = default;

  void SetNodeCount(int32_t ACount);
  void Build(TWiremaps& AGraph, const TKeyValues& AKeyValues, TAspectKind AAspect);
  void ComputeMaxWeight();
  void UpdateHighlight(TWiremaps& AGraph, TAspectKind AAspect);

  int32_t NodeCount = 0;
  // Lower triangle with diagonal: row i has i + 1 entries.
  std::vector<std::vector<int32_t>> Weights;
  std::vector<std::string> NodeNames;
  int32_t MaxWeight = 0;
  std::vector<uint8_t> Highlighted;
};

}  // namespace wiremap
