#include "charts/ChartLayout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <utility>
#include <vector>

namespace wiremap {

void PrintTo(const TChartPoint& APoint, std::ostream* AStream) {
  *AStream << '(' << APoint.X << ", " << APoint.Y << ')';
}

namespace {

TEST(ChartLayout, FourNodesStandAtTopRightBottomLeft) {
  const TChartLayout Layout = ComputeChartLayout(600, 590, 4);
  EXPECT_EQ(Layout.CenterX, 300);
  EXPECT_EQ(Layout.CenterY, 295);
  EXPECT_EQ(Layout.NodeRadius, 82);  // min(240, 236) * 0.35, truncated
  EXPECT_EQ(Layout.NodePositions,
            (std::vector<TChartPoint>{{300, 89}, {511, 295}, {300, 501}, {89, 295}}));
}

// Angles whose sine or cosine is one half land on whole pixels exactly as the arithmetic
// says, not one pixel short as a naive floating-point truncation would put them.
TEST(ChartLayout, SixNodesHitTheExactHalfWayPixels) {
  const TChartLayout Layout = ComputeChartLayout(600, 590, 6);
  ASSERT_EQ(Layout.NodeRadius, 82);  // rx = 211, ry = 206
  EXPECT_EQ(Layout.NodePositions,
            (std::vector<TChartPoint>{
                {300, 89}, {482, 192}, {482, 398}, {300, 501}, {118, 398}, {118, 192}}));
  const TChartLayout Twelve = ComputeChartLayout(600, 590, 12);
  const int32_t RadiusX = 300 - Twelve.NodeRadius - 7;
  EXPECT_EQ(Twelve.NodePositions[1].X - 300, RadiusX / 2);
  EXPECT_EQ(Twelve.NodePositions[5].X - 300, RadiusX / 2);
}

TEST(ChartLayout, RadiusFollowsTheNodeCount) {
  struct TCase {
    int32_t Width, Height, Nodes, Radius;
  };
  const std::vector<TCase> Cases{{600, 590, 0, 82}, {600, 590, 1, 82},  {600, 590, 6, 82},
                                 {600, 590, 7, 71}, {600, 590, 12, 42}, {590, 600, 12, 42},
                                 {601, 601, 3, 84}, {604, 1000, 5, 84}, {600, 597, 842, 0},
                                 {0, 0, 3, 0},      {10, 10, 1, 1},     {1000, 800, 100, 7}};
  for (const TCase& Case : Cases)
    EXPECT_EQ(ComputeChartLayout(Case.Width, Case.Height, Case.Nodes).NodeRadius, Case.Radius)
        << Case.Width << " x " << Case.Height << ", " << Case.Nodes << " nodes";
}

TEST(ChartLayout, OneNodeStandsAtTheTopCentre) {
  const TChartLayout Layout = ComputeChartLayout(301, 271, 1);
  EXPECT_EQ(Layout.NodeRadius, 37);  // Trunc(min(120, 108) * 0.35)
  EXPECT_EQ(Layout.NodePositions, (std::vector<TChartPoint>{{150, 135 - (135 - 37 - 7)}}));
}

// Node 0 at the top centre, the others clockwise on an ellipse that keeps a 7-pixel margin
// outside the circles, mirrored about the vertical axis.
TEST(ChartLayout, RingIsClockwiseAndSymmetric) {
  for (const auto& [Width, Height] : {std::pair{600, 597}, {292, 269}, {1271, 990}}) {
    for (int32_t Nodes = 1; Nodes <= 60; ++Nodes) {
      const TChartLayout Layout = ComputeChartLayout(Width, Height, Nodes);
      const std::vector<TChartPoint>& P = Layout.NodePositions;
      ASSERT_EQ(P.size(), static_cast<size_t>(Nodes));
      const int32_t RadiusX = Width / 2 - Layout.NodeRadius - 7;
      const int32_t RadiusY = Height / 2 - Layout.NodeRadius - 7;
      EXPECT_EQ(P[0], (TChartPoint{Layout.CenterX, Layout.CenterY - RadiusY}));
      for (int32_t I = 1; I < Nodes; ++I) {
        const TChartPoint Mirror = P[static_cast<size_t>(Nodes - I)];
        EXPECT_EQ(P[static_cast<size_t>(I)].X - Layout.CenterX, Layout.CenterX - Mirror.X);
        EXPECT_EQ(P[static_cast<size_t>(I)].Y, Mirror.Y) << Nodes << " nodes, node " << I;
        if (2 * I < Nodes) {
          EXPECT_GT(P[static_cast<size_t>(I)].X, Layout.CenterX);
        }
        EXPECT_LE(std::abs(P[static_cast<size_t>(I)].X - Layout.CenterX), RadiusX);
        EXPECT_LE(std::abs(P[static_cast<size_t>(I)].Y - Layout.CenterY), RadiusY);
      }
      if (Nodes % 4 == 0) {
        EXPECT_EQ(P[static_cast<size_t>(Nodes / 4)],
                  (TChartPoint{Layout.CenterX + RadiusX, Layout.CenterY}));
      }
    }
  }
}

TEST(ChartLayout, ScaleTurnsLogarithmicAboveTheRadius) {
  EXPECT_TRUE(IsLinearScale(82, 82));
  EXPECT_FALSE(IsLinearScale(83, 82));
  EXPECT_TRUE(IsLinearScale(0, 0));
  EXPECT_FALSE(IsLinearScale(1, 0));
}

TEST(ChartLayout, EdgeWidths) {
  struct TCase {
    int32_t Weight;
    bool Linear;
    int32_t Width;
  };
  const std::vector<TCase> Cases{
      {0, false, 0},     {1, false, 1},   {4, false, 4},   {5, false, 4},   {6, false, 7},
      {8, false, 10},    {12, false, 13}, {20, false, 16}, {36, false, 19}, {7, false, 8},
      {1000, false, 33}, {1, true, 1},    {4, true, 4},    {5, true, 5},    {36, true, 36}};
  for (const TCase& Case : Cases)
    EXPECT_EQ(EdgeWidth(Case.Weight, Case.Linear), Case.Width)
        << Case.Weight << (Case.Linear ? " linear" : " logarithmic");
  // Heavier never draws thinner.
  for (int32_t Weight = 1; Weight < 5000; ++Weight)
    ASSERT_LE(EdgeWidth(Weight, false), EdgeWidth(Weight + 1, false)) << Weight;
}

TEST(ChartLayout, HitTakesTheLowestNodeInsideItsCircle) {
  TChartLayout Layout;
  Layout.NodeRadius = 10;
  Layout.NodePositions = {{0, 0}, {100, 100}, {200, 100}, {150, 100}, {300, 0}, {158, 100}};
  EXPECT_EQ(HitNode(Layout, 100, 100), 1);
  EXPECT_EQ(HitNode(Layout, 106, 108), -1);  // distance squared 100: on the rim is outside
  EXPECT_EQ(HitNode(Layout, 105, 108), 1);   // 89
  EXPECT_EQ(HitNode(Layout, 158, 100), 3);   // inside 3 and 5: the lower index wins
  EXPECT_EQ(HitNode(Layout, 166, 100), 5);
  EXPECT_EQ(HitNode(Layout, 50, 50), -1);
  EXPECT_EQ(HitNode(TChartLayout(), 0, 0), -1);
}

TEST(ChartLayout, TinyNodesKeepAHitAreaOfSquaredRadiusTwenty) {
  TChartLayout Layout;
  Layout.NodePositions = {{50, 50}};
  for (const int32_t Radius : {0, 3, 4}) {
    Layout.NodeRadius = Radius;
    EXPECT_EQ(HitNode(Layout, 54, 51), 0) << Radius;   // 17
    EXPECT_EQ(HitNode(Layout, 52, 54), -1) << Radius;  // 20
  }
  Layout.NodeRadius = 5;
  EXPECT_EQ(HitNode(Layout, 52, 54), 0);  // 20 < 25
}

}  // namespace
}  // namespace wiremap
