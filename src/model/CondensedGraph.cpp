#include "model/CondensedGraph.h"

#include <algorithm>

#include "model/KeyValues.h"
#include "model/Wiremaps.h"

namespace wiremap {

void TCondensedGraph::SetNodeCount(int32_t ACount) {
  ACount = std::max(ACount, 0);
  NodeCount = ACount;
  Weights.assign(ACount, {});
  for (int32_t I = 0; I < ACount; ++I) Weights[I].assign(I + 1, 0);
  NodeNames.assign(ACount, std::string());
  Highlighted.assign(ACount, 0);
}

void TCondensedGraph::Build(TWiremaps& AGraph, const TKeyValues& AKeyValues, TAspectKind AAspect) {
  const TSortedTextList& List = AKeyValues.Lists[AAspect];
  SetNodeCount(List.Count());
  for (int32_t I = 0; I < NodeCount; ++I) NodeNames[I] = List[I];
  for (int32_t P = 0; P < AGraph.GetPinCount(); ++P) {
    const TPinDescr* Pin = AGraph.GetPin(P);
    for (const int32_t Q : Pin->Links) {
      if (Q <= P) continue;  // each connection once, from its lower-numbered end
      const int32_t A = Pin->Keys[AAspect];
      const int32_t B = AGraph.GetPin(Q)->Keys[AAspect];
      // Keys of another load must never reach outside the triangle.
      if (A < 0 || B < 0 || A >= NodeCount || B >= NodeCount) continue;
      if (B <= A)
        ++Weights[A][B];
      else
        ++Weights[B][A];
    }
  }
  ComputeMaxWeight();
}

void TCondensedGraph::ComputeMaxWeight() {
  MaxWeight = 0;
  for (const std::vector<int32_t>& Row : Weights)
    for (const int32_t Weight : Row) MaxWeight = std::max(MaxWeight, Weight);
}

void TCondensedGraph::UpdateHighlight(TWiremaps& AGraph, TAspectKind AAspect) {
  std::fill(Highlighted.begin(), Highlighted.end(), 0);
  for (int32_t P = 0; P < AGraph.GetPinCount(); ++P) {
    const TPinDescr* Pin = AGraph.GetPin(P);
    if (!(Pin->Flags & pfMarked)) continue;
    const int32_t Node = Pin->Keys[AAspect];
    if (Node >= 0 && Node < static_cast<int32_t>(Highlighted.size())) Highlighted[Node] = 1;
  }
}

}  // namespace wiremap
