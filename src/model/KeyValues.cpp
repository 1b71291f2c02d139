#include "model/KeyValues.h"

#include <string>
#include <vector>

#include "model/HashIndex.h"
#include "model/Wiremaps.h"

namespace wiremap {
namespace {

// The distinct byte-exact values of one aspect in order of first appearance, and for
// every pin the index of its value among them. Equal-but-differently-written values
// stay apart here; the sorted list folds them.
class TAspectValues {
 public:
  TAspectValues() = default;
  TAspectValues(const TAspectValues&) = delete;
  TAspectValues& operator=(const TAspectValues&) = delete;

  void Add(std::string& AValue) {
    if (!PinValue.empty() && Values[PinValue.back()] == AValue) {
      PinValue.push_back(PinValue.back());
      return;
    }
    const uint64_t Hash = HashText(AValue);
    int32_t Id = FIndex.Find(AValue, Hash);
    if (Id < 0) {
      Id = static_cast<int32_t>(Values.size());
      Values.push_back(std::move(AValue));
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
  std::array<std::string, AspectCount> Parts;
  for (TAspectValues& Aspect : Aspects) Aspect.PinValue.reserve(Count);
  for (int32_t Number = 0; Number < Count; ++Number) {
    AGraph.GetPin(Number)->SplitName(Parts);
    for (int K = 0; K < AspectCount; ++K) Aspects[K].Add(Parts[K]);
  }
  std::array<std::vector<int32_t>, AspectCount> Position;
  for (int K = 0; K < AspectCount; ++K) {
    const TAspectValues& Aspect = Aspects[K];
    Lists[K].Assign(Aspect.Values);
    Position[K].resize(Aspect.Values.size());
    for (size_t V = 0; V < Aspect.Values.size(); ++V) {
      int Found = 0;
      Lists[K].Find(Aspect.Values[V], Found);
      Position[K][V] = Found;
    }
  }
  for (int32_t Number = 0; Number < Count; ++Number) {
    TPinDescr* Pin = AGraph.GetPin(Number);
    for (int K = 0; K < AspectCount; ++K) Pin->Keys[K] = Position[K][Aspects[K].PinValue[Number]];
  }
}

}  // namespace wiremap
