#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/LargeAllocator.h"
#include "model/TextCompare.h"

namespace wiremap {

namespace keysort {

// Key bytes are taken this many eight-byte words at a time: pin name keys mostly fit in
// one chunk, so a single pass over the keys in id order (the order they lie in memory)
// sorts nearly everything.
constexpr size_t ChunkWords = 3;
constexpr size_t ChunkBytes = 8 * ChunkWords;

using TChunk = std::array<uint64_t, ChunkWords>;

struct TChunkItem {
  TChunk Chunk;
  int32_t Id;
};

// Eight key bytes from AOffset on as a big-endian number, zero-padded past the end, so
// that numbers order like the bytes and a shorter key comes first.
inline uint64_t LoadChunk(std::string_view AKey, size_t AOffset) {
  uint64_t Chunk = 0;
  for (size_t I = 0; I < 8; ++I) {
    Chunk <<= 8;
    if (AOffset + I < AKey.size()) Chunk |= static_cast<unsigned char>(AKey[AOffset + I]);
  }
  return Chunk;
}

inline TChunk LoadChunkWords(std::string_view AKey, size_t AOffset) {
  TChunk Chunk;
  for (size_t W = 0; W < ChunkWords; ++W) Chunk[W] = LoadChunk(AKey, AOffset + 8 * W);
  return Chunk;
}

}  // namespace keysort

// Sorts ids by the collation keys (CollationKey) of their texts, in the order of
// CompareText; ids whose texts compare equal keep ascending id order. Keys of one kind
// order bytewise, so they are sorted a chunk of bytes at a time (runs of equal chunks again
// by the next bytes): the work stays on small records instead of chasing every key
// through memory for each comparison. Mixed kinds fall back to comparing texts.
template <class TIdIterator, class TKeyOf, class TTextOf>
void SortIdsByKey(TIdIterator AFirst, TIdIterator ALast, TKeyOf AKeyOf, TTextOf ATextOf) {
  using keysort::TChunkItem;
  if (ALast - AFirst < 2) return;
  const auto KindOf = [&](int32_t AId) {
    const std::string_view Key = AKeyOf(AId);
    return Key.empty() ? '\0' : Key[0];
  };
  const char Kind = KindOf(*AFirst);
  if (!std::all_of(AFirst, ALast, [&](int32_t AId) { return KindOf(AId) == Kind; })) {
    std::sort(AFirst, ALast, [&](int32_t A, int32_t B) {
      const int D = CompareKeyed(AKeyOf(A), ATextOf(A), AKeyOf(B), ATextOf(B));
      return D != 0 ? D < 0 : A < B;
    });
    return;
  }
  TLargeVector<TChunkItem> Items;
  Items.reserve(ALast - AFirst);
  for (auto It = AFirst; It != ALast; ++It) Items.push_back({{}, *It});
  struct TRange {
    size_t Begin, End, Offset;
  };
  std::vector<TRange> Pending{{0, Items.size(), 0}};
  while (!Pending.empty()) {
    const TRange Range = Pending.back();
    Pending.pop_back();
    for (size_t I = Range.Begin; I < Range.End; ++I)
      Items[I].Chunk = keysort::LoadChunkWords(AKeyOf(Items[I].Id), Range.Offset);
    std::sort(Items.begin() + Range.Begin, Items.begin() + Range.End,
              [](const TChunkItem& A, const TChunkItem& B) { return A.Chunk < B.Chunk; });
    for (size_t I = Range.Begin; I < Range.End;) {
      size_t J = I + 1;
      while (J < Range.End && Items[J].Chunk == Items[I].Chunk) ++J;
      if (J - I > 1) {
        if ((Items[I].Chunk.back() & 0xFF) != 0)
          Pending.push_back({I, J, Range.Offset + keysort::ChunkBytes});
        else  // the keys ended: equal keys, put in id order
          std::sort(Items.begin() + I, Items.begin() + J,
                    [](const TChunkItem& A, const TChunkItem& B) { return A.Id < B.Id; });
      }
      I = J;
    }
  }
  for (size_t I = 0; I < Items.size(); ++I) AFirst[I] = Items[I].Id;
}

}  // namespace wiremap
