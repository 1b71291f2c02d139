// Two byte strings, valid UTF-8 or not, under one of a few collation locales: the text
// comparison must be antisymmetric, agree with an independent collator of the same
// locale, agree with key equality and keyed comparison, and the sorted list built from
// the texts must not depend on the way it was filled.

#include <unicode/ucol.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "model/SortedTextList.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

// The first byte picks the locale: mostly root, which has the plain-ASCII fast path;
// "c" Czech (sorts "ch" after "h"), "d" Danish (contracts "aa"). A switch rebuilds the
// comparison's tables, which costs more than the checks.
std::string LocaleOf(uint8_t ASelector) {
  switch (ASelector) {
    case 'c':
      return "cs_CZ";
    case 'd':
      return "da_DK";
    default:
      return "C";
  }
}

int Sign(int AValue) {
  return (AValue > 0) - (AValue < 0);
}

struct TCollatorCloser {
  void operator()(UCollator* ACollator) const { ucol_close(ACollator); }
};

// The reference: ICU's own comparison of UTF-8 at the same strength, opened apart from
// the comparison under test.
UCollator* ReferenceCollator(const std::string& ALocale) {
  static std::map<std::string, std::unique_ptr<UCollator, TCollatorCloser>> Collators;
  auto& Slot = Collators[ALocale];
  if (!Slot) {
    UErrorCode Status = U_ZERO_ERROR;
    Slot.reset(ucol_open(ALocale == "C" ? "" : ALocale.c_str(), &Status));
    ucol_setStrength(Slot.get(), UCOL_SECONDARY);
  }
  return Slot.get();
}

void UseLocale(const std::string& ALocale) {
  static std::string Current;
  if (Current == ALocale) return;
  SetCollationLocale(ALocale);
  Current = ALocale;
}

int ReferenceCompare(const std::string& ALocale, const std::string& A, const std::string& B) {
  UErrorCode Status = U_ZERO_ERROR;
  return Sign(ucol_strcollUTF8(ReferenceCollator(ALocale), A.data(), static_cast<int32_t>(A.size()),
                               B.data(), static_cast<int32_t>(B.size()), &Status));
}

std::string AsciiUpperOf(std::string AText) {
  std::transform(AText.begin(), AText.end(), AText.begin(), AsciiUpper);
  return AText;
}

void CheckPair(const std::string& ALocale, const std::string& A, const std::string& B) {
  const int D = Sign(CompareText(A, B));
  FUZZ_CHECK(D == -Sign(CompareText(B, A)));
  FUZZ_CHECK(D == ReferenceCompare(ALocale, A, B));
  const std::string KeyA = CollationKey(A), KeyB = CollationKey(B);
  FUZZ_CHECK((D == 0) == (KeyA == KeyB));
  FUZZ_CHECK(D == Sign(CompareKeyed(KeyA, A, KeyB, B)));
  std::string Reused = "stale contents";
  CollationKeyTo(A, Reused);
  FUZZ_CHECK(Reused == KeyA);
}

std::vector<std::string> ListTexts(const TSortedTextList& AList) {
  std::vector<std::string> Texts;
  for (int I = 0; I < AList.Count(); ++I) Texts.push_back(AList[I]);
  return Texts;
}

// Adding one by one and assigning at once give the same list: ascending, first
// spelling kept, every text found at the position it was given.
void CheckSortedList(const std::vector<std::string>& ATexts) {
  TSortedTextList Added;
  std::vector<int> AddPositions;
  for (const std::string& Text : ATexts) Added.Add(Text);
  for (const std::string& Text : ATexts) {
    int Index = -1;
    FUZZ_CHECK(Added.Find(Text, Index));
    FUZZ_CHECK(SameText(Added[Index], Text));
    AddPositions.push_back(Index);
  }
  for (int I = 1; I < Added.Count(); ++I) FUZZ_CHECK(CompareText(Added[I - 1], Added[I]) < 0);
  for (int I = 0; I < Added.Count(); ++I) {
    const auto First = std::find_if(ATexts.begin(), ATexts.end(),
                                    [&](const std::string& T) { return SameText(T, Added[I]); });
    FUZZ_CHECK(First != ATexts.end() && *First == Added[I]);
  }
  TSortedTextList Assigned;
  FUZZ_CHECK(Assigned.Assign(ATexts) == AddPositions);
  FUZZ_CHECK(ListTexts(Assigned) == ListTexts(Added));
}

}  // namespace
}  // namespace wiremap

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  using namespace wiremap;
  TFuzzInput Input(AData, ASize);
  const std::string Locale = LocaleOf(Input.Byte());
  UseLocale(Locale);
  const std::string A = Input.Bytes(Input.Byte());
  const std::string B = Input.Rest();

  CheckPair(Locale, A, B);
  CheckPair(Locale, A, A);
  const std::string UpperA = AsciiUpperOf(A);
  CheckPair(Locale, A, UpperA);
  FUZZ_CHECK(SameTextAsciiCase(A, UpperA));
  FUZZ_CHECK(SameTextAsciiCase(A, B) == (AsciiUpperOf(B) == UpperA));
  // Letter case of a to z is only a tertiary difference in the root collation.
  if (Locale == "C") FUZZ_CHECK(CompareText(A, UpperA) == 0);
  CheckSortedList({A, B, UpperA, B + A, A + B, AsciiUpperOf(B)});
  return 0;
}
