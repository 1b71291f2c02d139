#pragma once

#include <cstdint>
#include <vector>

namespace wiremap {

struct TChartPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TChartPoint&) const = default;
};

// Where a chart's nodes stand in a client area: a ring around the centre, node 0 at the
// top and the others clockwise, every node a circle of the same radius. Painting only
// reads it; it is computed again when the chart opens or the window is resized.
struct TChartLayout {
  int32_t CenterX = 0;
  int32_t CenterY = 0;
  int32_t NodeRadius = 0;
  std::vector<TChartPoint> NodePositions;
};

TChartLayout ComputeChartLayout(int32_t AWidth, int32_t AHeight, int32_t ANodeCount);

// Weights up to the node radius are drawn at their own width; heavier charts switch to a
// logarithmic width so that one busy link does not swallow the ring.
bool IsLinearScale(int32_t AMaxWeight, int32_t ARadius);
int32_t EdgeWidth(int32_t AWeight, bool ALinear);

// The lowest-numbered node whose hit circle holds the point, or -1. Tiny nodes keep a
// hit area of a few pixels so that they can still be pointed at.
int32_t HitNode(const TChartLayout& ALayout, int32_t AX, int32_t AY);

}  // namespace wiremap
