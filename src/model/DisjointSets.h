#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>

#include "model/LargeAllocator.h"

namespace wiremap {

// Groups of items numbered 0, 1, 2 …, joined as they are found (a disjoint-set forest with
// path halving). A group's root is its smallest member, so roots come out in the order the
// items were numbered. The nets of the graph, of the simulated host and of the drawing check
// are made with it.
class TDisjointSets {
 public:
  explicit TDisjointSets(size_t ACount = 0) : FParent(ACount) {
    std::iota(FParent.begin(), FParent.end(), 0);
  }

  // A new item in a group of its own; gives its number.
  int32_t Add() {
    const auto Item = static_cast<int32_t>(FParent.size());
    FParent.push_back(Item);
    return Item;
  }

  int32_t Root(int32_t AItem) {
    while (Parent(AItem) != AItem) {
      Parent(AItem) = Parent(Parent(AItem));
      AItem = Parent(AItem);
    }
    return AItem;
  }

  void Join(int32_t A, int32_t B) {
    A = Root(A);
    B = Root(B);
    if (A != B) Parent(std::max(A, B)) = std::min(A, B);
  }

  size_t Count() const { return FParent.size(); }

 private:
  int32_t& Parent(int32_t AItem) { return FParent[static_cast<size_t>(AItem)]; }

  TLargeVector<int32_t> FParent;
};

}  // namespace wiremap
