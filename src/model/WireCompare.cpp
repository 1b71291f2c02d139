#include "model/WireCompare.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>

#include "model/KeySort.h"
#include "model/KeyTable.h"
#include "model/TextCompare.h"

namespace wiremap {

namespace {

// Texts under one numbering: texts that compare equal (CompareText) share an id, and the
// id remembers the spelling it was first seen in.
class TInterner {
 public:
  int32_t IdOf(std::string_view AText) {
    CollationKeyTo(AText, FKey);
    const uint64_t Hash = HashText(FKey);
    const int32_t Found = FKeys.Find(FKey, Hash);
    if (Found >= 0) return Found;
    FTextBytes += AText;
    FTextEnds.push_back(FTextBytes.size());
    return FKeys.Add(FKey, Hash);
  }

  size_t Count() const { return static_cast<size_t>(FKeys.Count()); }
  std::string_view Key(int32_t AId) const { return FKeys.Key(AId); }
  std::string_view Text(int32_t AId) const {
    const auto Index = static_cast<size_t>(AId);
    const size_t Begin = Index == 0 ? 0 : FTextEnds[Index - 1];
    return std::string_view(FTextBytes).substr(Begin, FTextEnds[Index] - Begin);
  }

 private:
  std::string FKey;
  TKeyTable FKeys;
  std::string FTextBytes;
  std::vector<size_t> FTextEnds;  // text n ends at FTextEnds[n]
};

// One record seen through the interners: the designation and pin id of either end.
struct TEnds {
  std::array<int32_t, 2> Designation;
  std::array<int32_t, 2> Pin;
};

constexpr uint8_t kInOld = 1;
constexpr uint8_t kInNew = 2;

// The records of both revisions under shared numberings of designations and pin names.
class TRevisions {
 public:
  TRevisions(const TConnectionRecs& AOld, const TConnectionRecs& ANew)
      : FOld(AOld), FNew(ANew), FOldEnds(Read(AOld, kInOld)), FNewEnds(Read(ANew, kInNew)) {}

  // Finds the renames (sorted by the old designation) and applies them to the old ends.
  std::vector<std::pair<std::string, std::string>> Rename();
  void Match(TWireDiff& ADiff) const;

 private:
  // A wire touching a one-sided designation, as the rename rule sees it: the ends on that
  // designation stand for their pin alone (high bit set), the others for their full pin.
  struct TTouch {
    int32_t Designation;
    uint64_t Low, High;
    auto Tie() const { return std::tie(Designation, Low, High); }
  };
  // A one-sided designation and the run of its touches.
  struct TSignature {
    uint64_t Hash;
    size_t Begin, End;
    int32_t Designation;
  };

  std::vector<TEnds> Read(const TConnectionRecs& ARecords, uint8_t ASide);
  bool OneSided(int32_t ADesignation) const {
    const uint8_t Sides = FSides[static_cast<size_t>(ADesignation)];
    return Sides == kInOld || Sides == kInNew;
  }
  void CollectTouches(const TConnectionRecs& ARecords, const std::vector<TEnds>& AEnds,
                      std::vector<TTouch>& ATouches);
  std::vector<std::pair<int32_t, int32_t>> PairSignatures(
      const std::vector<TTouch>& ATouches) const;

