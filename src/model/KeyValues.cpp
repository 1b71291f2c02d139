#include "model/KeyValues.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include "model/HashIndex.h"
#include "model/Wiremaps.h"

namespace wiremap {
namespace {

// The distinct byte-exact values of one aspect in order of first appearance, and for
// every pin the index of its value among them. Values that differ only in letter case
// stay apart here; the sorted list folds them, keeping the one seen first.
class TAspectValues {
 public:
  TAspectValues() = default;
  TAspectValues(const TAspectValues&) = delete;
  TAspectValues& operator=(const TAspectValues&) = delete;

  void Prefetch(uint64_t AHash) const { FIndex.Prefetch(AHash); }

  void Add(std::string_view AValue, uint64_t AHash) {
    int32_t Id = FIndex.Find(AValue, AHash);
    if (Id < 0) {
      Id = static_cast<int32_t>(Values.size());
      Values.emplace_back(AValue);
      FIndex.Insert(Id, AHash);
    }
    PinValue.push_back(Id);
  }

  std::vector<std::string> Values;
  std::vector<int32_t> PinValue;

 private:
  struct TValueOf {
    const TAspectValues* Owner;
    std::string_view operator()(int32_t AId) const { return Owner->Values[AId]; }
  };
  THashIndex<TValueOf> FIndex{TValueOf{this}};
};

// The aspect values of one pin with their hashes, taken a few pins ahead of their use.
struct TPreparedPin {
  std::array<std::string_view, AspectCount> Parts;
  std::array<uint64_t, AspectCount> Hashes;
  char Page[16];

  void Prepare(const TPinDescr& APin) {
    SplitPinName(std::string_view(APin.Name), Parts);
    const auto Written = std::to_chars(Page, Page + sizeof Page, APin.Page);
    Parts[akPage] = std::string_view(Page, Written.ptr - Page);
    for (int K = 0; K < AspectCount; ++K) Hashes[K] = HashText(Parts[K]);
  }
};

}  // namespace

TKeyValues::TKeyValues(TWiremaps& AGraph) {
  const int32_t Count = AGraph.GetPinCount();
  std::array<TAspectValues, AspectCount> Aspects;
  for (TAspectValues& Aspect : Aspects) Aspect.PinValue.reserve(Count);
  // A large project has many distinct products: fetching their index slots a few pins
  // early keeps the pass from waiting on memory at every pin.
  constexpr int32_t Ahead = 16;
  std::array<TPreparedPin, Ahead> Ring;
  const auto Prepare = [&](int32_t ANumber) {
    TPreparedPin& Prepared = Ring[ANumber % Ahead];
    Prepared.Prepare(*AGraph.GetPin(ANumber));
    for (int K = 0; K < AspectCount; ++K) Aspects[K].Prefetch(Prepared.Hashes[K]);
  };
  for (int32_t Number = 0; Number < std::min(Ahead, Count); ++Number) Prepare(Number);
  for (int32_t Number = 0; Number < Count; ++Number) {
    const TPreparedPin& Prepared = Ring[Number % Ahead];
    for (int K = 0; K < AspectCount; ++K) Aspects[K].Add(Prepared.Parts[K], Prepared.Hashes[K]);
    if (Number + Ahead < Count) Prepare(Number + Ahead);
  }
  std::array<std::vector<int>, AspectCount> Positions;
  for (int K = 0; K < AspectCount; ++K) Positions[K] = Lists[K].Assign(Aspects[K].Values);
  for (int32_t Number = 0; Number < Count; ++Number) {
    TPinDescr* Pin = AGraph.GetPin(Number);
    for (int K = 0; K < AspectCount; ++K) Pin->Keys[K] = Positions[K][Aspects[K].PinValue[Number]];
  }
}

}  // namespace wiremap
