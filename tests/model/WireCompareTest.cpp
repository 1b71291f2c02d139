#include "model/WireCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/SampleProjects.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

using TRenames = std::vector<std::pair<std::string, std::string>>;

// The rules read literally, pair by pair with CompareText on whole texts: no keys, no
// hashing, no sorting of wires. Quadratic, so only for small inputs.
class TReference {
 public:
  static TWireDiff Compare(TConnectionRecs AOld, const TConnectionRecs& ANew) {
    TWireDiff Diff;
    Diff.Renamed = Renames(AOld, ANew);
    for (const auto& [From, To] : Diff.Renamed)
      for (TConnectionRec& R : AOld) {
        if (SameText(R.DesignationA, From)) R.DesignationA = To;
        if (SameText(R.DesignationB, From)) R.DesignationB = To;
      }
    std::vector<bool> Taken(ANew.size(), false);
    for (size_t I = 0; I < AOld.size(); ++I) {
      size_t Rank = 0;
      for (size_t J = 0; J < I; ++J) Rank += SameWire(AOld[J], AOld[I]);
      int Partner = -1;
      for (size_t J = 0; J < ANew.size() && Partner < 0; ++J)
        if (SameWire(ANew[J], AOld[I]) && Rank-- == 0) Partner = static_cast<int>(J);
      if (Partner < 0) {
        Diff.Removed.push_back(static_cast<int>(I));
        continue;
      }
      Taken[static_cast<size_t>(Partner)] = true;
      const TConnectionRec& N = ANew[static_cast<size_t>(Partner)];
      if (AOld[I].WireName == N.WireName && SamePages(AOld[I], N))
        ++Diff.Unchanged;
      else
        Diff.Changed.emplace_back(static_cast<int>(I), Partner);
    }
    for (size_t J = 0; J < ANew.size(); ++J)
      if (!Taken[J]) Diff.Added.push_back(static_cast<int>(J));
    std::sort(Diff.Changed.begin(), Diff.Changed.end(),
              [](const auto& A, const auto& B) { return A.second < B.second; });
    return Diff;
  }

 private:
  static std::string PinA(const TConnectionRec& R) { return R.DesignationA + ":" + R.PinA; }
  static std::string PinB(const TConnectionRec& R) { return R.DesignationB + ":" + R.PinB; }

  static bool SameWire(const TConnectionRec& X, const TConnectionRec& Y) {
    return (SameText(PinA(X), PinA(Y)) && SameText(PinB(X), PinB(Y))) ||
           (SameText(PinA(X), PinB(Y)) && SameText(PinB(X), PinA(Y)));
  }

  static bool SamePages(const TConnectionRec& X, const TConnectionRec& Y) {
    return (SameText(PinA(X), PinA(Y)) && SameText(PinB(X), PinB(Y)) && X.PageA == Y.PageA &&
            X.PageB == Y.PageB) ||
           (SameText(PinA(X), PinB(Y)) && SameText(PinB(X), PinA(Y)) && X.PageA == Y.PageB &&
            X.PageB == Y.PageA);
  }

  static bool Touches(const TConnectionRec& R, const std::string& D) {
    return SameText(R.DesignationA, D) || SameText(R.DesignationB, D);
  }

  // The designations of ARecords that AOther lacks, each once.
  static std::vector<std::string> OnlyIn(const TConnectionRecs& ARecords,
                                         const TConnectionRecs& AOther) {
    std::vector<std::string> Result;
    for (const TConnectionRec& R : ARecords)
      for (const std::string& D : {R.DesignationA, R.DesignationB}) {
        const auto Same = [&](const std::string& E) { return SameText(D, E); };
        if (std::none_of(Result.begin(), Result.end(), Same) &&
            std::none_of(AOther.begin(), AOther.end(),
                         [&](const TConnectionRec& O) { return Touches(O, D); }))
          Result.push_back(D);
      }
    return Result;
  }

  // Whether writing E for D in the old wires touching D gives the new wires touching E.
  static bool Fits(const TConnectionRecs& AOld, const std::string& D, const TConnectionRecs& ANew,
                   const std::string& E) {
    TConnectionRecs From, To;
    for (TConnectionRec R : AOld)
      if (Touches(R, D)) {
        if (SameText(R.DesignationA, D)) R.DesignationA = E;
        if (SameText(R.DesignationB, D)) R.DesignationB = E;
        From.push_back(R);
      }
    for (const TConnectionRec& R : ANew)
      if (Touches(R, E)) To.push_back(R);
    if (From.size() != To.size()) return false;
    for (const TConnectionRec& R : From) {
      const auto Found = std::find_if(To.begin(), To.end(),
                                      [&](const TConnectionRec& T) { return SameWire(R, T); });
      if (Found == To.end()) return false;
      To.erase(Found);
    }
    return true;
  }

