#include "model/SampleProjects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "model/KeyValues.h"
#include "model/PinDescr.h"
#include "model/Project.h"
#include "model/TextCompare.h"
#include "model/Wiremaps.h"

namespace wiremap {
namespace {

// Which parts a designation has: function, location, product, or none at all.
enum TShape { shFLP, shFL, shLP, shFP, shP, shWord, shOther, ShapeCount };

TShape ShapeOf(const std::string& ADesignation) {
  std::array<std::string, AspectCount> Parts;
  SplitPinName(ADesignation + ":", Parts);
  const bool F = !Parts[akFunction].empty(), L = !Parts[akLocation].empty(),
             P = !Parts[akProduct].empty();
  if (F && L && P) return shFLP;
  if (F && L) return shFL;
  if (L && P) return shLP;
  if (F && P) return shFP;
  if (P) return shP;
  if (!F && !L) return shWord;
  return shOther;
}

struct TRange {
  int Min;
  int Max;
};

constexpr TRange None{0, 0};
constexpr TRange Any{0, 1 << 30};

// What each sample must show. Counts of designations are distinct designations.
struct TSampleFacts {
  int Number;
  int32_t Records, FirstPage, LastPage;
  int EmptyPinEnds, UnknownWires, SamePinRecords;
  TShape MainShape;
  int MainSharePercent;
  std::array<TRange, ShapeCount> Shapes;  // FLP, FL, LP, FP, P, word, other
  const char* PinSeparators;              // characters that some pin names contain
};

// clang-format off
const TSampleFacts Facts[] = {
  {1, 474, 14, 28, 61, 138, 4, shFLP, 95, {{Any, {1, 10}, None, None, None, None, None}}, "+-"},
  {2, 451, 2, 7, 11, 85, 57, shLP, 100, {{None, None, Any, None, None, None, None}}, ""},
  {3, 2056, 111, 217, 222, 2056, 31, shLP, 80, {{None, None, Any, None, {5, 100}, {1, 10}, None}}, ":+-"},
  {4, 2947, 1, 24, 38, 2947, 29, shLP, 50, {{{100, 1 << 30}, None, Any, None, None, None, None}}, ""},
  {5, 3645, 6, 107, 52, 3645, 115, shLP, 85, {{None, None, Any, {10, 200}, {1, 10}, None, None}}, ""},
  {6, 454, 2, 7, 11, 85, 57, shLP, 100, {{None, None, Any, None, None, None, None}}, ""},
  {7, 355, 2, 8, 131, 72, 3, shLP, 100, {{None, None, Any, None, None, None, None}}, "+-"},
  {8, 355, 2, 8, 131, 72, 3, shLP, 100, {{None, None, Any, None, None, None, None}}, "+-"},
  {9, 1758, 19, 80, 161, 819, 9, shFLP, 95, {{Any, {1, 5}, None, None, None, None, None}}, ":"},
};
// clang-format on

void PrintTo(const TSampleFacts& AFacts, std::ostream* AOut) {
  *AOut << "sample " << AFacts.Number;
}

TConnectionRecs Load(int ANumber) {
  TConnectionRecs Records;
  LoadSampleProject(Records, ANumber);
  return Records;
}

bool IsSamePin(const TConnectionRec& R) {
  return SameText(PinNameOf(R.DesignationA, R.PinA), PinNameOf(R.DesignationB, R.PinB));
}

class SampleProject : public ::testing::TestWithParam<TSampleFacts> {
 protected:
  void SetUp() override { SetCollationLocale("C"); }
};

TEST_P(SampleProject, TableShowsItsFigures) {
  const TSampleFacts& F = GetParam();
  const TConnectionRecs Records = Load(F.Number);
  ASSERT_EQ(static_cast<int32_t>(Records.size()), F.Records);
  EXPECT_EQ(ProjectName, SampleProjectInfo(F.Number)->Caption);

  int32_t LowPage = Records[0].PageA, HighPage = LowPage;
  int Empty = 0, Unknown = 0, Same = 0;
  std::set<std::string> Designations, PinTexts;
  for (const TConnectionRec& R : Records) {
    LowPage = std::min({LowPage, R.PageA, R.PageB});
    HighPage = std::max({HighPage, R.PageA, R.PageB});
    Empty += R.PinA.empty() + R.PinB.empty();
    Unknown += R.WireName == "unknown";
    Same += IsSamePin(R);
    EXPECT_FALSE(R.WireName.empty());
    for (const std::string* D : {&R.DesignationA, &R.DesignationB}) {
      EXPECT_FALSE(D->empty());
      EXPECT_EQ(D->find(':'), std::string::npos) << *D;
      Designations.insert(*D);
    }
    PinTexts.insert(R.PinA);
    PinTexts.insert(R.PinB);
  }
  EXPECT_EQ(LowPage, F.FirstPage);
  EXPECT_EQ(HighPage, F.LastPage);
  EXPECT_EQ(Empty, F.EmptyPinEnds);
  EXPECT_EQ(Unknown, F.UnknownWires);
  EXPECT_EQ(Same, F.SamePinRecords);

  std::array<std::vector<std::string>, ShapeCount> ByShape;
  for (const std::string& D : Designations) ByShape[ShapeOf(D)].push_back(D);
  for (int S = 0; S < ShapeCount; ++S) {
    const int N = static_cast<int>(ByShape[S].size());
    EXPECT_GE(N, F.Shapes[S].Min) << "shape " << S;
    EXPECT_LE(N, F.Shapes[S].Max) << "shape " << S << ", e.g. "
                                  << (N ? ByShape[S][0] : std::string());
  }
  EXPECT_GE(100 * ByShape[F.MainShape].size(), F.MainSharePercent * Designations.size());

  for (const char* C = F.PinSeparators; *C; ++C)
    EXPECT_TRUE(std::any_of(PinTexts.begin(), PinTexts.end(),
                            [&](const std::string& P) { return P.find(*C) != std::string::npos; }))
        << "no pin name with " << *C;
}

TEST_P(SampleProject, NetGraphLooksLikeRealWiring) {
  const TSampleFacts& F = GetParam();
  const TConnectionRecs Records = Load(F.Number);
  TProject Project(Records, "");
  TWiremaps& Graph = Project.Graph();

  // Records joining a pin to itself add neither pins nor links.
  size_t Links = 0;
  int MaxLinks = 0;
  for (int32_t N = 0; N < Graph.GetPinCount(); ++N) {
    Links += Graph.GetPin(N)->Links.size();
    MaxLinks = std::max(MaxLinks, static_cast<int>(Graph.GetPin(N)->Links.size()));
  }
  EXPECT_EQ(Links, 2u * (Records.size() - F.SamePinRecords));

  std::vector<int> Sizes;
  int LongLinear = 0;
  for (int32_t Pos = 0; Pos < Graph.GetPinCount(); ++Pos) {
    const TPinDescr* Head = Graph.GetSortedPin(Pos);
    if (!(Head->Flags & pfNetHead)) continue;
    int Size = 0;
    bool Linear = true;
    int32_t N = Head->Number;
    do {
      const TPinDescr* Pin = Graph.GetPin(N);
      Linear = Linear && Pin->Links.size() <= 2;
      ++Size;
      N = Pin->NextInNet;
    } while (N != Head->Number);
    Sizes.push_back(Size);
    LongLinear += Linear && Size >= 3;
  }
  ASSERT_EQ(static_cast<int>(Sizes.size()), Graph.NetCount);
  std::sort(Sizes.rbegin(), Sizes.rend());
  const auto Small = std::count_if(Sizes.begin(), Sizes.end(), [](int S) { return S <= 3; });
  const auto Large = std::count_if(Sizes.begin(), Sizes.end(), [](int S) { return S >= 50; });
  EXPECT_GE(2 * Small, Graph.NetCount) << "most nets have two or three pins";
  EXPECT_GE(Large, 1);
  EXPECT_LE(Large, 8) << "only the potentials are large";
  EXPECT_LT(Sizes[0], Graph.GetPinCount() / 2);
  if (F.Records > 1000) {
    EXPECT_GE(Sizes[0], 200) << "a potential with a few hundred pins";
  }
  EXPECT_GT(LongLinear, 0) << "daisy chains through terminals";
  EXPECT_GE(MaxLinks, 10) << "a star point";

  const TKeyValues& Keys = Project.KeyValues();
  EXPECT_GT(Keys.Lists[akProduct].Count(), 10);
  EXPECT_GT(Keys.Lists[akPage].Count(), 1);
  const bool NoFunctions =
      F.Shapes[shFLP].Max == 0 && F.Shapes[shFL].Max == 0 && F.Shapes[shFP].Max == 0;
  if (NoFunctions) {
    ASSERT_EQ(Keys.Lists[akFunction].Count(), 1);
    EXPECT_EQ(Keys.Lists[akFunction][0], "");
  }
}

INSTANTIATE_TEST_SUITE_P(AllSamples, SampleProject, ::testing::ValuesIn(Facts),
                         [](const auto& AInfo) { return std::to_string(AInfo.param.Number); });

TEST(SampleProjects, NumbersOutsideOneToNineChangeNothing) {
  TConnectionRecs Records = {{"-K1", "A1", 3, "-K2", "A2", 4, "7"}};
  const TConnectionRecs Before = Records;
  ProjectName = "before";
  for (int Number : {0, 10, -1}) {
    LoadSampleProject(Records, Number);
    EXPECT_EQ(Records, Before);
    EXPECT_EQ(ProjectName, "before");
    EXPECT_EQ(SampleProjectInfo(Number), nullptr);
  }
}

TEST(SampleProjects, LoadCopiesTheTableInOrderAndReplacesTheArray) {
  for (int Number = 1; Number <= SampleProjectCount; ++Number) {
    const TSampleProject* Info = SampleProjectInfo(Number);
    ASSERT_NE(Info, nullptr);
    EXPECT_FALSE(std::string(Info->Caption).empty());
    EXPECT_FALSE(std::string(Info->Label).empty());
    TConnectionRecs Records(5);
    LoadSampleProject(Records, Number);
    ASSERT_EQ(static_cast<int32_t>(Records.size()), Info->Count);
    for (int32_t I = 0; I < Info->Count; ++I) {
      const TSampleRecord& T = Info->Records[I];
      const TConnectionRec Expected{T.DesignationA, T.PinA,  T.PageA,   T.DesignationB,
                                    T.PinB,         T.PageB, T.WireName};
      ASSERT_EQ(Records[I], Expected) << "sample " << Number << ", record " << I;
    }
    EXPECT_EQ(Load(Number), Records) << "loading again gives the same array";
  }
  EXPECT_EQ(SampleProjectInfo(1)->Records, SampleProject1);
  EXPECT_EQ(SampleProjectInfo(9)->Records, SampleProject9);
}

TEST(SampleProjects, CaptionsAndLabelsAreDistinct) {
  std::set<std::string> Captions, Labels;
  for (int Number = 1; Number <= SampleProjectCount; ++Number) {
    Captions.insert(SampleProjectInfo(Number)->Caption);
    Labels.insert(SampleProjectInfo(Number)->Label);
  }
  EXPECT_EQ(Captions.size(), 9u);
  EXPECT_EQ(Labels.size(), 9u);
}

TEST(SampleProjects, EmptyPinNameGivesPinNameEndingInColon) {
  SetCollationLocale("C");
  const TConnectionRecs Records = Load(1);
  const auto It = std::find_if(Records.begin(), Records.end(),
                               [](const TConnectionRec& R) { return R.PinB.empty(); });
  ASSERT_NE(It, Records.end());
  TProject Project(Records, "");
  TWiremaps& Graph = Project.Graph();
  const int32_t Pins = Graph.GetPinCount();
  const TPinDescr* Pin = Graph.FindOrAddPin(PinNameOf(It->DesignationB, It->PinB));
  EXPECT_EQ(Graph.GetPinCount(), Pins) << "the pin was there already";
  EXPECT_EQ(Pin->Name, It->DesignationB + ":");
  std::array<std::string, AspectCount> Parts;
  Pin->SplitName(Parts);
  EXPECT_EQ(Parts[akPin], ":");
}

TEST(SampleProjects, SamePinRecordCountsButAddsNoPin) {
  SetCollationLocale("C");
  // Sample 4 has terminal bridges whose two ends differ in letter case only.
  const TConnectionRecs Records = Load(4);
  const auto It = std::find_if(Records.begin(), Records.end(), [](const TConnectionRec& R) {
    return IsSamePin(R) && R.PinA != R.PinB;
  });
  ASSERT_NE(It, Records.end());
  TProject Project({*It}, "");
  const TWiremaps& Graph = Project.Graph();
  EXPECT_EQ(Graph.GetPinCount(), 0);
  EXPECT_EQ(Graph.NetCount, 0);
}

TEST(SampleProjects, SampleFourHasPinNamesDifferingOnlyInCase) {
  SetCollationLocale("C");
  std::map<std::string, std::set<std::string>> PinsOf;
  for (const TConnectionRec& R : Load(4)) {
    PinsOf[R.DesignationA].insert(R.PinA);
    PinsOf[R.DesignationB].insert(R.PinB);
  }
  int Pairs = 0;
  for (const auto& [Designation, Pins] : PinsOf)
    for (const std::string& A : Pins)
      for (const std::string& B : Pins) Pairs += A < B && SameText(A, B);
  EXPECT_GE(Pairs, 3);
}

TEST(SampleProjects, SampleThreeHasPlainWordsAndCaretProducts) {
  SetCollationLocale("C");
  std::set<std::string> Words, Carets;
  for (const TConnectionRec& R : Load(3))
    for (const std::string* D : {&R.DesignationA, &R.DesignationB}) {
      if (ShapeOf(*D) == shWord) Words.insert(*D);
      if (ShapeOf(*D) == shP && D->find('^') != std::string::npos) Carets.insert(*D);
    }
  EXPECT_GE(Carets.size(), 2u);
  EXPECT_LE(Carets.size(), 10u);
  // Plain names with blanks and accented letters (UTF-8, so bytes above 127).
  EXPECT_TRUE(std::any_of(Words.begin(), Words.end(), [](const std::string& W) {
    return W.find(' ') != std::string::npos && std::any_of(W.begin(), W.end(), [](char C) {
             return static_cast<unsigned char>(C) > 127;
           });
  }));
  EXPECT_TRUE(Words.count("Čerpadlo chladicí vody"));
}

TEST(SampleProjects, SampleNineFunctionsCarryDots) {
  SetCollationLocale("C");
  for (const TConnectionRec& R : Load(9))
    for (const std::string* D : {&R.DesignationA, &R.DesignationB}) {
      std::array<std::string, AspectCount> Parts;
      SplitPinName(*D + ":", Parts);
      EXPECT_NE(Parts[akFunction].find('.'), std::string::npos) << *D;
    }
}

// Each variant keeps most records of its base project but not all, nor their order.
TEST(SampleProjects, VariantsShareMostRecordsWithTheirBase) {
  for (auto [Base, Variant, MinShared] : {std::array{2, 6, 90}, std::array{7, 8, 75}}) {
    const TConnectionRecs A = Load(Base), B = Load(Variant);
    auto Key = [](const TConnectionRec& R) {
      return R.DesignationA + '\t' + R.PinA + '\t' + std::to_string(R.PageA) + '\t' +
             R.DesignationB + '\t' + R.PinB + '\t' + std::to_string(R.PageB) + '\t' + R.WireName;
    };
    std::multiset<std::string> InBase;
    for (const TConnectionRec& R : A) InBase.insert(Key(R));
    std::vector<std::string> SharedInOrder;
    for (const TConnectionRec& R : B) {
      const auto It = InBase.find(Key(R));
      if (It == InBase.end()) continue;
      InBase.erase(It);
      SharedInOrder.push_back(Key(R));
    }
    const size_t Shared = SharedInOrder.size();
    EXPECT_GE(100 * Shared, MinShared * B.size()) << Variant;
    EXPECT_LT(Shared, B.size()) << Variant;
    std::vector<std::string> BaseOrder;
    for (const TConnectionRec& R : A) BaseOrder.push_back(Key(R));
    std::erase_if(BaseOrder, [&](const std::string& K) {
      return std::find(SharedInOrder.begin(), SharedInOrder.end(), K) == SharedInOrder.end();
    });
    EXPECT_NE(BaseOrder, SharedInOrder) << Variant << " keeps the base order";
  }
}

}  // namespace
}  // namespace wiremap
