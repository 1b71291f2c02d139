#include "model/PinMask.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace wiremap {
namespace {

struct TMatchCase {
  const char* Mask;
  const char* Name;
  bool Expected;
};

class PinMaskMatch : public ::testing::TestWithParam<TMatchCase> {};

TEST_P(PinMaskMatch, MatchesTheWholeName) {
  const TMatchCase& Case = GetParam();
  EXPECT_EQ(TPinMask(Case.Mask).Matches(Case.Name), Case.Expected)
      << "'" << Case.Mask << "' against '" << Case.Name << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PinMaskMatch,
    ::testing::Values(
        // Literals: the whole name, a to z without case, nothing else folded.
        TMatchCase{"=F1+L1-K1:13", "=f1+l1-k1:13", true}, TMatchCase{"K1", "K12", false},
        TMatchCase{"K1", "xK1", false}, TMatchCase{"", "", true}, TMatchCase{"", "a", false},
        TMatchCase{"é", "É", false}, TMatchCase{"Čerpadlo", "ČERPADLO", true},
        // "?" needs exactly one character; "*?" is "*".
        TMatchCase{"=A1?", "=A1", false}, TMatchCase{"=A1?", "=A12", true},
        TMatchCase{"?*", "", false}, TMatchCase{"*?", "", true}, TMatchCase{"**?*?a", "a", true},
        TMatchCase{"a?*?c", "abc", true},
        // "*" takes any run; a later segment may need a later place.
        TMatchCase{"*", "", true}, TMatchCase{"**", "=A1:1", true},
        TMatchCase{"*K1*", "=F1+L1-k1:13", true}, TMatchCase{"*K1*", "=F1+L1-K2:13", false},
        TMatchCase{"*bc", "abcbc", true}, TMatchCase{"a*b*c", "aXbYc", true},
        TMatchCase{"a*b*c", "acb", false}, TMatchCase{"*ab*ab", "abab", true},
        TMatchCase{"*ab*ab", "ab", false}, TMatchCase{"pin *", "=A1:1", false},
        // Sets: members, ranges folded at both ends, negation, special characters inside.
        TMatchCase{"[abc]1", "B1", true}, TMatchCase{"[abc]1", "d1", false},
        TMatchCase{"[!abc]1", "d1", true}, TMatchCase{"[!abc]1", "A1", false},
        TMatchCase{"[a-cx-z]", "y", true}, TMatchCase{"[a-cx-z]", "d", false},
        TMatchCase{"[A-z]", "_", false}, TMatchCase{"[a-c-e]", "D", true},
        TMatchCase{"[c-a-e]", "B", true}, TMatchCase{"[z-a]", "Z", true},
        TMatchCase{"[z-a]", "b", false}, TMatchCase{"[*?]", "?", true},
        TMatchCase{"[*?]", "a", false}, TMatchCase{"[[]", "[", true},
        TMatchCase{"[+--]", ",", true}, TMatchCase{"-[0-9]", "-7", true},
        // A character is a whole UTF-8 code point; stray bytes are one character each.
        TMatchCase{"?", "Č", true}, TMatchCase{"??", "Č", false}, TMatchCase{"[ČŠ]", "Š", true},
        TMatchCase{"[ČŠ]", "š", false}, TMatchCase{"[à-ÿ]", "é", true},
        TMatchCase{"[!Č]", "C", true}, TMatchCase{"*č*", "Čerpadlo", false},
        TMatchCase{"?", "\xff", true}, TMatchCase{"??", "\xc4", false},
        TMatchCase{"??",
                   "\xc4"
                   "a",
                   true},
        TMatchCase{"\xff", "\xff", true}, TMatchCase{"\xc4", "\xc4\x8c", false},
        TMatchCase{"*a?", "Čaé", true}, TMatchCase{"*a?", "aé\xff", false}));

struct TInvalidCase {
  std::string Mask;
  int Position;
};

class PinMaskInvalid : public ::testing::TestWithParam<TInvalidCase> {};

TEST_P(PinMaskInvalid, NamesTheMaskAndWhereCompilingStopped) {
  const TInvalidCase& Case = GetParam();
  try {
    TPinMask Mask(Case.Mask);
    FAIL() << "'" << Case.Mask << "' compiled";
  } catch (const EInvalidMask& E) {
    EXPECT_EQ(E.Message(),
              "'" + Case.Mask + "' is an invalid mask at (" + std::to_string(Case.Position) + ")");
    EXPECT_EQ(E.ClassName(), "EInvalidMask");
  }
}

std::string Repeat(const std::string& AText, int ACount) {
  std::string Result;
  for (int I = 0; I < ACount; ++I) Result += AText;
  return Result;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PinMaskInvalid,
    ::testing::Values(
        // No closing "]": compiling runs to just past the mask.
        TInvalidCase{"[", 2}, TInvalidCase{"ab[cd", 6}, TInvalidCase{"[!", 3},
        // Empty sets.
        TInvalidCase{"[]", 2}, TInvalidCase{"[!]", 3},
        // "-" first in a set, right before "]", or last in the mask.
        TInvalidCase{"[-a]", 2}, TInvalidCase{"[!-a]", 3}, TInvalidCase{"[a-]", 4},
        TInvalidCase{"[a-c-]", 6}, TInvalidCase{"[a-", 4},
        // Positions count characters, not bytes.
        TInvalidCase{"Čš[", 4},
        // More than 30 starred elements; the end of the mask counts when a "*" is last.
        TInvalidCase{Repeat("*a", 31), 62}, TInvalidCase{Repeat("*a", 30) + "*", 62},
        TInvalidCase{Repeat("*[ab]", 31), 152}));

TEST(PinMask, ThirtyStarsAreAllowedAndDroppedQuestionMarksDoNotCount) {
  EXPECT_TRUE(TPinMask(Repeat("*a", 30)).Matches(std::string(60, 'a')));
  EXPECT_TRUE(TPinMask(Repeat("*a", 29) + "*").Matches(std::string(29, 'a')));
  EXPECT_TRUE(TPinMask(Repeat("*?", 40)).Matches("anything"));
}

// A backtracking matcher would take astronomically long here; this one must simply answer.
TEST(PinMask, ManyStarsAgainstALongNameAnswer) {
  const std::string Name(255, 'a');
  EXPECT_FALSE(TPinMask(Repeat("*a", 29) + "*b").Matches(Name));
  EXPECT_TRUE(TPinMask(Repeat("*a", 29) + "*").Matches(Name));
  EXPECT_FALSE(TPinMask(Repeat("*aa", 29) + "*?b").Matches(Name));
}

// The plain reading of the rules, by trying every split: slow, but obviously right.
bool Reference(std::string_view AMask, std::string_view AName) {
  if (AMask.empty()) return AName.empty();
  if (AMask[0] == '*') {
    std::size_t Next = 1;
    // "*?" matches like "*".
    while (Next < AMask.size() && (AMask[Next] == '*' || AMask[Next] == '?')) ++Next;
    for (std::size_t Skip = 0; Skip <= AName.size(); ++Skip)
      if (Reference(AMask.substr(Next), AName.substr(Skip))) return true;
    return false;
  }
  if (AName.empty()) return false;
  const auto Upper = [](char C) { return C >= 'a' && C <= 'z' ? char(C - 32) : C; };
  if (AMask[0] != '?' && Upper(AMask[0]) != Upper(AName[0])) return false;
  return Reference(AMask.substr(1), AName.substr(1));
}

TEST(PinMask, AgreesWithTryingEverySplit) {
  std::mt19937 Random(11);
  const auto Text = [&](const char* AAlphabet, std::size_t AMaxLength) {
    const std::string_view Alphabet(AAlphabet);
    std::string Result(Random() % (AMaxLength + 1), ' ');
    for (char& C : Result) C = Alphabet[Random() % Alphabet.size()];
    return Result;
  };
  for (int I = 0; I < 20000; ++I) {
    const std::string Mask = Text("**?aAb", 8);
    const std::string Name = Text("aAbB", 7);
    ASSERT_EQ(TPinMask(Mask).Matches(Name), Reference(Mask, Name))
        << "'" << Mask << "' against '" << Name << "'";
  }
}

}  // namespace
}  // namespace wiremap