  static TRenames Renames(const TConnectionRecs& AOld, const TConnectionRecs& ANew) {
    const std::vector<std::string> Olds = OnlyIn(AOld, ANew), News = OnlyIn(ANew, AOld);
    std::vector<std::vector<bool>> Fit(Olds.size(), std::vector<bool>(News.size()));
    for (size_t I = 0; I < Olds.size(); ++I)
      for (size_t J = 0; J < News.size(); ++J) Fit[I][J] = Fits(AOld, Olds[I], ANew, News[J]);
    TRenames Result;
    for (size_t I = 0; I < Olds.size(); ++I)
      for (size_t J = 0; J < News.size(); ++J) {
        size_t InRow = 0, InColumn = 0;
        for (size_t K = 0; K < News.size(); ++K) InRow += Fit[I][K];
        for (size_t K = 0; K < Olds.size(); ++K) InColumn += Fit[K][J];
        if (Fit[I][J] && InRow == 1 && InColumn == 1) Result.emplace_back(Olds[I], News[J]);
      }
    std::sort(Result.begin(), Result.end(),
              [](const auto& A, const auto& B) { return CompareText(A.first, B.first) < 0; });
    return Result;
  }
};

void ExpectSame(const TWireDiff& AExpected, const TWireDiff& AActual) {
  EXPECT_EQ(AExpected.Unchanged, AActual.Unchanged);
  EXPECT_EQ(AExpected.Removed, AActual.Removed);
  EXPECT_EQ(AExpected.Added, AActual.Added);
  EXPECT_EQ(AExpected.Changed, AActual.Changed);
  EXPECT_EQ(AExpected.Renamed, AActual.Renamed);
}

TConnectionRec Wire(std::string A, std::string PinA, int32_t PageA, std::string B, std::string PinB,
                    int32_t PageB, std::string Name) {
  return {std::move(A),    std::move(PinA), PageA,          std::move(B),
          std::move(PinB), PageB,           std::move(Name)};
}

class WireCompareTest : public testing::Test {
 protected:
  void SetUp() override { SetCollationLocale("C"); }
};

struct TCase {
  const char* Name;
  TConnectionRecs Old, New;
  TWireDiff Expected;
};

