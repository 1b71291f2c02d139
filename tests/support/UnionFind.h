#pragma once

#include <cstdint>
#include <map>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace wiremap {

// The plain disjoint-set forest the tests and fuzz targets check nets against: nothing
// shared with the graph walks under test.
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
  // A new element of its own; gives its number.
  size_t Add() {
    FParent.push_back(FParent.size());
    return FParent.size() - 1;
  }
  bool Same(size_t A, size_t B) { return Find(A) == Find(B); }

  size_t GroupCount() {
    size_t Count = 0;
    for (size_t I = 0; I < FParent.size(); ++I) Count += Find(I) == I;
    return Count;
  }

 private:
  std::vector<size_t> FParent;
};

// The same over names: groups of names joined in pairs.
class TNameGroups {
 public:
  void Join(const std::string& A, const std::string& B) {
    const size_t IdA = IdOf(A), IdB = IdOf(B);
    FGroups.Join(IdA, IdB);
  }

  // The groups of at least AMinimum names.
  std::set<std::set<std::string>> Groups(size_t AMinimum = 1) {
    std::map<size_t, std::set<std::string>> ByRoot;
    for (const auto& [Name, Id] : FIds) ByRoot[FGroups.Find(Id)].insert(Name);
    std::set<std::set<std::string>> Result;
    for (auto& [Root, Group] : ByRoot)
      if (Group.size() >= AMinimum) Result.insert(std::move(Group));
    return Result;
  }

 private:
  size_t IdOf(const std::string& AName) {
    const auto [It, Added] = FIds.emplace(AName, FIds.size());
    if (Added) FGroups.Add();
    return It->second;
  }

  std::map<std::string, size_t> FIds;
  TUnionFind FGroups{0};
};

}  // namespace wiremap
