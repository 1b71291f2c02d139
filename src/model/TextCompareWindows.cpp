// The text comparison of the Windows build: the system's own locale-aware comparison
// (CompareStringEx) and its sort keys (LCMapStringEx), both with letter case ignored, in
// place of ICU. Texts stay UTF-8; they become UTF-16 only for the call.

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "model/TextCompare.h"

namespace wiremap {
namespace {

constexpr DWORD kCompareFlags = NORM_IGNORECASE;

std::wstring ToWide(std::string_view AText) {
  if (AText.empty()) return std::wstring();
  const int Size = static_cast<int>(AText.size());
  std::wstring Result(AText.size(), L'\0');  // never more UTF-16 units than UTF-8 bytes
  const int Length = MultiByteToWideChar(CP_UTF8, 0, AText.data(), Size, Result.data(), Size);
  Result.resize(static_cast<size_t>(std::max(Length, 0)));
  return Result;
}

// "de_DE.UTF-8@euro" → "de-DE": the POSIX names tests use, as Windows names locales.
// "C" and "POSIX" name the invariant locale.
std::wstring WindowsLocaleName(const std::string& AName) {
  std::string Name = AName.substr(0, AName.find_first_of(".@"));
  if (Name == "C" || Name == "POSIX") return std::wstring();
  std::replace(Name.begin(), Name.end(), '_', '-');
  return ToWide(Name);
}

// One locale's comparison. An empty name with FUserDefault set stands for the user's
// default locale, which the system may change under us, so it is passed on as such.
class TWindowsCollation {
 public:
  explicit TWindowsCollation(const std::string& ALocale)
      : FUserDefault(ALocale.empty()), FName(WindowsLocaleName(ALocale)) {
    if (!FUserDefault && !FName.empty() && IsValidLocaleName(FName.c_str()) == 0)
      FName.clear();  // an unknown locale: the invariant one, as ICU falls back to root
  }

  int Compare(std::string_view A, std::string_view B) const {
    const std::wstring WideA = ToWide(A), WideB = ToWide(B);
    const int Result = CompareStringEx(Locale(), kCompareFlags, WideA.data(), Length(WideA),
                                       WideB.data(), Length(WideB), nullptr, nullptr, 0);
    if (Result == 0) return A.compare(B);  // cannot happen for valid flags; stay total
    return Result - CSTR_EQUAL;
  }

  void Key(std::string_view AText, std::string& AKey) const {
    const std::wstring Wide = ToWide(AText);
    const int Size = LCMapStringEx(Locale(), LCMAP_SORTKEY | kCompareFlags, Wide.data(),
                                   Length(Wide), nullptr, 0, nullptr, nullptr, 0);
    AKey.assign(static_cast<size_t>(std::max(Size, 0)), '\0');
    if (Size > 0)
      LCMapStringEx(Locale(), LCMAP_SORTKEY | kCompareFlags, Wide.data(), Length(Wide),
                    reinterpret_cast<LPWSTR>(AKey.data()), Size, nullptr, nullptr, 0);
    while (!AKey.empty() && AKey.back() == '\0') AKey.pop_back();  // the terminating zero
  }

  std::string Name() const {
    if (!FUserDefault) return Narrow(FName);
    wchar_t Buffer[LOCALE_NAME_MAX_LENGTH] = {};
    return GetUserDefaultLocaleName(Buffer, LOCALE_NAME_MAX_LENGTH) > 0 ? Narrow(Buffer) : "";
  }

 private:
  LPCWSTR Locale() const { return FUserDefault ? LOCALE_NAME_USER_DEFAULT : FName.c_str(); }

  static int Length(const std::wstring& AText) { return static_cast<int>(AText.size()); }

  static std::string Narrow(const std::wstring& AText) {
    return std::string(AText.begin(), AText.end());  // locale names are plain ASCII
  }

  bool FUserDefault;
  std::wstring FName;
};

std::unique_ptr<TWindowsCollation>& CurrentSlot() {
  static std::unique_ptr<TWindowsCollation> Current;
  return Current;
}

TWindowsCollation& Current() {
  auto& Slot = CurrentSlot();
  if (!Slot) Slot = std::make_unique<TWindowsCollation>("");
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
  if (AKey.empty() || BKey.empty()) return CompareText(AText, BText);
  const size_t Length = std::min(AKey.size(), BKey.size());
  if (const int D = std::memcmp(AKey.data(), BKey.data(), Length)) return D;
  return (AKey.size() > Length) - (BKey.size() > Length);
}

// On Windows the environment of a program is its user's default locale: an empty name
// selects that one.
void SetCollationLocale(const std::string& ALocale) {
  CurrentSlot() = std::make_unique<TWindowsCollation>(ALocale);
}

std::string CollationLocale() {
  return Current().Name();
}

bool AsciiFastPathActive() {
  return false;
}

}  // namespace wiremap
