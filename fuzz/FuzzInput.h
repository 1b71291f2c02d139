#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wiremap {

// Reads a fuzzer's bytes as a stream of small decisions. Past the end every read gives
// zero, so any input, also an empty one, decodes to something.
class TFuzzInput {
 public:
  TFuzzInput(const uint8_t* AData, size_t ASize) : FData(AData), FSize(ASize) {}

  bool Empty() const { return FPosition >= FSize; }
  size_t Remaining() const { return Empty() ? 0 : FSize - FPosition; }

  uint8_t Byte() { return Empty() ? 0 : FData[FPosition++]; }
  bool Bool() { return (Byte() & 1) != 0; }

  // A number from 0 to ALimit - 1 (ALimit from 1 to 256).
  int Below(int ALimit) { return Byte() % ALimit; }

  // Up to ACount bytes as they stand.
  std::string Bytes(size_t ACount) {
    const size_t Count = ACount < Remaining() ? ACount : Remaining();
    std::string Result(reinterpret_cast<const char*>(FData + FPosition), Count);
    FPosition += Count;
    return Result;
  }

  std::string Rest() { return Bytes(Remaining()); }

 private:
  const uint8_t* FData;
  size_t FSize;
  size_t FPosition = 0;
};

}  // namespace wiremap
