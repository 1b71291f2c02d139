#include "model/TextCompare.h"

#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "model/SortedTextList.h"

namespace wiremap {
namespace {

int Sign(int AValue) {
  return (AValue > 0) - (AValue < 0);
}

class TextCompareTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { SetCollationLocale(GetParam()); }
  void TearDown() override { SetCollationLocale("C"); }
};

TEST_P(TextCompareTest, IgnoresCaseKeepsAccentsAndSortsNumbersAsText) {
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

TEST_P(TextCompareTest, KeysAreEqualExactlyWhenTextsCompareEqual) {
  const std::vector<std::string> Texts = {"",
                                          "a",
                                          "A",
                                          "ab",
                                          "aB",
                                          "a-b",
                                          "a_b",
                                          "a b",
                                          "10",
                                          "2",
                                          "+24V",
                                          "-24V",
                                          "0V",
                                          "PE",
                                          "pe",
                                          "Pé",
                                          "é",
                                          "É",
                                          "e\xCC\x81",
                                          "ﬁ",
                                          "fi",
                                          "FI",
                                          "Ａ",
                                          "x\x01y",
                                          "xy",
                                          "Čerpadlo chladicí vody",
                                          "čerpadlo CHLADICÍ vody",
                                          "ß",
                                          "ss",
                                          "-",
                                          "‐"};
  for (const std::string& A : Texts)
    for (const std::string& B : Texts) {
      const bool Equal = CompareText(A, B) == 0;
      EXPECT_EQ(Equal, CollationKey(A) == CollationKey(B)) << "'" << A << "' vs '" << B << "'";
      EXPECT_EQ(Sign(CompareText(A, B)), Sign(CompareKeyed(CollationKey(A), A, CollationKey(B), B)))
          << "'" << A << "' vs '" << B << "'";
    }
}

// The comparison (and its plain-ASCII table) must give the collator's own answer.
TEST_P(TextCompareTest, AgreesWithTheCollatorOnRandomTexts) {
  std::string Locale = GetParam();
  Locale = Locale.substr(0, Locale.find('.'));
  if (Locale == "C" || Locale == "POSIX") Locale = "";
  UErrorCode Status = U_ZERO_ERROR;
  UCollator* Reference = ucol_open(Locale.c_str(), &Status);
  ASSERT_TRUE(U_SUCCESS(Status));
  ucol_setStrength(Reference, UCOL_SECONDARY);

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
    const int Expected = Sign(ucol_strcollUTF8(Reference, A.data(), static_cast<int32_t>(A.size()),
                                               B.data(), static_cast<int32_t>(B.size()), &Status));
    ASSERT_EQ(Sign(CompareText(A, B)), Expected) << "'" << A << "' vs '" << B << "'";
    ASSERT_EQ(Expected == 0, CollationKey(A) == CollationKey(B))
        << "'" << A << "' vs '" << B << "'";
    ASSERT_EQ(Sign(CompareKeyed(CollationKey(A), A, CollationKey(B), B)), Expected);
  }
  ucol_close(Reference);
}

INSTANTIATE_TEST_SUITE_P(Locales, TextCompareTest,
                         ::testing::Values("C", "POSIX", "en_US.UTF-8", "de_DE.UTF-8", "cs_CZ",
                                           "da_DK"));

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
