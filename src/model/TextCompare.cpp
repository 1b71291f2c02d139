#include "model/TextCompare.h"

#include <unicode/ucol.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <unordered_map>
#include <vector>

namespace wiremap {
namespace {

// Key tags: plain-ASCII rank keys and ICU sort keys live in separate key spaces.
constexpr char kRankKey = '\x01';
constexpr char kIcuKey = '\x02';

struct TCollatorCloser {
  void operator()(UCollator* ACollator) const { ucol_close(ACollator); }
};

bool IsAscii(std::string_view AText) {
  for (const char C : AText)
    if (static_cast<unsigned char>(C) >= 0x80) return false;
  return true;
}

std::u16string ToUtf16(std::string_view AText) {
  std::u16string Result(AText.size() + 1, u'\0');
  int32_t Length = 0;
  UErrorCode Status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(reinterpret_cast<UChar*>(Result.data()), static_cast<int32_t>(Result.size()),
                       &Length, AText.data(), static_cast<int32_t>(AText.size()), 0xFFFD, nullptr,
                       &Status);
  Result.resize(U_SUCCESS(Status) ? Length : 0);
  return Result;
}

// The collator of one locale at strength SECONDARY, with a table-driven path for
// plain-ASCII texts where every ASCII character is one collation element and no
// tailoring touches them (then comparing ranks gives exactly the collator's answer).
class TCollation {
 public:
  explicit TCollation(const std::string& ALocale) : FLocale(ALocale) {
    UErrorCode Status = U_ZERO_ERROR;
    FCollator.reset(ucol_open(ALocale.c_str(), &Status));
    if (U_FAILURE(Status)) {
      Status = U_ZERO_ERROR;
      FCollator.reset(ucol_open("", &Status));
    }
    ucol_setStrength(FCollator.get(), UCOL_SECONDARY);
    FFast = BuildRanks() && VerifyRanks();
  }

  const std::string& Locale() const { return FLocale; }
  bool Fast() const { return FFast; }

  int Compare(std::string_view A, std::string_view B) const {
    if (FFast && IsAscii(A) && IsAscii(B)) return CompareRanks(A, B);
    UErrorCode Status = U_ZERO_ERROR;
    return ucol_strcollUTF8(FCollator.get(), A.data(), static_cast<int32_t>(A.size()), B.data(),
                            static_cast<int32_t>(B.size()), &Status);
  }

  void Key(std::string_view AText, std::string& AKey) {
    if (FFast) {
      if (IsAscii(AText)) return RankKey(AText, AKey);
      if (const auto Ascii = AsciiEquivalent(AText)) return RankKey(*Ascii, AKey);
    }
    AKey = kIcuKey + RawIcuKey(ToUtf16(AText));
  }

 private:
  int CompareRanks(std::string_view A, std::string_view B) const {
    size_t I = 0, J = 0;
    for (;;) {
      while (I < A.size() && FRank[static_cast<unsigned char>(A[I])] == 0) ++I;
      while (J < B.size() && FRank[static_cast<unsigned char>(B[J])] == 0) ++J;
      if (I == A.size() || J == B.size()) return (I == A.size() ? 0 : 1) - (J == B.size() ? 0 : 1);
      const int D =
          FRank[static_cast<unsigned char>(A[I])] - FRank[static_cast<unsigned char>(B[J])];
      if (D != 0) return D;
      ++I;
      ++J;
    }
  }

  void RankKey(std::string_view AText, std::string& AKey) const {
    AKey.resize(AText.size() + 1);
    char* Out = AKey.data();
    *Out++ = kRankKey;
    for (const char C : AText) {
      *Out = static_cast<char>(FRank[static_cast<unsigned char>(C)]);
      Out += *Out != 0;  // ignorable characters leave no trace
    }
    AKey.resize(Out - AKey.data());
  }

