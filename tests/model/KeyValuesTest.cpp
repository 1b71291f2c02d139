#include "model/KeyValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/CondensedGraph.h"
#include "model/TextCompare.h"
#include "model/Wiremaps.h"

namespace wiremap {
namespace {

std::vector<std::string> Texts(const TSortedTextList& AList) {
  std::vector<std::string> Result;
  for (int I = 0; I < AList.Count(); ++I) Result.push_back(AList[I]);
  return Result;
}

class KeyValues : public ::testing::Test {
 protected:
  void SetUp() override { SetCollationLocale("C"); }
  TWiremaps Graph;
};

TEST_F(KeyValues, EmptyGraphGivesEmptyLists) {
  const TKeyValues Keys(Graph);
  for (const TSortedTextList& List : Keys.Lists) EXPECT_EQ(List.Count(), 0);
}

TEST_F(KeyValues, ListsHoldDistinctValuesInTextOrderAndPinsPointIntoThem) {
  Graph.AddConnection("+ZC-XS5:1", "+zc-K1:A1", "1", 2, 10);
  Graph.AddConnection("+MX0-K1:A2", "+Zc-XS5:2", "2", 1, 2);
  Graph.ComputeNets();
  const TKeyValues Keys(Graph);
  EXPECT_EQ(Texts(Keys.Lists[akFunction]), (std::vector<std::string>{""}));
  EXPECT_EQ(Texts(Keys.Lists[akLocation]), (std::vector<std::string>{"+MX0", "+ZC"}));
  EXPECT_EQ(Texts(Keys.Lists[akProduct]), (std::vector<std::string>{"-K1", "-XS5"}));
  EXPECT_EQ(Texts(Keys.Lists[akPin]), (std::vector<std::string>{":1", ":2", ":A1", ":A2"}));
  EXPECT_EQ(Texts(Keys.Lists[akPage]), (std::vector<std::string>{"1", "10", "2"}));
  const TPinDescr* XS5 = Graph.GetPin(0);
  EXPECT_EQ(XS5->Keys[akPage], 2);
  EXPECT_EQ(XS5->Keys[akFunction], 0);
  // Every pin's key finds a value equal to its own aspect.
  for (int32_t N = 0; N < Graph.GetPinCount(); ++N)
    for (int K = 0; K < AspectCount; ++K) {
      const TPinDescr* Pin = Graph.GetPin(N);
      EXPECT_EQ(CompareText(Keys.Lists[K][Pin->Keys[K]], Pin->GetAspect(TAspectKind(K))), 0);
    }
}

TEST(CondensedGraph, CountsConnectionsBetweenAndInsideNodes) {
  SetCollationLocale("C");
  TWiremaps Graph;
  for (int I = 0; I < 5; ++I)
    Graph.AddConnection("-A" + std::to_string(I) + ":1", "-B" + std::to_string(I) + ":1", "w", 1,
                        1);
  for (int I = 0; I < 3; ++I)
    Graph.AddConnection("-C" + std::to_string(I) + ":1", "-D" + std::to_string(I) + ":1", "w", 1,
                        2);
  Graph.ComputeNets();
  const TKeyValues Keys(Graph);
  TCondensedGraph Chart;
  Chart.Build(Graph, Keys, akPage);
  ASSERT_EQ(Chart.NodeCount, 2);
  EXPECT_EQ(Chart.NodeNames, (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Chart.Weights, (std::vector<std::vector<int32_t>>{{5}, {3, 0}}));
  EXPECT_EQ(Chart.MaxWeight, 5);
  EXPECT_EQ(Chart.Highlighted, (std::vector<uint8_t>{0, 0}));

  // No function parts: one nameless node holding everything on its diagonal.
  TCondensedGraph Functions;
  Functions.Build(Graph, Keys, akFunction);
  EXPECT_EQ(Functions.NodeNames, (std::vector<std::string>{""}));
  EXPECT_EQ(Functions.Weights, (std::vector<std::vector<int32_t>>{{8}}));

  Graph.MarkNet(Graph.FindOrAddPin("-C1:1")->Number);
  Chart.UpdateHighlight(Graph, akPage);
  EXPECT_EQ(Chart.Highlighted, (std::vector<uint8_t>{1, 1}));
  Graph.ClearMarks();
  Graph.MarkNet(Graph.FindOrAddPin("-A1:1")->Number);
  Chart.UpdateHighlight(Graph, akPage);
  EXPECT_EQ(Chart.Highlighted, (std::vector<uint8_t>{1, 0}));
}

TEST(CondensedGraph, NodeCountAndStaleKeysStayInsideTheArrays) {
  TCondensedGraph Chart;
  Chart.MaxWeight = 7;
  Chart.SetNodeCount(0);
  EXPECT_TRUE(Chart.Weights.empty());
  EXPECT_EQ(Chart.MaxWeight, 7);
  Chart.ComputeMaxWeight();
  EXPECT_EQ(Chart.MaxWeight, 0);
  Chart.SetNodeCount(3);
  EXPECT_EQ(Chart.Weights[2].size(), 3u);
  EXPECT_EQ(Chart.NodeNames.size(), 3u);

  // A graph of a later load whose marked pins carry keys beyond this chart's nodes.
  TWiremaps Graph;
  Graph.AddConnection("X:1", "Y:1", "w", 1, 1);
  Graph.GetPin(0)->Keys[akPage] = 99;
  Graph.GetPin(1)->Keys[akPage] = -4;
  Graph.ComputeNets();
  Graph.MarkNet(0);
  Chart.SetNodeCount(1);
  Chart.UpdateHighlight(Graph, akPage);
  EXPECT_EQ(Chart.Highlighted, (std::vector<uint8_t>{0}));

  TWiremaps Empty;
  const TKeyValues Keys(Empty);
  Chart.Build(Empty, Keys, akProduct);
  EXPECT_EQ(Chart.NodeCount, 0);
  EXPECT_EQ(Chart.MaxWeight, 0);
}

}  // namespace
}  // namespace wiremap
