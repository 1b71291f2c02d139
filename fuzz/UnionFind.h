#pragma once

#include <cstdint>
#include <numeric>
#include <vector>

namespace wiremap {

// The plain disjoint-set forest the fuzz targets check the nets against: nothing shared
// with the graph walks under test.
class TUnionFind {
 public:
  explicit TUnionFind(size_t ACount) : FParent(ACount) {
    std::iota(FParent.begin(), FParent.end(), 0);
  }

  size_t Find(size_t A) {
    while (FParent[A] != A) A = FParent[A] = FParent[FParent[A]];
    return A;
  }

  void Join(size_t A, size_t B) { FParent[Find(A)] = Find(B); }
  bool Same(size_t A, size_t B) { return Find(A) == Find(B); }

  size_t GroupCount() {
    size_t Count = 0;
    for (size_t I = 0; I < FParent.size(); ++I) Count += Find(I) == I;
    return Count;
  }

 private:
  std::vector<size_t> FParent;
};

}  // namespace wiremap
