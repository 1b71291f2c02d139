#include "model/TextCompare.h"

#include <gtest/gtest.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "CommonCollation.h"
#include "ReferenceCollator.h"
#include "model/SortedTextList.h"

namespace wiremap {
namespace {

int Sign(int AValue) {
  return (AValue > 0) - (AValue < 0);
}

// A and B compare with sign AExpected, also through their keys, and their keys are equal
// exactly when they compare equal.
testing::AssertionResult Agrees(const std::string& A, const std::string& B, int AExpected) {
  const std::string KeyA = CollationKey(A), KeyB = CollationKey(B);
  if (Sign(CompareText(A, B)) == AExpected && (AExpected == 0) == (KeyA == KeyB) &&
      Sign(CompareKeyed(KeyA, A, KeyB, B)) == AExpected)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "'" << A << "' vs '" << B << "', expected " << AExpected;
}

class TextCompare : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { SetCollationLocale(GetParam()); }
  void TearDown() override { SetCollationLocale("C"); }
};

TEST_P(TextCompare, IgnoresCaseKeepsAccentsAndSortsNumbersAsText) {
  EXPECT_EQ(CompareText("=OPT.00+MX0-XT3:10", "=opt.00+mx0-xt3:10"), 0);
  EXPECT_NE(CompareText("Cerpadlo", "Čerpadlo"), 0);
  EXPECT_NE(CompareText("resume", "résumé"), 0);
  EXPECT_EQ(CompareText("ČERPADLO", "čerpadlo"), 0);
  EXPECT_LT(CompareText("10", "2"), 0);
  EXPECT_LT(CompareText("1", "10"), 0);
  EXPECT_LT(CompareText("", "a"), 0);
  EXPECT_LT(CompareText("a", "B"), 0);
  EXPECT_LT(CompareText("B", "c"), 0);
}

TEST_P(TextCompare, KeysAreEqualExactlyWhenTextsCompareEqual) {
  // clang-format off
  const std::vector<std::string> Texts = {
      "", "a", "A", "ab", "aB", "a-b", "a_b", "a b", "10", "2", "+24V", "-24V", "0V", "PE",
      "pe", "Pé", "é", "É", "e\xCC\x81", "ﬁ", "fi", "FI", "Ａ", "x\x01y", "xy",
      "Čerpadlo chladicí vody", "čerpadlo CHLADICÍ vody", "ß", "ss", "-", "‐"};
  // clang-format on
  for (const std::string& A : Texts)
    for (const std::string& B : Texts) EXPECT_TRUE(Agrees(A, B, Sign(CompareText(A, B))));
}

// The comparison (and its plain-ASCII table) must give the collator's own answer.
TEST_P(TextCompare, AgreesWithTheCollatorOnRandomTexts) {
  std::string Locale = GetParam();
  Locale = Locale.substr(0, Locale.find('.'));
  if (Locale == "C" || Locale == "POSIX") Locale = "";
  const TReferenceCollator Reference(Locale);
  ASSERT_TRUE(Reference.Valid());

  std::mt19937 Random(7);
  std::uniform_int_distribution<int> Char(0, 127), Length(0, 6);
  const std::string Alphabet = "aAbBcChH09+-=:._ /^Zz";
  auto Make = [&](bool AFull) {
    std::string S(Length(Random), ' ');
    for (char& C : S)
      C = AFull ? static_cast<char>(Char(Random)) : Alphabet[Char(Random) % Alphabet.size()];
    return S;
  };
  for (int I = 0; I < 20000; ++I) {
    const std::string A = Make(I % 2 == 0), B = Make(I % 3 == 0);
    const int Expected = Reference.Compare(A, B);
    ASSERT_TRUE(Agrees(A, B, Expected));
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, TextCompare,
                         ::testing::Values("C", "POSIX", "en_US.UTF-8", "de_DE.UTF-8", "cs_CZ",
                                           "da_DK"));

// The Windows build checks the same table against the system's comparison.
TEST(TextCompareLocale, OrdersTheTextsCommonToEveryBackendAsTheTableSays) {
  for (const char* Locale : {"C", "en_US.UTF-8", "de_DE.UTF-8"}) {
    SetCollationLocale(Locale);
    const std::vector<std::string> Mismatches = CommonCollationMismatches();
    EXPECT_TRUE(Mismatches.empty()) << Locale << ": " << Mismatches.front();
  }
  SetCollationLocale("C");
}

std::string Utf8(UChar32 ACodePoint) {
  char Bytes[4];
  int32_t Length = 0;
  U8_APPEND_UNSAFE(Bytes, Length, ACodePoint);
  return std::string(Bytes, static_cast<size_t>(Length));
}

// Keys are a pin's identity: equal keys must mean exactly "compares equal", also where a
// non-ASCII character equals a run of ASCII ones (⓫ = 11, ꜳ = aa, 🆗 = OK).
class KeyIdentity : public TextCompare {};

TEST_P(KeyIdentity, EveryCodePointAgainstEveryAsciiTextOfUpToTwoCharacters) {
  const TReferenceCollator Reference(CollationLocale());
  std::vector<std::string> Ascii{""};
  for (int A = 0; A < 128; ++A) {
    Ascii.push_back(std::string(1, static_cast<char>(A)));
    for (int B = 0; B < 128; ++B) Ascii.push_back({static_cast<char>(A), static_cast<char>(B)});
  }
  // In the collator's order, neighbours compare as the collator says; keys follow suit.
  std::vector<std::pair<std::string, std::string>> Sorted;
  for (const std::string& Text : Ascii) Sorted.emplace_back(Reference.Key(Text), Text);
  std::sort(Sorted.begin(), Sorted.end());
  std::unordered_map<std::string, std::string> AsciiByReference, AsciiByKey;
  for (size_t I = 0; I < Sorted.size(); ++I) {
    const auto& [RefKey, Text] = Sorted[I];
    AsciiByReference.emplace(RefKey, Text);
    AsciiByKey.emplace(CollationKey(Text), Text);
    if (I == 0) continue;
    ASSERT_TRUE(Agrees(Sorted[I - 1].second, Text, Sign(Sorted[I - 1].first.compare(RefKey))));
  }
  int Faults = 0;
  for (UChar32 C = 0; C <= 0x10FFFF; ++C) {
    if (U_IS_SURROGATE(C)) continue;
    const std::string Text = Utf8(C);
    const auto Equal = AsciiByReference.find(Reference.Key(Text));
    const auto SameKey = AsciiByKey.find(CollationKey(Text));
    const bool Agrees = Equal == AsciiByReference.end()
                            ? SameKey == AsciiByKey.end()
                            : SameKey != AsciiByKey.end() &&
                                  CollationKey(SameKey->second) == CollationKey(Equal->second) &&
                                  CompareText(Text, Equal->second) == 0;
    if (!Agrees && ++Faults <= 5) ADD_FAILURE() << "U+" << std::hex << C << " '" << Text << "'";
  }
  EXPECT_EQ(Faults, 0);
}

INSTANTIATE_TEST_SUITE_P(RootAndTailored, KeyIdentity, ::testing::Values("C", "da_DK"));

// Random texts over an alphabet of accents, ligatures and characters that equal ASCII
// runs: order and equality as the collator says, also through the keys.
TEST_P(KeyIdentity, AgreesWithTheCollatorOnNonAsciiTexts) {
  const TReferenceCollator Reference(CollationLocale());
  const std::vector<std::string> Alphabet{"a",         "A",  "1",        "-",    "é", "É",
                                          "e\xCC\x81", "⓫",  "ꜳ",        "🆗",    "ǆ", "ß",
                                          "ﬁ",         "Ａ", "\xCC\x81", "\xFF", ":"};
  std::mt19937 Random(11);
  std::uniform_int_distribution<size_t> Pick(0, Alphabet.size() - 1), Length(0, 5);
  const auto Make = [&] {
    std::string Text;
    for (size_t N = Length(Random); N > 0; --N) Text += Alphabet[Pick(Random)];
    return Text;
  };
  for (int I = 0; I < 20000; ++I) {
    const std::string A = Make(), B = Make();
    const int Expected = Sign(Reference.Key(A).compare(Reference.Key(B)));
    ASSERT_TRUE(Agrees(A, B, Expected));
  }
}

TEST(TextCompareLocale, AScriptModifierChoosesTheScriptsRules) {
  // Serbian in Latin script sorts "ć" as a letter of its own after "c".
  SetCollationLocale("sr_RS.UTF-8@latin");
  EXPECT_EQ(CollationLocale(), "sr_Latn_RS");
  EXPECT_GT(CompareText("ća", "cb"), 0);
  SetCollationLocale("sr_RS.UTF-8");
  EXPECT_LT(CompareText("ća", "cb"), 0);
  SetCollationLocale("uz_UZ@cyrillic");
  EXPECT_EQ(CollationLocale(), "uz_Cyrl_UZ");
  SetCollationLocale("C");
}

TEST(TextCompareLocale, CAndPosixMeanRootCollationStillIgnoringCase) {
  SetCollationLocale("C");
  EXPECT_EQ(CollationLocale(), "");
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  SetCollationLocale("POSIX");
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  SetCollationLocale("de_DE.UTF-8@euro");
  EXPECT_EQ(CollationLocale(), "de_DE");
  SetCollationLocale("C");
}

TEST(TextCompareLocale, TailoredLocalesFollowTheirOwnRules) {
  // Czech sorts "ch" after "h": the plain-ASCII table must not be used there.
  SetCollationLocale("cs_CZ");
  EXPECT_FALSE(AsciiFastPathActive());
  EXPECT_GT(CompareText("chata", "hrad"), 0);
  SetCollationLocale("en_US");
  EXPECT_TRUE(AsciiFastPathActive());
  EXPECT_LT(CompareText("chata", "hrad"), 0);
  SetCollationLocale("C");
}

TEST(SortedTextList, KeepsFirstSpellingAndIgnoresDuplicates) {
  SetCollationLocale("C");
  TSortedTextList List;
  EXPECT_EQ(List.Add("+MX0"), 0);
  EXPECT_EQ(List.Add("+ZC"), 1);
  EXPECT_EQ(List.Add("+mx0"), 0);
  EXPECT_EQ(List.Add("+AA"), 0);
  ASSERT_EQ(List.Count(), 3);
  EXPECT_EQ(List[1], "+MX0");
  int Index = -1;
  EXPECT_TRUE(List.Find("+zc", Index));
  EXPECT_EQ(Index, 2);
  EXPECT_FALSE(List.Find("+NN", Index));
  EXPECT_EQ(Index, 2);

  TSortedTextList Bulk;
  Bulk.Assign({"2", "10", "1", "x", "X", "b", "A"});
  std::vector<std::string> Texts;
  for (int I = 0; I < Bulk.Count(); ++I) Texts.push_back(Bulk[I]);
  EXPECT_EQ(Texts, (std::vector<std::string>{"1", "10", "2", "A", "b", "x"}));

  // Long equal texts: the first spelling stays and every input finds its entry.
  const std::vector<int> Positions =
      Bulk.Assign({"+pumphouse-2", "+PUMPHOUSE-1", "+Pumphouse-2", "+PumpHouse-1", "+pumphouse-2"});
  ASSERT_EQ(Bulk.Count(), 2);
  EXPECT_EQ(Bulk[0], "+PUMPHOUSE-1");
  EXPECT_EQ(Bulk[1], "+pumphouse-2");
  EXPECT_EQ(Positions, (std::vector<int>{1, 0, 1, 0, 1}));
}

}  // namespace
}  // namespace wiremap