  std::string RawIcuKey(const std::u16string& AText) const {
    std::string Result(AText.size() * 4 + 16, '\0');
    for (;;) {
      const int32_t Length = ucol_getSortKey(
          FCollator.get(), reinterpret_cast<const UChar*>(AText.data()),
          static_cast<int32_t>(AText.size()), reinterpret_cast<uint8_t*>(Result.data()),
          static_cast<int32_t>(Result.size()));
      if (Length <= static_cast<int32_t>(Result.size())) {
        Result.resize(Length > 0 ? Length - 1 : 0);  // drop the terminating zero
        return Result;
      }
      Result.resize(Length);
    }
  }

  // Ranks ASCII characters by the collator; characters equal to the empty text get 0.
  bool BuildRanks() {
    int32_t RulesLength = 0;
    ucol_getRules(FCollator.get(), &RulesLength);
    if (RulesLength != 0) return false;  // a tailored locale may contract or reorder ASCII
    std::vector<char16_t> Chars(128);
    for (int C = 0; C < 128; ++C) Chars[C] = static_cast<char16_t>(C);
    std::sort(Chars.begin(), Chars.end(),
              [this](char16_t A, char16_t B) { return Coll(&A, 1, &B, 1) < 0; });
    const char16_t Empty = 0;
    uint8_t Rank = 0;
    for (size_t I = 0; I < Chars.size(); ++I) {
      if (I == 0 || Coll(&Chars[I - 1], 1, &Chars[I], 1) != 0) ++Rank;
      FRank[Chars[I]] = Coll(&Chars[I], 1, &Empty, 0) == 0 ? 0 : Rank;
    }
    for (int C = 0; C < 128; ++C) {
      const char16_t Ch = static_cast<char16_t>(C);
      FAsciiKeys.emplace(RawIcuKey(std::u16string(1, Ch)), static_cast<char>(C));
    }
    FEmptyKey = RawIcuKey(std::u16string());
    return true;
  }

  // Guards the rank table: random ASCII texts must compare as the collator says.
  bool VerifyRanks() const {
    std::mt19937 Random(12345);
    std::uniform_int_distribution<int> Char(0, 127), Length(0, 4);
    auto Make = [&] {
      std::string S(Length(Random), ' ');
      for (char& C : S) C = static_cast<char>(Char(Random));
      return S;
    };
    for (int I = 0; I < 4000; ++I) {
      const std::string A = Make(), B = Make();
      UErrorCode Status = U_ZERO_ERROR;
      const int Icu = ucol_strcollUTF8(FCollator.get(), A.data(), static_cast<int32_t>(A.size()),
                                       B.data(), static_cast<int32_t>(B.size()), &Status);
      const int Fast = CompareRanks(A, B);
      if ((Icu < 0) != (Fast < 0) || (Icu > 0) != (Fast > 0)) return false;
    }
    return true;
  }

  int Coll(const char16_t* A, int32_t ALength, const char16_t* B, int32_t BLength) const {
    return ucol_strcoll(FCollator.get(), reinterpret_cast<const UChar*>(A), ALength,
                        reinterpret_cast<const UChar*>(B), BLength);
  }

  // The plain-ASCII text that compares equal to AText, if it is built only of
  // characters that are ignorable or variants of ASCII characters.
  std::optional<std::string> AsciiEquivalent(std::string_view AText) {
    std::string Result;
    int32_t I = 0;
    const int32_t Length = static_cast<int32_t>(AText.size());
    while (I < Length) {
      UChar32 C;
      U8_NEXT(AText.data(), I, Length, C);
      if (C >= 0 && C < 0x80) {
        Result.push_back(static_cast<char>(C));
        continue;
      }
      const std::optional<std::string>& Part = Reduction(C);
      if (!Part) return std::nullopt;
      Result += *Part;
    }
    UErrorCode Status = U_ZERO_ERROR;
    if (ucol_strcollUTF8(FCollator.get(), Result.data(), static_cast<int32_t>(Result.size()),
                         AText.data(), Length, &Status) != 0)
      return std::nullopt;
    return Result;
  }

  const std::optional<std::string>& Reduction(UChar32 C) {
    const auto Found = FReductions.find(C);
    if (Found != FReductions.end()) return Found->second;
    return FReductions.emplace(C, ComputeReduction(C)).first->second;
  }

