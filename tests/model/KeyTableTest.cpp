#include "model/KeyTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "CollationLocale.h"
#include "model/KeySort.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

// Texts of a few letters from a small alphabet: many repeats, many shared prefixes.
std::vector<std::string> RandomTexts(size_t ACount, std::string_view AAlphabet, uint32_t ASeed) {
  std::mt19937 Random(ASeed);
  std::vector<std::string> Texts(ACount);
  for (std::string& Text : Texts)
    for (size_t N = Random() % 12; N > 0; --N) Text += AAlphabet[Random() % AAlphabet.size()];
  return Texts;
}

// Against a map: lookups before and after each insert, through every growth of the table
// (hashes are HashText's, as the index itself rehashes with it when it grows).
TEST(HashIndex, FindsExactlyWhatWasInserted) {
  const std::vector<std::string> Texts = RandomTexts(3000, "ab", 1);
  std::vector<std::string> Stored;
  const auto TextOf = [&Stored](int32_t AId) { return std::string_view(Stored[AId]); };
  THashIndex<decltype(TextOf)> Index(TextOf);
  std::map<std::string, int32_t> Reference;
  for (const std::string& Text : Texts) {
    const int32_t Found = Index.Find(Text, HashText(Text));
    const auto It = Reference.find(Text);
    ASSERT_EQ(Found, It == Reference.end() ? -1 : It->second) << Text;
    if (Found >= 0) continue;
    Stored.push_back(Text);
    Index.Insert(static_cast<int32_t>(Stored.size() - 1), HashText(Text));
    Reference[Text] = static_cast<int32_t>(Stored.size() - 1);
  }
  EXPECT_GT(Reference.size(), 1000u);
  for (const auto& [Text, Id] : Reference) EXPECT_EQ(Index.Find(Text, HashText(Text)), Id);
  // A text whose hash is another's finds nothing but itself.
  EXPECT_EQ(Index.Find("c", HashText(Stored[0])), -1);
  Index.Clear();
  EXPECT_EQ(Index.Find(Stored[0], HashText(Stored[0])), -1);
}

TEST(KeyTable, NumbersKeysInOrderAndFindsThemAgain) {
  TKeyTable Table;
  const std::vector<std::string> Keys = RandomTexts(2000, "ab\x01", 2);
  std::map<std::string, int32_t> Reference;
  for (const std::string& Key : Keys) {
    const auto It = Reference.find(Key);
    ASSERT_EQ(Table.Find(Key), It == Reference.end() ? -1 : It->second);
    if (It == Reference.end()) Reference[Key] = Table.Add(Key, HashText(Key));
  }
  ASSERT_EQ(Table.Count(), static_cast<int32_t>(Reference.size()));
  for (const auto& [Key, Id] : Reference) EXPECT_EQ(Table.Key(Id), Key);
  Table.Clear();
  EXPECT_EQ(Table.Count(), 0);
  EXPECT_EQ(Table.Find(Keys[0]), -1);
}

// The order of CompareText, texts that compare equal in id order, for keys of one kind
// (root collation) and of mixed kinds (ASCII fast path and ICU keys side by side).
TEST(SortIdsByKey, SortsLikeCompareTextAndKeepsEqualTextsInIdOrder) {
  for (const char* Locale : {"C", "en_US", "cs_CZ"}) {
    const TCollationLocale Guard(Locale);
    for (const std::string_view Alphabet :
         {std::string_view("aAbB-:1"), std::string_view("aA\xC3\xA1\xC4\x8D"
                                                        "c1")}) {
      const std::vector<std::string> Texts = RandomTexts(1500, Alphabet, 3);
      std::vector<std::string> Keys;
      for (const std::string& Text : Texts) Keys.push_back(CollationKey(Text));
      std::vector<int32_t> Ids(Texts.size());
      std::iota(Ids.begin(), Ids.end(), 0);
      std::shuffle(Ids.begin(), Ids.end(), std::mt19937(4));
      SortIdsByKey(
          Ids.begin(), Ids.end(), [&](int32_t AId) { return std::string_view(Keys[AId]); },
          [&](int32_t AId) { return std::string_view(Texts[AId]); });
      for (size_t I = 1; I < Ids.size(); ++I) {
        const int D = CompareText(Texts[Ids[I - 1]], Texts[Ids[I]]);
        ASSERT_TRUE(D < 0 || (D == 0 && Ids[I - 1] < Ids[I]))
            << Locale << ": " << Texts[Ids[I - 1]] << " / " << Texts[Ids[I]];
      }
    }
  }
}

}  // namespace
}  // namespace wiremap
