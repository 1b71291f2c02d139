#include "model/KeyValues.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "model/Wiremaps.h"

namespace wiremap {
namespace {

// The distinct byte-exact values of one aspect in order of first appearance, and for
// every pin the index of its value among them. Equal-but-differently-written values
// stay apart here; the sorted list folds them.
struct TAspectValues {
  std::vector<std::string> Values;
  std::unordered_map<std::string, int32_t> Index;
  std::vector<int32_t> PinValue;

  void Add(std::string& AValue) {
    if (!PinValue.empty() && Values[LastIndex()] == AValue) {
      PinValue.push_back(LastIndex());
      return;
    }
    const auto [Found, Added] = Index.try_emplace(AValue, static_cast<int32_t>(Values.size()));
    if (Added) Values.push_back(std::move(AValue));
    PinValue.push_back(Found->second);
  }

  int32_t LastIndex() const { return PinValue.back(); }
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
  for (int K = 0; K < AspectCount; ++K) {
    TAspectValues& Aspect = Aspects[K];
    Lists[K].Assign(Aspect.Values);
    std::vector<int32_t> Position(Aspect.Values.size());
    for (size_t V = 0; V < Aspect.Values.size(); ++V) {
      int Found = 0;
      Lists[K].Find(Aspect.Values[V], Found);
      Position[V] = Found;
    }
    for (int32_t Number = 0; Number < Count; ++Number)
      AGraph.GetPin(Number)->Keys[K] = Position[Aspect.PinValue[Number]];
  }
}

}  // namespace wiremap
