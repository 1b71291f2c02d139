#include "model/PinMask.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace wiremap {
namespace {

std::string Repeat(const std::string& AText, int ACount) {
  std::string Result;
  for (int I = 0; I < ACount; ++I) Result += AText;
  return Result;
}

TEST(PinMask, MatchesTheWholeNameByTheRules) {
  // clang-format off
  struct {
    std::string Mask, Name;
    bool Expected;
  } const Cases[] = {
      // Literals: a to z without case, nothing else folded; the whole name.
      {"=f1+l1-k1:13", "=F1+L1-K1:13", true}, {"K1", "K12", false}, {"é", "É", false},
      {"", "", true}, {"", "a", false},
      // "?" needs one character; "*?" is "*"; a later segment may need a later place.
      {"=A1?", "=A1", false}, {"?*", "", false}, {"*?", "", true}, {"a?*?c", "abc", true},
      {"*K1*", "=F1+L1-k1:13", true}, {"*bc", "abcbc", true}, {"a*b*c", "acb", false},
      // Sets: folded ranges, a range that adds nothing, negation, specials inside.
      {"[a-cx-z]", "Y", true}, {"[a-cx-z]", "d", false}, {"[A-z]", "_", false},
      {"[az-a]", "A", true}, {"[az-a]", "Z", false}, {"[a-c-e]", "d", true}, {"[!abc]1", "A1", false},
      {"[!abc]1", "d1", true}, {"[*?[]", "[", true}, {"[+--]", ",", true},
      // A character is a whole UTF-8 character; a stray byte is one character.
      {"?", "Č", true}, {"??", "Č", false}, {"[ČŠ]", "š", false}, {"[à-ÿ]", "é", true},
      {"*a?", "Čaé", true}, {"*a?", "aé\xff", false}, {"??", "\xc4" "a", true},
      {"\xc4", "\xc4\x8c", false},
      // Many stars against a long name answer at once (no backtracking blow-up).
      {Repeat("*a", 29) + "*b", std::string(255, 'a'), false},
      {Repeat("*a", 30), std::string(255, 'a'), true}, {Repeat("*?", 40), "x", true}};
  // clang-format on
  for (const auto& Case : Cases)
    EXPECT_EQ(TPinMask(Case.Mask).Matches(Case.Name), Case.Expected)
        << "'" << Case.Mask << "' against '" << Case.Name << "'";
}

TEST(PinMask, AnInvalidMaskNamesItselfAndWhereCompilingStopped) {
  // clang-format off
  struct {
    std::string Mask;
    int Position;
  } const Cases[] = {
      {"ab[cd", 6}, {"[!", 3}, {"[]", 2}, {"[!]", 3},       // no "]"; empty sets
      {"[-a]", 2}, {"[!-a]", 3}, {"[a-]", 4}, {"[a-", 4},   // "-" without two sides
      {"[z-a]", 5}, {"[!z-a]", 6},                          // ranges that add nothing
      {"Čš[", 4},                                           // characters, not bytes
      {Repeat("*a", 31), 62}, {Repeat("*a", 30) + "*", 62}, {Repeat("*[ab]", 31), 152}};
  // clang-format on
  for (const auto& Case : Cases)
    EXPECT_THAT([&] { TPinMask Mask(Case.Mask); },
                testing::ThrowsMessage<EInvalidMask>("'" + Case.Mask + "' is an invalid mask at (" +
                                                     std::to_string(Case.Position) + ")"));
}

// The plain reading of the rules, trying every split: slow, but obviously right.
bool Reference(std::string_view AMask, std::string_view AName) {
  if (AMask.empty()) return AName.empty();
  if (AMask[0] == '*') {
    const std::size_t Next = std::min(AMask.find_first_not_of("*?"), AMask.size());
    for (std::size_t Skip = 0; Skip <= AName.size(); ++Skip)
      if (Reference(AMask.substr(Next), AName.substr(Skip))) return true;
    return false;
  }
  const auto Upper = [](char C) { return C >= 'a' && C <= 'z' ? char(C - 32) : C; };
  if (AName.empty() || (AMask[0] != '?' && Upper(AMask[0]) != Upper(AName[0]))) return false;
  return Reference(AMask.substr(1), AName.substr(1));
}

TEST(PinMask, AgreesWithTryingEverySplit) {
  std::mt19937 Random(11);
  const auto Text = [&](std::string_view AAlphabet, std::size_t AMaxLength) {
    std::string Result(Random() % (AMaxLength + 1), ' ');
    for (char& C : Result) C = AAlphabet[Random() % AAlphabet.size()];
    return Result;
  };
  for (int I = 0; I < 20000; ++I) {
    const std::string Mask = Text("**?aAb", 8), Name = Text("aAbB", 7);
    ASSERT_EQ(TPinMask(Mask).Matches(Name), Reference(Mask, Name)) << Mask << " / " << Name;
  }
}

}  // namespace
}  // namespace wiremap
