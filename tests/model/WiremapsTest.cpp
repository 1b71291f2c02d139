#include "model/Wiremaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/Exception.h"
#include "model/TextCompare.h"
#include "model/TreeText.h"

namespace wiremap {
namespace {

class Wiremaps : public ::testing::Test {
 protected:
  void SetUp() override { SetCollationLocale("en_US"); }
  void TearDown() override { SetCollationLocale("C"); }

  void Connect(const std::string& A, const std::string& B, const std::string& AWire = "W",
               int32_t APageA = 1, int32_t APageB = 1) {
    Graph.AddConnection(A, B, AWire, APageA, APageB);
  }

  // Names of the net that contains ANumber, walking NextInNet from it.
  std::vector<std::string> Walk(int32_t ANumber) {
    std::vector<std::string> Names;
    int32_t N = ANumber;
    do {
      Names.push_back(Graph.GetPinName(N));
      N = Graph.GetPin(N)->NextInNet;
    } while (N != ANumber && Names.size() <= static_cast<size_t>(Graph.GetPinCount()));
    return Names;
  }

  int32_t NumberOf(const std::string& AName) { return Graph.FindOrAddPin(AName)->Number; }

  TWiremaps Graph;
};

TEST_F(Wiremaps, ChainsANetInNameOrderWhateverTheConnectionOrder) {
  Connect("P3", "P4");
  Connect("P1", "P2");
  Connect("P2", "P3");
  Graph.ComputeNets();
  EXPECT_EQ(Graph.NetCount, 1);
  EXPECT_EQ(NumberOf("P3"), 0);
  const int32_t Head = NumberOf("P1");
  EXPECT_TRUE(Graph.GetPin(Head)->Flags & pfNetHead);
  EXPECT_EQ(Walk(Head), (std::vector<std::string>{"P1", "P2", "P3", "P4"}));
  for (const char* Other : {"P2", "P3", "P4"})
    EXPECT_FALSE(Graph.GetPin(NumberOf(Other))->Flags & pfNetHead);
  EXPECT_EQ(Graph.GetSortedName(0), "P1");
  EXPECT_EQ(Graph.GetSortedPin(3)->Name, "P4");
}

TEST_F(Wiremaps, TwoPinNetAndParallelWires) {
  Connect("-K1:A1", "-X1:2", "004", 3, 4);
  Connect("-K1:A1", "-X1:2", "005", 5, 6);
  Graph.ComputeNets();
  ASSERT_EQ(Graph.GetPinCount(), 2);
  EXPECT_EQ(Graph.NetCount, 1);
  const TPinDescr* K = Graph.GetPin(0);
  const TPinDescr* X = Graph.GetPin(1);
  EXPECT_EQ(K->Links, (std::vector<int32_t>{1, 1}));
  EXPECT_EQ(X->Links, (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(K->LinkWires, (std::vector<std::string>{"004", "005"}));
  EXPECT_EQ(K->NextInNet, 1);
  EXPECT_EQ(X->NextInNet, 0);
  EXPECT_TRUE(K->Flags & pfNetHead);
  // Each end keeps the page of its last connection.
  EXPECT_EQ(K->Page, 5);
  EXPECT_EQ(X->Page, 6);
}

TEST_F(Wiremaps, LetterCaseTwinsAreOnePinAndASelfLinkAddsNothing) {
  Connect("-Q1:a1", "-Q1:A1");
  EXPECT_EQ(Graph.GetPinCount(), 0);
  Connect("-S1:NO", "-H1:X1");
  Connect("-s1:no", "-H2:x1");
  ASSERT_EQ(Graph.GetPinCount(), 3);
  EXPECT_EQ(Graph.GetPinName(0), "-S1:NO");
  EXPECT_EQ(Graph.GetPin(0)->Links.size(), 2u);
  // Accents are not folded.
  Connect("-Č1:1", "-C1:1");
  EXPECT_EQ(Graph.GetPinCount(), 5);
}

TEST_F(Wiremaps, EmptyGraphAndClear) {
  Graph.ComputeNets();
  Graph.ClearMarks();
  Graph.ClearVisited();
  EXPECT_EQ(Graph.NetCount, 0);
  Connect("A:1", "B:1");
  Graph.ComputeNets();
  Graph.Clear();
  EXPECT_EQ(Graph.GetPinCount(), 0);
  EXPECT_EQ(Graph.NetCount, 0);
  EXPECT_EQ(Graph.FindOrAddPin("Z:9")->Number, 0);
}

TEST_F(Wiremaps, MarksFollowTheNet) {
  for (const auto& [A, B] : std::vector<std::pair<std::string, std::string>>{
           {"N1", "N2"}, {"N2", "N3"}, {"N3", "N4"}, {"N5", "N1"}, {"M1", "M2"}})
    Connect(A, B);
  Graph.ComputeNets();
  Graph.MarkNet(NumberOf("N3"));
  std::set<std::string> Marked;
  for (int32_t N = 0; N < Graph.GetPinCount(); ++N)
    if (Graph.GetPin(N)->Flags & pfMarked) Marked.insert(Graph.GetPinName(N));
  EXPECT_EQ(Marked, (std::set<std::string>{"N1", "N2", "N3", "N4", "N5"}));
  Graph.ClearMarks();
  for (int32_t N = 0; N < Graph.GetPinCount(); ++N) EXPECT_FALSE(Graph.GetPin(N)->Flags & pfMarked);
  // Before the nets are computed a pin's chain is only itself.
  Connect("Q1", "Q2");
  Graph.MarkNet(NumberOf("Q1"));
  EXPECT_FALSE(Graph.GetPin(NumberOf("Q2"))->Flags & pfMarked);
}

TEST_F(Wiremaps, OutOfRangeAccessIsAnAssertionNotACrash) {
  Connect("A:1", "B:1");
  EXPECT_THROW(Graph.GetSortedPin(2), EAssertionFailed);
  EXPECT_THROW(Graph.GetSortedName(-1), EAssertionFailed);
  EXPECT_THROW(Graph.GetPin(2), EAssertionFailed);
  EXPECT_THROW(Graph.GetPinName(-1), EAssertionFailed);
  EXPECT_THROW(Graph.MarkNet(5), EAssertionFailed);
  try {
    Graph.GetPin(9);
  } catch (const EAssertionFailed& E) {
    EXPECT_EQ(E.Message().rfind("Assertion failure (Wiremap, line ", 0), 0u);
  }
}

TEST_F(Wiremaps, NamesAddedAfterANetComputationAreSortedIn) {
  Connect("B:1", "D:1");
  Graph.ComputeNets();
  Connect("A:1", "C:1");
  Connect("E:1", "b:1");
  std::vector<std::string> Names;
  for (int32_t P = 0; P < Graph.GetPinCount(); ++P) Names.push_back(Graph.GetSortedName(P));
  EXPECT_EQ(Names, (std::vector<std::string>{"A:1", "B:1", "C:1", "D:1", "E:1"}));
  Graph.ComputeNets();
  EXPECT_EQ(Graph.NetCount, 2);
  EXPECT_EQ(Walk(NumberOf("E:1")), (std::vector<std::string>{"E:1", "B:1", "D:1"}));
}

// Random graphs against a straightforward reference: nets as sets, name order,
// heads, the NextInNet cycles and mirrored links.
TEST_F(Wiremaps, RandomGraphsKeepEveryInvariant) {
  std::mt19937 Random(2024);
  for (int Round = 0; Round < 30; ++Round) {
    Graph.Clear();
    const int PinPool = 5 + Round * 7;
    std::uniform_int_distribution<int> Pick(0, PinPool - 1);
    std::map<std::string, std::set<std::string>> Adjacent;
    auto NameOf = [&](int I) {
      std::string Name = (I % 3 ? "-X" : "-k") + std::to_string(I % 17) + ":" + std::to_string(I);
      if (Random() % 4 == 0) std::transform(Name.begin(), Name.end(), Name.begin(), ::toupper);
      return Name;
    };
    for (int C = 0; C < PinPool; ++C) {
      const int A = Pick(Random), B = Pick(Random);
      const std::string NameA = NameOf(A), NameB = NameOf(B);
      Connect(NameA, NameB, "W" + std::to_string(C));
    }
    Graph.ComputeNets();
    const int32_t Count = Graph.GetPinCount();

    // Name order.
    for (int32_t P = 1; P < Count; ++P)
      ASSERT_LT(CompareText(Graph.GetSortedName(P - 1), Graph.GetSortedName(P)), 0);

    std::vector<int> NetOf(Count, -1);
    int Heads = 0;
    for (int32_t P = 0; P < Count; ++P) {
      const TPinDescr* Pin = Graph.GetSortedPin(P);
      if (!(Pin->Flags & pfNetHead)) continue;
      ++Heads;
      ASSERT_EQ(NetOf[Pin->Number], -1) << "a head inside an earlier net";
      int32_t N = Pin->Number;
      int32_t Previous = -1;
      int Steps = 0;
      do {
        ASSERT_EQ(NetOf[N], -1) << "pin in two nets";
        NetOf[N] = Heads;
        ASSERT_GT(Graph.GetPosition(N), Previous) << "net not in ascending position";
        Previous = Graph.GetPosition(N);
        if (N != Pin->Number) {
          ASSERT_FALSE(Graph.GetPin(N)->Flags & pfNetHead);
        }
        N = Graph.GetPin(N)->NextInNet;
        ASSERT_LE(++Steps, Count);
      } while (N != Pin->Number);
      ASSERT_GE(Steps, 2);
    }
    EXPECT_EQ(Heads, Graph.NetCount);
    for (int32_t N = 0; N < Count; ++N) {
      ASSERT_NE(NetOf[N], -1) << "pin in no net";
      const TPinDescr* Pin = Graph.GetPin(N);
      ASSERT_EQ(Pin->Links.size(), Pin->LinkWires.size());
      for (const int32_t Q : Pin->Links) {
        ASSERT_NE(Q, N);
        ASSERT_EQ(NetOf[Q], NetOf[N]) << "linked pins in different nets";
        const auto& Back = Graph.GetPin(Q)->Links;
        ASSERT_EQ(std::count(Back.begin(), Back.end(), N),
                  std::count(Pin->Links.begin(), Pin->Links.end(), Q));
      }
    }

    // The rows ComputeNets leaves agree with the chains (the walk NetlistRows falls back
    // to once pins come after the nets), and stop counting once they do.
    const TNetlistRows* Computed = Graph.ComputedNets();
    ASSERT_NE(Computed, nullptr);
    const TNetlistRows Rows = *Computed;
    Connect("-new:1", "-new:2");
    EXPECT_EQ(Graph.ComputedNets(), nullptr);
    const TNetlistRows Walked = NetlistRows(Graph);
    EXPECT_EQ(Rows.Pins, Walked.Pins);
    EXPECT_EQ(Rows.Starts, Walked.Starts);
    EXPECT_EQ(Rows.Linear, Walked.Linear);
    for (int32_t N = 0; N < Count; ++N) ASSERT_EQ(Rows.Pins[Rows.RowOf[N]], N);
  }
}

TEST_F(Wiremaps, ANetOfHundredsOfThousandsOfPins) {
  constexpr int Size = 300000;
  for (int I = Size - 1; I > 0; --I)
    Connect("-X:" + std::to_string(I), "-X:" + std::to_string(I - 1));
  Graph.ComputeNets();
  EXPECT_EQ(Graph.NetCount, 1);
  ASSERT_EQ(Graph.GetPinCount(), Size);
  const TPinDescr* Head = Graph.GetSortedPin(0);
  EXPECT_EQ(Head->Name, "-X:0");
  EXPECT_TRUE(Head->Flags & pfNetHead);
  EXPECT_EQ(Graph.GetPinName(Head->NextInNet), "-X:1");
  EXPECT_EQ(Graph.GetPin(Head->NextInNet)->NextInNet, NumberOf("-X:10"));
}

}  // namespace
}  // namespace wiremap
