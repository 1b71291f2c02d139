#include "model/TextCompare.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

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
// Ends the primary weights in an ICU sort key.
constexpr char kLevelSeparator = '\x01';

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

  // A text that compares equal to some plain-ASCII text gets that text's rank key, every
  // other text its ICU key: so keys are equal exactly when the texts compare equal.
  void Key(std::string_view AText, std::string& AKey) const {
    if (FFast && IsAscii(AText)) return RankKey(AText, AKey);
    const std::string Icu = RawIcuKey(ToUtf16(AText));
    if (FFast) {
      if (const auto Ascii = AsciiWithKey(Icu)) return RankKey(*Ascii, AKey);
    }
    AKey.assign(1, kIcuKey).append(Icu);
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
    return BuildPrimaryCode();
  }

  // The primary weights of the ASCII characters, for reading an ICU key back as ASCII
  // text. That reading is unambiguous only when no weight is the beginning of another
  // and characters of equal primary weight have equal keys; otherwise no fast path.
  bool BuildPrimaryCode() {
    const std::string EmptyKey = RawIcuKey(std::u16string());
    for (int C = 0; C < 128; ++C) {
      const std::string Key = RawIcuKey(std::u16string(1, static_cast<char16_t>(C)));
      const std::string Primary = Key.substr(0, Key.find(kLevelSeparator));
      if (Primary.empty()) {
        if (Key != EmptyKey) return false;
        continue;
      }
      const auto [Entry, Added] = FAsciiByPrimary.emplace(Primary, static_cast<char>(C));
      if (!Added && RawIcuKey(std::u16string(1, static_cast<char16_t>(Entry->second))) != Key)
        return false;
      FLongestPrimary = std::max(FLongestPrimary, Primary.size());
    }
    for (const auto& [A, CA] : FAsciiByPrimary)
      for (const auto& [B, CB] : FAsciiByPrimary)
        if (A != B && B.compare(0, A.size(), A) == 0) return false;
    return true;
  }

  // The plain-ASCII text whose ICU key is AIcuKey, if there is one: the primary weights
  // are read back as characters, and the text's own key must then be AIcuKey.
  std::optional<std::string> AsciiWithKey(const std::string& AIcuKey) const {
    const size_t End = AIcuKey.find(kLevelSeparator);
    if (End == std::string::npos) return std::nullopt;
    std::string Text;
    for (size_t I = 0; I < End;) {
      size_t Length = 1;
      for (; Length <= FLongestPrimary && I + Length <= End; ++Length) {
        const auto Found = FAsciiByPrimary.find(AIcuKey.substr(I, Length));
        if (Found == FAsciiByPrimary.end()) continue;
        Text.push_back(Found->second);
        break;
      }
      if (Length > FLongestPrimary || I + Length > End) return std::nullopt;
      I += Length;
    }
    std::u16string Wide(Text.begin(), Text.end());
    if (RawIcuKey(Wide) != AIcuKey) return std::nullopt;
    return Text;
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

  std::string FLocale;
  std::unique_ptr<UCollator, TCollatorCloser> FCollator;
  bool FFast = false;
  std::array<uint8_t, 128> FRank{};
  std::unordered_map<std::string, char> FAsciiByPrimary;
  size_t FLongestPrimary = 0;
};

std::string LocaleFromEnvironment() {
  for (const char* Name : {"LC_ALL", "LC_COLLATE", "LANG"}) {
    const char* Value = std::getenv(Name);
    if (Value != nullptr && *Value != '\0') return Value;
  }
  return "";
}

// The script subtag of a locale modifier that names a script ("sr_RS@latin").
std::string ScriptOfModifier(const std::string& AModifier) {
  static const std::unordered_map<std::string, std::string> Scripts{
      {"latin", "Latn"},  {"cyrillic", "Cyrl"}, {"devanagari", "Deva"},
      {"arabic", "Arab"}, {"iqtelif", "Latn"},  {"shaw", "Shaw"}};
  const auto Found = Scripts.find(AModifier);
  return Found == Scripts.end() ? std::string() : Found->second;
}

// "de_DE.UTF-8@euro" → "de_DE"; "sr_RS.UTF-8@latin" → "sr_Latn_RS" (a modifier that names
// a script becomes ICU's script subtag); "C" and "POSIX" → "" (root: ICU's own choice
// for them would be case-sensitive).
std::string IcuLocaleName(const std::string& AName) {
  const size_t At = AName.find('@');
  const std::string Modifier = At == std::string::npos ? "" : AName.substr(At + 1);
  std::string Name = AName.substr(0, AName.find_first_of(".@"));
  if (Name == "C" || Name == "POSIX") return "";
  const std::string Script = ScriptOfModifier(Modifier);
  if (!Script.empty()) {
    const size_t Underscore = Name.find('_');
    Name.insert(Underscore == std::string::npos ? Name.size() : Underscore, "_" + Script);
  }
  return Name;
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