  const TConnectionRecs& FOld;
  const TConnectionRecs& FNew;
  TInterner FDesignations, FPins, FTerminals;
  std::vector<uint8_t> FSides;  // per designation: kInOld | kInNew
  std::string FName;
  std::vector<TEnds> FOldEnds, FNewEnds;
};

std::vector<TEnds> TRevisions::Read(const TConnectionRecs& ARecords, uint8_t ASide) {
  std::vector<TEnds> Ends;
  Ends.reserve(ARecords.size());
  for (const TConnectionRec& R : ARecords) {
    TEnds& E = Ends.emplace_back();
    E.Designation = {FDesignations.IdOf(R.DesignationA), FDesignations.IdOf(R.DesignationB)};
    PinNameOf(R.DesignationA, R.PinA, FName);
    E.Pin[0] = FPins.IdOf(FName);
    PinNameOf(R.DesignationB, R.PinB, FName);
    E.Pin[1] = FPins.IdOf(FName);
    FSides.resize(FDesignations.Count(), 0);
    for (const int32_t D : E.Designation) FSides[static_cast<size_t>(D)] |= ASide;
  }
  return Ends;
}

constexpr uint64_t kTerminalMark = uint64_t{1} << 63;

void TRevisions::CollectTouches(const TConnectionRecs& ARecords, const std::vector<TEnds>& AEnds,
                                std::vector<TTouch>& ATouches) {
  for (size_t I = 0; I < AEnds.size(); ++I) {
    const TEnds& E = AEnds[I];
    for (size_t End = 0; End < 2; ++End) {
      const int32_t D = E.Designation[End];
      // A wire between two pins of one device touches it once.
      if (!OneSided(D) || (End == 1 && E.Designation[0] == D)) continue;
      std::array<uint64_t, 2> Ids{};
      for (size_t J = 0; J < 2; ++J) {
        const std::string& Terminal = J == 0 ? ARecords[I].PinA : ARecords[I].PinB;
        Ids[J] = E.Designation[J] == D
                     ? kTerminalMark | static_cast<uint32_t>(FTerminals.IdOf(Terminal))
                     : static_cast<uint32_t>(E.Pin[J]);
      }
      ATouches.push_back({D, std::min(Ids[0], Ids[1]), std::max(Ids[0], Ids[1])});
    }
  }
}

// Groups the one-sided designations by their touches; a group of exactly one old and one
// new designation is a rename. Returns (old, new) designation ids.
std::vector<std::pair<int32_t, int32_t>> TRevisions::PairSignatures(
    const std::vector<TTouch>& ATouches) const {
  std::vector<TSignature> Signatures;
  for (size_t I = 0; I < ATouches.size();) {
    size_t J = I;
    uint64_t Hash = 0x51ED27A3u;
    for (; J < ATouches.size() && ATouches[J].Designation == ATouches[I].Designation; ++J)
      Hash = (Hash ^ ATouches[J].Low) * 0x9E3779B97F4A7C15ull ^ ATouches[J].High;
    Signatures.push_back({HashText(std::string_view(reinterpret_cast<const char*>(&Hash), 8)), I, J,
                          ATouches[I].Designation});
    I = J;
  }
  const auto Less = [&](const TSignature& A, const TSignature& B) {
    if (A.Hash != B.Hash) return A.Hash < B.Hash;
    return std::lexicographical_compare(ATouches.begin() + static_cast<std::ptrdiff_t>(A.Begin),
                                        ATouches.begin() + static_cast<std::ptrdiff_t>(A.End),
                                        ATouches.begin() + static_cast<std::ptrdiff_t>(B.Begin),
                                        ATouches.begin() + static_cast<std::ptrdiff_t>(B.End),
                                        [](const TTouch& X, const TTouch& Y) {
                                          return std::tie(X.Low, X.High) < std::tie(Y.Low, Y.High);
                                        });
  };
  std::sort(Signatures.begin(), Signatures.end(), Less);
  std::vector<std::pair<int32_t, int32_t>> Pairs;
  for (size_t I = 0; I < Signatures.size();) {
    size_t J = I + 1;
    while (J < Signatures.size() && !Less(Signatures[I], Signatures[J])) ++J;
    int32_t Old = -1, New = -1, OldCount = 0, NewCount = 0;
    for (size_t K = I; K < J; ++K) {
      const int32_t D = Signatures[K].Designation;
      if (FSides[static_cast<size_t>(D)] == kInOld) {
        Old = D;
        ++OldCount;
      } else {
        New = D;
        ++NewCount;
      }
    }
    if (OldCount == 1 && NewCount == 1) Pairs.emplace_back(Old, New);
    I = J;
  }
  return Pairs;
}

std::vector<std::pair<std::string, std::string>> TRevisions::Rename() {
  std::vector<TTouch> Touches;
  CollectTouches(FOld, FOldEnds, Touches);
  CollectTouches(FNew, FNewEnds, Touches);
  std::sort(Touches.begin(), Touches.end(),
            [](const TTouch& A, const TTouch& B) { return A.Tie() < B.Tie(); });
  const std::vector<std::pair<int32_t, int32_t>> Pairs = PairSignatures(Touches);
  if (Pairs.empty()) return {};

  std::vector<int32_t> NewName(FDesignations.Count(), -1);
  std::vector<int32_t> Olds;
  for (const auto& [Old, New] : Pairs) {
    NewName[static_cast<size_t>(Old)] = New;
    Olds.push_back(Old);
  }
  for (size_t I = 0; I < FOld.size(); ++I)
    for (size_t End = 0; End < 2; ++End) {
      const int32_t New = NewName[static_cast<size_t>(FOldEnds[I].Designation[End])];
      if (New < 0) continue;
      PinNameOf(FDesignations.Text(New), End == 0 ? FOld[I].PinA : FOld[I].PinB, FName);
      FOldEnds[I].Pin[End] = FPins.IdOf(FName);
      FOldEnds[I].Designation[End] = New;
    }

  SortIdsByKey(
      Olds.begin(), Olds.end(), [this](int32_t AId) { return FDesignations.Key(AId); },
      [this](int32_t AId) { return FDesignations.Text(AId); });
  std::vector<std::pair<std::string, std::string>> Renamed;
  Renamed.reserve(Olds.size());
  for (const int32_t Old : Olds)
    Renamed.emplace_back(FDesignations.Text(Old),
                         FDesignations.Text(NewName[static_cast<size_t>(Old)]));
  return Renamed;
}

// A wire and the record it came from; sorting groups a wire's occurrences in record order.
struct TOccurrence {
  uint64_t Wire;
  int32_t Record;
  bool operator<(const TOccurrence& AOther) const {
    return Wire != AOther.Wire ? Wire < AOther.Wire : Record < AOther.Record;
  }
};

std::vector<TOccurrence> Occurrences(const std::vector<TEnds>& AEnds) {
  std::vector<TOccurrence> Result;
  Result.reserve(AEnds.size());
  for (size_t I = 0; I < AEnds.size(); ++I) {
    const auto A = static_cast<uint32_t>(AEnds[I].Pin[0]);
    const auto B = static_cast<uint32_t>(AEnds[I].Pin[1]);
    Result.push_back({uint64_t{std::min(A, B)} << 32 | std::max(A, B), static_cast<int32_t>(I)});
  }
  std::sort(Result.begin(), Result.end());
  return Result;
}

// Whether every pin keeps its page, whichever end of the record it is on.
bool SamePages(const TEnds& AOld, const TConnectionRec& AOldRec, const TEnds& ANew,
               const TConnectionRec& ANewRec) {
  const bool Straight = AOldRec.PageA == ANewRec.PageA && AOldRec.PageB == ANewRec.PageB;
  const bool Crossed = AOldRec.PageA == ANewRec.PageB && AOldRec.PageB == ANewRec.PageA;
  if (AOld.Pin[0] == AOld.Pin[1]) return Straight || Crossed;  // both ends on one pin
  return AOld.Pin[0] == ANew.Pin[0] ? Straight : Crossed;
}

void TRevisions::Match(TWireDiff& ADiff) const {
  const std::vector<TOccurrence> Old = Occurrences(FOldEnds);
  const std::vector<TOccurrence> New = Occurrences(FNewEnds);
  size_t I = 0, J = 0;
  while (I < Old.size() || J < New.size()) {
    if (J == New.size() || (I < Old.size() && Old[I].Wire < New[J].Wire)) {
      ADiff.Removed.push_back(Old[I++].Record);
    } else if (I == Old.size() || New[J].Wire < Old[I].Wire) {
      ADiff.Added.push_back(New[J++].Record);
    } else {
      const auto O = static_cast<size_t>(Old[I].Record);
      const auto N = static_cast<size_t>(New[J].Record);
      if (FOld[O].WireName == FNew[N].WireName &&
          SamePages(FOldEnds[O], FOld[O], FNewEnds[N], FNew[N]))
        ++ADiff.Unchanged;
      else
        ADiff.Changed.emplace_back(Old[I].Record, New[J].Record);
      ++I;
      ++J;
    }
  }
  std::sort(ADiff.Removed.begin(), ADiff.Removed.end());
  std::sort(ADiff.Added.begin(), ADiff.Added.end());
  std::sort(ADiff.Changed.begin(), ADiff.Changed.end(),
            [](const auto& A, const auto& B) { return A.second < B.second; });
}

}  // namespace

TWireDiff CompareWires(const TConnectionRecs& AOld, const TConnectionRecs& ANew) {
  TRevisions Revisions(AOld, ANew);
  TWireDiff Diff;
  Diff.Renamed = Revisions.Rename();
  Revisions.Match(Diff);
  return Diff;
}

}  // namespace wiremap
