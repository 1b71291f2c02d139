#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "model/LargeAllocator.h"

namespace wiremap {

// A fast hash for short texts: eight bytes at a time, then a full avalanche so that
// both halves of the result (slot and tag) are well mixed.
inline uint64_t HashText(std::string_view AText) {
  constexpr uint64_t Multiplier = 0x9E3779B97F4A7C15ull;
  uint64_t Hash = AText.size() * Multiplier;
  size_t I = 0;
  for (; I + 8 <= AText.size(); I += 8) {
    uint64_t Word;
    std::memcpy(&Word, AText.data() + I, 8);
    Hash = (Hash ^ Word) * Multiplier;
    Hash ^= Hash >> 29;
  }
  uint64_t Tail = 0;
  for (size_t J = AText.size(); J > I; --J)
    Tail = (Tail << 8) | static_cast<unsigned char>(AText[J - 1]);
  Hash = (Hash ^ Tail) * Multiplier;
  Hash ^= Hash >> 33;
  Hash *= 0xFF51AFD7ED558CCDull;
  Hash ^= Hash >> 33;
  Hash *= 0xC4CEB9FE1A85EC53ull;
  return Hash ^ (Hash >> 33);
}

// Open-addressing hash index from texts to ids 0, 1, 2 …; the texts stay with the
// caller, who hands in a function that gives the text of an id. One flat array of
// slots (upper half of the hash, id + 1) keeps a lookup to about one cache miss.
template <class TTextOf>
class THashIndex {
 public:
  explicit THashIndex(TTextOf ATextOf) : FTextOf(std::move(ATextOf)) {}

  // The id whose text equals AText, or -1.
  int32_t Find(std::string_view AText, uint64_t AHash) const {
    return Probe(AHash, [&](int32_t AId) { return FTextOf(AId) == AText; });
  }

  // The id Find(…, AHash) most likely gives, without reading any text: the first along
  // the probe whose stored hash bits match, or -1. Lets a caller fetch early what Find
  // and its own next steps will read.
  int32_t Candidate(uint64_t AHash) const {
    return Probe(AHash, [](int32_t) { return true; });
  }

  // Asks the processor to fetch the slot where a lookup of AHash starts.
  void Prefetch(uint64_t AHash) const {
    if (!FSlots.empty()) __builtin_prefetch(&FSlots[AHash & (FSlots.size() - 1)]);
  }

  // Adds AId, whose text must not be present yet.
  void Insert(int32_t AId, uint64_t AHash) {
    if (FSlots.size() < 2 * (FCount + 1)) Grow();
    Place(AId, AHash);
    ++FCount;
  }

  // Makes room for ACount texts in all, so that adding up to that many rehashes nothing.
  void Reserve(size_t ACount) {
    size_t Size = std::max<size_t>(64, FSlots.size());
    while (Size < 2 * (ACount + 1)) Size *= 2;
    if (Size > FSlots.size()) Rehash(Size);
  }

  void Clear() {
    FSlots.clear();
    FCount = 0;
  }

 private:
  // The first id along AHash's probe whose stored hash bits match and that AAccepts, or -1.
  template <class TAccept>
  int32_t Probe(uint64_t AHash, TAccept AAccept) const {
    if (FSlots.empty()) return -1;
    const size_t Mask = FSlots.size() - 1;
    const uint64_t Tag = AHash >> 32;
    for (size_t Slot = AHash & Mask;; Slot = (Slot + 1) & Mask) {
      const uint64_t Entry = FSlots[Slot];
      if (Entry == 0) return -1;
      const int32_t Id = static_cast<int32_t>(Entry & 0xFFFFFFFFu) - 1;
      if ((Entry >> 32) == Tag && AAccept(Id)) return Id;
    }
  }

  void Place(int32_t AId, uint64_t AHash) {
    const size_t Mask = FSlots.size() - 1;
    size_t Slot = AHash & Mask;
    while (FSlots[Slot] != 0) Slot = (Slot + 1) & Mask;
    FSlots[Slot] = ((AHash >> 32) << 32) | static_cast<uint32_t>(AId + 1);
  }

  void Grow() { Rehash(std::max<size_t>(64, FSlots.size() * 2)); }

  void Rehash(size_t ASize) {
    TLargeVector<uint64_t> Old = std::move(FSlots);
    FSlots.assign(ASize, 0);
    for (const uint64_t Entry : Old)
      if (Entry != 0) {
        const int32_t Id = static_cast<int32_t>(Entry & 0xFFFFFFFFu) - 1;
        Place(Id, HashText(FTextOf(Id)));
      }
  }

  TTextOf FTextOf;
  TLargeVector<uint64_t> FSlots;
  size_t FCount = 0;
};

}  // namespace wiremap
