#include "charts/ChartLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace wiremap {

namespace {

constexpr int32_t RingMargin = 7;
constexpr int32_t MinHitRadiusSquared = 20;

// Truncation toward zero of a real value. Sines of simple angles come out a hair off in
// floating point (sin(5π/6) just below one half); a result that is an integer up to such
// noise is taken as that integer, so that a truncation does not lose a whole pixel.
int32_t Trunc(double AValue) {
  const double Nearest = std::round(AValue);
  if (std::fabs(AValue - Nearest) < 1e-9) return static_cast<int32_t>(Nearest);
  return static_cast<int32_t>(AValue);
}

// Up to six nodes keep the radius of a six-node ring, where both rules meet; the factors
// 0.4 and 0.35 are applied in integers so that no rounding of them can cost a pixel.
int32_t NodeRadiusFor(int32_t ASpan, int32_t ANodeCount) {
  if (ANodeCount <= 6) return static_cast<int32_t>(int64_t{ASpan} * 35 / 100);
  return Trunc(ASpan * 0.7 * std::sin(std::numbers::pi / ANodeCount));
}

}  // namespace

TChartLayout ComputeChartLayout(int32_t AWidth, int32_t AHeight, int32_t ANodeCount) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  ANodeCount = std::max(ANodeCount, 0);
  TChartLayout Layout;
  Layout.CenterX = AWidth / 2;
  Layout.CenterY = AHeight / 2;
  const int32_t Span = static_cast<int32_t>(std::min(int64_t{AWidth}, int64_t{AHeight}) * 4 / 10);
  Layout.NodeRadius = NodeRadiusFor(Span, ANodeCount);
  const int32_t RadiusX = AWidth / 2 - Layout.NodeRadius - RingMargin;
  const int32_t RadiusY = AHeight / 2 - Layout.NodeRadius - RingMargin;
  Layout.NodePositions.resize(static_cast<size_t>(ANodeCount));
  for (int32_t I = 0; I < ANodeCount; ++I) {
    const double Angle = I * 2 * std::numbers::pi / ANodeCount;
    Layout.NodePositions[static_cast<size_t>(I)] = {
        Layout.CenterX + Trunc(RadiusX * std::sin(Angle)),
        Layout.CenterY - Trunc(RadiusY * std::cos(Angle))};
  }
  return Layout;
}

bool IsLinearScale(int32_t AMaxWeight, int32_t ARadius) {
  return AMaxWeight <= ARadius;
}

int32_t EdgeWidth(int32_t AWeight, bool ALinear) {
  if (ALinear || AWeight <= 4) return AWeight;
  return Trunc(std::log2(AWeight - 4) * 3) + 4;
}

int32_t HitNode(const TChartLayout& ALayout, int32_t AX, int32_t AY) {
  const int64_t Radius = ALayout.NodeRadius;
  const int64_t HitSquared = std::max<int64_t>(Radius * Radius, MinHitRadiusSquared);
  for (size_t I = 0; I < ALayout.NodePositions.size(); ++I) {
    const int64_t DX = int64_t{AX} - ALayout.NodePositions[I].X;
    const int64_t DY = int64_t{AY} - ALayout.NodePositions[I].Y;
    if (DX * DX + DY * DY < HitSquared) return static_cast<int32_t>(I);
  }
  return -1;
}

}  // namespace wiremap
