#include "model/KeyValues.h"

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

  void Add(std::string_view AValue) {
    if (!PinValue.empty() && Values[PinValue.back()] == AValue) {
      PinValue.push_back(PinValue.back());
      return;
    }
    const uint64_t Hash = HashText(AValue);
    int32_t Id = FIndex.Find(AValue, Hash);
    if (Id < 0) {
      Id = static_cast<int32_t>(Values.size());
      Values.emplace_back(AValue);
      FIndex.Insert(Id, Hash);
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

}  // namespace

TKeyValues::TKeyValues(TWiremaps& AGraph) {
  const int32_t Count = AGraph.GetPinCount();
  std::array<TAspectValues, AspectCount> Aspects;
  std::array<std::string_view, AspectCount> Parts;
  char Page[16];
  for (TAspectValues& Aspect : Aspects) Aspect.PinValue.reserve(Count);
  for (int32_t Number = 0; Number < Count; ++Number) {
    const TPinDescr* Pin = AGraph.GetPin(Number);
    SplitPinName(std::string_view(Pin->Name), Parts);
    const auto Written = std::to_chars(Page, Page + sizeof Page, Pin->Page);
    Parts[akPage] = std::string_view(Page, Written.ptr - Page);
    for (int K = 0; K < AspectCount; ++K) Aspects[K].Add(Parts[K]);
  }
  std::array<std::vector<int>, AspectCount> Positions;
  for (int K = 0; K < AspectCount; ++K) Positions[K] = Lists[K].Assign(Aspects[K].Values);
  for (int32_t Number = 0; Number < Count; ++Number) {
    TPinDescr* Pin = AGraph.GetPin(Number);
    for (int K = 0; K < AspectCount; ++K) Pin->Keys[K] = Positions[K][Aspects[K].PinValue[Number]];
  }
}

}  // namespace wiremap
