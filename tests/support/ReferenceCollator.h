#pragma once

#include <unicode/ucol.h>
#include <unicode/uiter.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace wiremap {

// An ICU collator of its own at the comparison's strength (letter case ignored, accents
// not): the reference the tests and fuzz targets check the program's keys and order
// against, sharing nothing with the code under test.
class TReferenceCollator {
 public:
  // ALocale as ICU names it; "" is the root collation.
  explicit TReferenceCollator(const std::string& ALocale) {
    UErrorCode Status = U_ZERO_ERROR;
    FCollator = ucol_open(ALocale.c_str(), &Status);
    if (U_SUCCESS(Status)) ucol_setStrength(FCollator, UCOL_SECONDARY);
  }
  ~TReferenceCollator() { ucol_close(FCollator); }
  TReferenceCollator(const TReferenceCollator&) = delete;
  TReferenceCollator& operator=(const TReferenceCollator&) = delete;

  bool Valid() const { return FCollator != nullptr; }

  // ICU's sort key of a UTF-8 text (invalid bytes read as U+FFFD): equal keys are the
  // reference for "the same text", their byte order for the order of texts.
  std::string Key(std::string_view AText) const {
    UErrorCode Status = U_ZERO_ERROR;
    UCharIterator Iterator;
    uiter_setUTF8(&Iterator, AText.data(), static_cast<int32_t>(AText.size()));
    uint32_t State[2] = {0, 0};
    std::string Key;
    uint8_t Buffer[256];
    for (;;) {
      const int32_t Length =
          ucol_nextSortKeyPart(FCollator, &Iterator, State, Buffer, sizeof Buffer, &Status);
      if (U_FAILURE(Status)) return "<failed>";
      Key.append(reinterpret_cast<const char*>(Buffer), static_cast<size_t>(Length));
      if (Length < static_cast<int32_t>(sizeof Buffer)) return Key;
    }
  }

  // -1, 0 or 1 as ICU orders A and B.
  int Compare(std::string_view A, std::string_view B) const {
    UErrorCode Status = U_ZERO_ERROR;
    const UCollationResult Result =
        ucol_strcollUTF8(FCollator, A.data(), static_cast<int32_t>(A.size()), B.data(),
                         static_cast<int32_t>(B.size()), &Status);
    return Result == UCOL_LESS ? -1 : Result == UCOL_GREATER ? 1 : 0;
  }

 private:
  UCollator* FCollator = nullptr;
};

}  // namespace wiremap
