#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace wiremap {

// The one text comparison of the program: the collation of the user's locale,
// letter case ignored, accents significant ("10" sorts before "2").
// Result < 0, 0 or > 0 like strcmp.
int CompareText(std::string_view A, std::string_view B);

inline bool SameText(std::string_view A, std::string_view B) {
  return CompareText(A, B) == 0;
}

// The letters a to z as A to Z; every other byte, accented letters included, unchanged.
// The pin search folds names and masks this way, not by the collation.
constexpr char AsciiUpper(char C) {
  return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

// Equality with only the letters a to z folded (see AsciiUpper).
inline bool SameTextAsciiCase(std::string_view A, std::string_view B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char CA, char CB) {
           return AsciiUpper(CA) == AsciiUpper(CB);
         });
}

// A byte string that stands for the text under CompareText: two texts compare equal
// exactly when their keys are equal, so keys can be hashed. Keys of the same
// kind also order like the texts (see CompareKeys).
std::string CollationKey(std::string_view AText);

// The same key written into AKey, reusing its storage.
void CollationKeyTo(std::string_view AText, std::string& AKey);

// Orders two texts given with their keys; the same result as CompareText(AText, BText),
// fast when both keys came from the plain-ASCII path.
int CompareKeyed(std::string_view AKey, std::string_view AText, std::string_view BKey,
                 std::string_view BText);

// Chooses the collation locale, for example "de_DE.UTF-8". An empty text takes it from
// the environment (LC_ALL, else LC_COLLATE, else LANG); "C", "POSIX" or nothing means
// the root collation.
void SetCollationLocale(const std::string& ALocale);

// The ICU locale name in use ("" for root).
std::string CollationLocale();

// Whether plain-ASCII texts are compared without ICU in the current locale.
bool AsciiFastPathActive();

}  // namespace wiremap
