#include "charts/ChartLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <tuple>
#include <vector>

namespace wiremap {

void PrintTo(const TChartPoint& APoint, std::ostream* AStream) {
  *AStream << '(' << APoint.X << ", " << APoint.Y << ')';
}

namespace {

TEST(ChartLayout, NodesStandOnARingFromTheTopClockwise) {
  struct TCase {
    int32_t Width, Height, Nodes, CenterX, CenterY, Radius;
    std::vector<TChartPoint> Positions;
  };
  // With six nodes a sine or cosine of one half lands on the exact pixel, as the mirror
  // image does.
  // clang-format off
  const std::vector<TCase> Cases{
      {600, 590, 4, 300, 295, 82, {{300, 89}, {511, 295}, {300, 501}, {89, 295}}},
      {600, 590, 6, 300, 295, 82,
       {{300, 89}, {482, 192}, {482, 398}, {300, 501}, {118, 398}, {118, 192}}},
      {301, 271, 1, 150, 135, 37, {{150, 44}}},
      {600, 590, 0, 300, 295, 82, {}}};
  // clang-format on
  for (const TCase& Case : Cases) {
    const TChartLayout Layout = ComputeChartLayout(Case.Width, Case.Height, Case.Nodes);
    EXPECT_EQ(Layout.CenterX, Case.CenterX);
    EXPECT_EQ(Layout.CenterY, Case.CenterY);
    EXPECT_EQ(Layout.NodeRadius, Case.Radius);
    EXPECT_EQ(Layout.NodePositions, Case.Positions) << Case.Nodes << " nodes";
  }
}

TEST(ChartLayout, RadiusTakesTheSineRuleAboveSixNodes) {
  // Width, height, nodes, radius.
  const std::vector<std::array<int32_t, 4>> Cases{
      {600, 590, 7, 71},  {600, 590, 12, 42}, {590, 600, 12, 42}, {1000, 800, 100, 7},
      {600, 597, 842, 0}, {601, 601, 3, 84},  {604, 1000, 5, 84}, {0, 0, 3, 0}};
  for (const auto& [Width, Height, Nodes, Radius] : Cases)
    EXPECT_EQ(ComputeChartLayout(Width, Height, Nodes).NodeRadius, Radius) << Nodes;
}

TEST(ChartLayout, EdgeWidthsFollowTheScale) {
  EXPECT_TRUE(IsLinearScale(82, 82));
  EXPECT_FALSE(IsLinearScale(83, 82));
  // Weight, linear, width.
  const std::vector<std::tuple<int32_t, bool, int32_t>> Cases{
      {0, false, 0},     {4, false, 4},   {5, false, 4},   {6, false, 7},
      {8, false, 10},    {12, false, 13}, {20, false, 16}, {36, false, 19},
      {1000, false, 33}, {1, true, 1},    {5, true, 5},    {36, true, 36}};
  for (const auto& [Weight, Linear, Width] : Cases)
    EXPECT_EQ(EdgeWidth(Weight, Linear), Width) << Weight << (Linear ? " linear" : " log");
}

TEST(ChartLayout, HitTakesTheLowestNodeStrictlyInsideItsCircle) {
  TChartLayout Layout;
  Layout.NodeRadius = 10;
  Layout.NodePositions = {{0, 0}, {100, 100}, {150, 100}, {158, 100}};
  EXPECT_EQ(HitNode(Layout, 105, 108), 1);   // distance squared 89
  EXPECT_EQ(HitNode(Layout, 106, 108), -1);  // 100: on the rim
  EXPECT_EQ(HitNode(Layout, 158, 100), 2);   // inside 2 and 3
  EXPECT_EQ(HitNode(Layout, 166, 100), 3);
  // Tiny nodes keep a hit area of squared radius 20.
  Layout.NodePositions = {{50, 50}};
  for (const int32_t Radius : {0, 4}) {
    Layout.NodeRadius = Radius;
    EXPECT_EQ(HitNode(Layout, 54, 51), 0);   // 17
    EXPECT_EQ(HitNode(Layout, 52, 54), -1);  // 20
  }
}

}  // namespace
}  // namespace wiremap
