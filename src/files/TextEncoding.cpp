#include "files/TextEncoding.h"

#include <cstdint>
#include <cstring>

namespace wiremap {

namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr uint16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(uint32_t ACodePoint, std::string& AText) {
  if (ACodePoint < 0x80) {
    AText += static_cast<char>(ACodePoint);
  } else if (ACodePoint < 0x800) {
    AText += static_cast<char>(0xC0 | (ACodePoint >> 6));
    AText += static_cast<char>(0x80 | (ACodePoint & 0x3F));
  } else {
    AText += static_cast<char>(0xE0 | (ACodePoint >> 12));
    AText += static_cast<char>(0x80 | ((ACodePoint >> 6) & 0x3F));
    AText += static_cast<char>(0x80 | (ACodePoint & 0x3F));
  }
}

bool IsContinuation(unsigned char AByte) {
  return (AByte & 0xC0) == 0x80;
}

}  // namespace

bool IsValidUtf8(std::string_view AText) {
  const auto* Bytes = reinterpret_cast<const unsigned char*>(AText.data());
  const size_t Size = AText.size();
  size_t I = 0;
  while (I < Size) {
    // Plain ASCII, eight bytes at a time: most files are almost all of it.
    if (I + 8 <= Size) {
      uint64_t Chunk;
      std::memcpy(&Chunk, Bytes + I, 8);
      if ((Chunk & 0x8080808080808080ULL) == 0) {
        I += 8;
        continue;
      }
    }
    const unsigned char Lead = Bytes[I];
    if (Lead < 0x80) {
      ++I;
      continue;
    }
    size_t Length;
    unsigned char Low = 0x80, High = 0xBF;  // range of the second byte
    if (Lead >= 0xC2 && Lead <= 0xDF) {
      Length = 2;
    } else if (Lead >= 0xE0 && Lead <= 0xEF) {
      Length = 3;
      if (Lead == 0xE0) Low = 0xA0;   // overlong
      if (Lead == 0xED) High = 0x9F;  // surrogates
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
      Length = 4;
      if (Lead == 0xF0) Low = 0x90;   // overlong
      if (Lead == 0xF4) High = 0x8F;  // past U+10FFFF
    } else {
      return false;
    }
    if (Size - I < Length) return false;
    if (Bytes[I + 1] < Low || Bytes[I + 1] > High) return false;
    for (size_t K = 2; K < Length; ++K)
      if (!IsContinuation(Bytes[I + K])) return false;
    I += Length;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view AText) {
  std::string Result;
  Result.reserve(AText.size() + AText.size() / 8);
  for (const char C : AText) {
    const auto Byte = static_cast<unsigned char>(C);
    if (Byte < 0x80)
      Result += C;
    else if (Byte < 0xA0)
      AppendUtf8(HighControls[Byte - 0x80], Result);
    else
      AppendUtf8(Byte, Result);
  }
  return Result;
}

}  // namespace wiremap
