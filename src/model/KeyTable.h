#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/HashIndex.h"
#include "model/LargeAllocator.h"

namespace wiremap {

// Collation keys (CollationKey) numbered 0, 1, 2 … in the order they were added, all in
// one buffer, with a hash index over them: an id by its key in about one cache miss, a
// key by its id without a string object per key. The pin tables of the net graph and of
// the netlist comparison both build on it.
class TKeyTable {
 public:
  TKeyTable() = default;
  TKeyTable(const TKeyTable&) = delete;
  TKeyTable& operator=(const TKeyTable&) = delete;

  // The id of AKey, whose hash is AHash (HashText(AKey)), or -1.
  int32_t Find(std::string_view AKey, uint64_t AHash) const { return FIndex.Find(AKey, AHash); }
  int32_t Find(std::string_view AKey) const { return Find(AKey, HashText(AKey)); }

  // Adds AKey, which must not be present yet, under the next id and gives that id.
  int32_t Add(std::string_view AKey, uint64_t AHash) {
    const auto Id = Count();
    FBytes.append(AKey);
    FEnds.push_back(FBytes.size());
    FIndex.Insert(Id, AHash);
    return Id;
  }

  std::string_view Key(int32_t AId) const {
    const auto Index = static_cast<size_t>(AId);
    const size_t Begin = Index == 0 ? 0 : FEnds[Index - 1];
    return std::string_view(FBytes).substr(Begin, FEnds[Index] - Begin);
  }

  int32_t Count() const { return static_cast<int32_t>(FEnds.size()); }

  // Makes room for ACount keys in all.
  void Reserve(size_t ACount) {
    FEnds.reserve(ACount);
    FIndex.Reserve(ACount);
  }

  // Asks the processor to fetch where a lookup of AHash starts.
  void Prefetch(uint64_t AHash) const { FIndex.Prefetch(AHash); }

  // The id a lookup of AHash most likely finds (see THashIndex::Candidate), or -1.
  int32_t Candidate(uint64_t AHash) const { return FIndex.Candidate(AHash); }

  // Asks the processor to fetch where key AId ends.
  void PrefetchKey(int32_t AId) const { __builtin_prefetch(&FEnds[static_cast<size_t>(AId)]); }

  void Clear() {
    FBytes.clear();
    FEnds.clear();
    FIndex.Clear();
  }

 private:
  struct TKeyOf {
    const TKeyTable* Table;
    std::string_view operator()(int32_t AId) const { return Table->Key(AId); }
  };

  TLargeString FBytes;
  TLargeVector<size_t> FEnds;  // key n ends at FEnds[n]
  THashIndex<TKeyOf> FIndex{TKeyOf{this}};
};

}  // namespace wiremap
