#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace wiremap {

inline uint64_t HashText(std::string_view AText) {
  return std::hash<std::string_view>{}(AText);
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
    if (FSlots.empty()) return -1;
    const size_t Mask = FSlots.size() - 1;
    const uint64_t Tag = AHash >> 32;
    for (size_t Slot = AHash & Mask;; Slot = (Slot + 1) & Mask) {
      const uint64_t Entry = FSlots[Slot];
      if (Entry == 0) return -1;
      const int32_t Id = static_cast<int32_t>(Entry & 0xFFFFFFFFu) - 1;
      if ((Entry >> 32) == Tag && FTextOf(Id) == AText) return Id;
    }
  }

  // Adds AId, whose text must not be present yet.
  void Insert(int32_t AId, uint64_t AHash) {
    if (FSlots.size() < 2 * (FCount + 1)) Grow();
    Place(AId, AHash);
    ++FCount;
  }

  void Clear() {
    FSlots.clear();
    FCount = 0;
  }

 private:
  void Place(int32_t AId, uint64_t AHash) {
    const size_t Mask = FSlots.size() - 1;
    size_t Slot = AHash & Mask;
    while (FSlots[Slot] != 0) Slot = (Slot + 1) & Mask;
    FSlots[Slot] = ((AHash >> 32) << 32) | static_cast<uint32_t>(AId + 1);
  }

  void Grow() {
    std::vector<uint64_t> Old = std::move(FSlots);
    FSlots.assign(std::max<size_t>(64, Old.size() * 2), 0);
    for (const uint64_t Entry : Old)
      if (Entry != 0) {
        const int32_t Id = static_cast<int32_t>(Entry & 0xFFFFFFFFu) - 1;
        Place(Id, HashText(FTextOf(Id)));
      }
  }

  TTextOf FTextOf;
  std::vector<uint64_t> FSlots;
  size_t FCount = 0;
};

}  // namespace wiremap