TEST_F(WireCompareTest, CraftedRevisions) {
  const std::vector<TCase> Cases = {
      {"a chain X1-K1-K2 rewired to X1-K2-K1, wires renamed and pages moved",
       {Wire("-X1", "1", 1, "-K1", "A1", 1, "W1"), Wire("-K1", "A2", 1, "-K2", "A1", 2, "W2"),
        Wire("-K2", "A2", 2, "-X1", "2", 1, "W3")},
       {Wire("-X1", "1", 1, "-K2", "A1", 2, "W10"), Wire("-K2", "A2", 2, "-K1", "A1", 3, "W11"),
        Wire("-K1", "A2", 3, "-X1", "2", 1, "W12")},
       {0, {0, 1, 2}, {0, 1, 2}, {}, {}}},
      {"parallel wires pair in record order; the extra one is added",
       {Wire("-K1", "13", 1, "-X2", "4", 1, "A"), Wire("-K1", "13", 1, "-X2", "4", 1, "B")},
       {Wire("-X2", "4", 1, "-K1", "13", 1, "B"), Wire("-K1", "13", 1, "-X2", "4", 1, "A"),
        Wire("-K1", "13", 1, "-X2", "4", 1, "A")},
       {0, {}, {2}, {{0, 0}, {1, 1}}, {}}},
      {"a device renamed with its wiring, other wires untouched",
       {Wire("-K1", "A1", 1, "-X1", "1", 1, "1"), Wire("-K1", "A2", 1, "-X1", "2", 1, "2"),
        Wire("-X1", "3", 1, "-X1", "4", 1, "3")},
       {Wire("-X1", "3", 1, "-X1", "4", 1, "3"), Wire("-X1", "2", 2, "-K10", "A2", 2, "2"),
        Wire("-K10", "A1", 1, "-X1", "1", 1, "1")},
       {2, {}, {}, {{1, 1}}, {{"-K1", "-K10"}}}},
      {"an ambiguous twin: two old devices would both become the new one",
       {Wire("-K1", "A1", 1, "-X1", "1", 1, "1"), Wire("-K3", "A1", 1, "-X1", "1", 1, "1")},
       {Wire("-K10", "A1", 1, "-X1", "1", 1, "1"), Wire("-K9", "A1", 1, "-X1", "9", 1, "1")},
       {0, {0, 1}, {0, 1}, {}, {}}},
      {"two devices renamed together and wired to each other are not found",
       {Wire("-K1", "14", 1, "-K2", "A1", 1, "5")},
       {Wire("-K11", "14", 1, "-K12", "A1", 1, "5")},
       {0, {0}, {0}, {}, {}}},
      {"a terminal changed at one end is no rename",
       {Wire("-K1", "A1", 1, "-X1", "1", 1, "1"), Wire("-K1", "A2", 1, "-X1", "2", 1, "2")},
       {Wire("-K10", "A1", 1, "-X1", "1", 1, "1"), Wire("-K10", "A3", 1, "-X1", "2", 1, "2")},
       {0, {0, 1}, {0, 1}, {}, {}}},
      {"a page move at one end, and ends swapped with their pages",
       {Wire("-K1", "A1", 1, "-X1", "1", 2, "1"), Wire("-K2", "A1", 3, "-X1", "2", 4, "2")},
       {Wire("-K1", "A1", 1, "-X1", "1", 5, "1"), Wire("-X1", "2", 4, "-K2", "A1", 3, "2")},
       {1, {}, {}, {{0, 0}}, {}}},
      {"letter case: pins and designations equal, wire names exact",
       {Wire("-k1", "a1", 1, "-x1", "1", 1, "w1"), Wire("-K2", "A1", 1, "-X1", "2", 1, "w2"),
        Wire("-q1", "1", 1, "-X1", "3", 1, "3")},
       {Wire("-K1", "A1", 1, "-X1", "1", 1, "w1"), Wire("-k2", "a1", 1, "-x1", "2", 1, "W2"),
        Wire("-Q5", "1", 1, "-x1", "3", 1, "3")},
       {2, {}, {}, {{1, 1}}, {{"-q1", "-Q5"}}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TWireDiff Actual = CompareWires(C.Old, C.New);
    ExpectSame(C.Expected, Actual);
    ExpectSame(TReference::Compare(C.Old, C.New), Actual);
  }
}

// Small revisions drawn at random over few devices and terminals, so that parallel wires,
// renames, twins, devices renamed together and letter case all occur often.
TConnectionRecs RandomRecords(std::mt19937& ARandom, int ACount) {
  static const char* const Devices[] = {"-K1", "-k1", "-K2", "-X1", "-x1", "-Q1", "-K3"};
  static const char* const Terminals[] = {"1", "2", "A1", "a1"};
  const auto Pick = [&](int AN) { return std::uniform_int_distribution<int>(0, AN - 1)(ARandom); };
  TConnectionRecs Records;
  for (int I = 0; I < ACount; ++I)
    Records.push_back(Wire(Devices[Pick(7)], Terminals[Pick(4)], 1 + Pick(2), Devices[Pick(7)],
                           Terminals[Pick(4)], 1 + Pick(2), std::to_string(Pick(3))));
  return Records;
}

TConnectionRecs Revise(TConnectionRecs ARecords, std::mt19937& ARandom) {
  const auto Pick = [&](int AN) { return std::uniform_int_distribution<int>(0, AN - 1)(ARandom); };
  static const char* const NewNames[] = {"-K7", "-K8", "-k8"};
  for (int Renames = Pick(3); Renames > 0; --Renames) {
    const std::string From =
        ARecords[static_cast<size_t>(Pick(static_cast<int>(ARecords.size())))].DesignationA;
    const std::string To = NewNames[Pick(3)];
    for (TConnectionRec& R : ARecords) {
      if (SameText(R.DesignationA, From)) R.DesignationA = To;
      if (SameText(R.DesignationB, From)) R.DesignationB = To;
    }
  }
  for (TConnectionRec& R : ARecords) switch (Pick(8)) {
      case 0:
        R.PageB = 3 - R.PageB;
        break;
      case 1:
        R.WireName += "x";
        break;
      case 2:
        std::swap(R.DesignationA, R.DesignationB);
        std::swap(R.PinA, R.PinB);
        std::swap(R.PageA, R.PageB);
        break;
      default:
        break;
    }
  std::shuffle(ARecords.begin(), ARecords.end(), ARandom);
  if (Pick(2)) ARecords.pop_back();
  std::mt19937 Extra(ARandom());
  const TConnectionRecs More = RandomRecords(Extra, Pick(3));
  ARecords.insert(ARecords.end(), More.begin(), More.end());
  return ARecords;
}

TEST_F(WireCompareTest, AgreesWithTheRulesOnRandomRevisions) {
  std::mt19937 Random(20);
  for (int Round = 0; Round < 400; ++Round) {
    const TConnectionRecs Old = RandomRecords(Random, 1 + Round % 12);
    const TConnectionRecs New = Revise(Old, Random);
    SCOPED_TRACE(Round);
    ExpectSame(TReference::Compare(Old, New), CompareWires(Old, New));
  }
}

TEST_F(WireCompareTest, SampleRevisionsAgreeWithTheRules) {
  for (const auto& [From, To] : {std::pair(2, 6), std::pair(7, 8)}) {
    SCOPED_TRACE(std::to_string(From) + " -> " + std::to_string(To));
    const TConnectionRecs Old = SampleRecords(From), New = SampleRecords(To);
    ExpectSame(TReference::Compare(Old, New), CompareWires(Old, New));
  }
  // What the generator did and the rules keep: the pump motor moved to another location is
  // found; the lamp renumbered and wired to the new lamp test is not (it gained a wire), nor
  // the sensor renamed together with its terminals, nor the motor renamed onto a name that
  // the old revision already uses.
  EXPECT_EQ(CompareWires(SampleRecords(2), SampleRecords(6)).Renamed,
            (TRenames{{"+ZP3-M3", "+ZP4-M3"}}));
  EXPECT_EQ(CompareWires(SampleRecords(7), SampleRecords(8)).Renamed,
            (TRenames{{"+HM-B2", "+HM-B21"}}));
}

}  // namespace
}  // namespace wiremap