  std::optional<std::string> ComputeReduction(UChar32 C) const {
    if (C < 0) return std::nullopt;  // ill-formed UTF-8
    std::u16string Text;
    char16_t Units[2];
    int32_t Count = 0;
    U16_APPEND_UNSAFE(Units, Count, C);
    Text.assign(Units, Count);
    const std::string Key = RawIcuKey(Text);
    if (Key == FEmptyKey) return std::string();
    if (const auto Ascii = FAsciiKeys.find(Key); Ascii != FAsciiKeys.end())
      return std::string(1, Ascii->second);
    UErrorCode Status = U_ZERO_ERROR;
    const UNormalizer2* Fold = unorm2_getNFKCCasefoldInstance(&Status);
    if (U_FAILURE(Status)) return std::nullopt;
    UChar Folded[32];
    const int32_t Length = unorm2_normalize(Fold, reinterpret_cast<const UChar*>(Text.data()),
                                            Count, Folded, 32, &Status);
    if (U_FAILURE(Status)) return std::nullopt;
    std::string Result;
    for (int32_t I = 0; I < Length; ++I) {
      if (Folded[I] >= 0x80) return std::nullopt;
      Result.push_back(static_cast<char>(Folded[I]));
    }
    if (RawIcuKey(std::u16string(Folded, Folded + Length)) != Key) return std::nullopt;
    return Result;
  }

  std::string FLocale;
  std::unique_ptr<UCollator, TCollatorCloser> FCollator;
  bool FFast = false;
  std::array<uint8_t, 128> FRank{};
  std::unordered_map<std::string, char> FAsciiKeys;
  std::string FEmptyKey;
  std::unordered_map<UChar32, std::optional<std::string>> FReductions;
};

std::string LocaleFromEnvironment() {
  for (const char* Name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* Value = std::getenv(Name);
    if (Value != nullptr && *Value != '\0') return Value;
  }
  return "";
}

// "de_DE.UTF-8@euro" → "de_DE"; "C" and "POSIX" → "" (root: ICU's own choice for
// them would be case-sensitive).
std::string IcuLocaleName(std::string AName) {
  AName = AName.substr(0, AName.find_first_of(".@"));
  if (AName == "C" || AName == "POSIX") return "";
  return AName;
}

std::unique_ptr<TCollation>& CurrentSlot() {
  static std::unique_ptr<TCollation> Current;
  return Current;
}

TCollation& Current() {
  auto& Slot = CurrentSlot();
  if (!Slot) Slot = std::make_unique<TCollation>(IcuLocaleName(LocaleFromEnvironment()));
  return *Slot;
}

}  // namespace

bool SameTextAsciiCase(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char CA, char CB) {
           return AsciiUpper(CA) == AsciiUpper(CB);
         });
}

int CompareText(std::string_view A, std::string_view B) {
  return Current().Compare(A, B);
}

std::string CollationKey(std::string_view AText) {
  std::string Key;
  Current().Key(AText, Key);
  return Key;
}

void CollationKeyTo(std::string_view AText, std::string& AKey) {
  Current().Key(AText, AKey);
}

int CompareKeyed(std::string_view AKey, std::string_view AText, std::string_view BKey,
                 std::string_view BText) {
  if (!AKey.empty() && !BKey.empty() && AKey[0] == BKey[0]) {
    const size_t Length = std::min(AKey.size(), BKey.size());
    if (const int D = std::memcmp(AKey.data(), BKey.data(), Length)) return D;
    return (AKey.size() > Length) - (BKey.size() > Length);
  }
  return CompareText(AText, BText);
}

void SetCollationLocale(const std::string& ALocale) {
  const std::string Name = IcuLocaleName(ALocale.empty() ? LocaleFromEnvironment() : ALocale);
  CurrentSlot() = std::make_unique<TCollation>(Name);
}

std::string CollationLocale() {
  return Current().Locale();
}

bool AsciiFastPathActive() {
  return Current().Fast();
}

}  // namespace wiremap
