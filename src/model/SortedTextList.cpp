#include "model/SortedTextList.h"

#include <algorithm>
#include <numeric>

#include "model/KeySort.h"
#include "model/TextCompare.h"

namespace wiremap {

bool TSortedTextList::FindKey(std::string_view AKey, std::string_view AText, int& AIndex) const {
  int Low = 0, High = Count() - 1;
  while (Low <= High) {
    const int Middle = (Low + High) / 2;
    const TEntry& Entry = FEntries[Middle];
    const int D = CompareKeyed(Entry.Key, Entry.Text, AKey, AText);
    if (D == 0) {
      AIndex = Middle;
      return true;
    }
    if (D < 0)
      Low = Middle + 1;
    else
      High = Middle - 1;
  }
  AIndex = Low;
  return false;
}

bool TSortedTextList::Find(std::string_view AText, int& AIndex) const {
  return FindKey(CollationKey(AText), AText, AIndex);
}

int TSortedTextList::Add(std::string_view AText, int64_t AData) {
  std::string Key = CollationKey(AText);
  int Index = 0;
  if (FindKey(Key, AText, Index)) return Index;
  FEntries.insert(FEntries.begin() + Index, TEntry{std::string(AText), std::move(Key), AData});
  return Index;
}

std::vector<int> TSortedTextList::Assign(std::vector<std::string> ATexts) {
  std::vector<std::string> Keys(ATexts.size());
  for (size_t I = 0; I < ATexts.size(); ++I) CollationKeyTo(ATexts[I], Keys[I]);
  std::vector<int32_t> Order(ATexts.size());
  std::iota(Order.begin(), Order.end(), 0);
  // Equal texts stay in their order, so that the first one added is kept.
  SortIdsByKey(
      Order.begin(), Order.end(), [&](int32_t AId) { return std::string_view(Keys[AId]); },
      [&](int32_t AId) { return std::string_view(ATexts[AId]); });
  std::vector<int> Positions(ATexts.size());
  FEntries.clear();
  for (const int32_t I : Order) {
    if (FEntries.empty() ||
        CompareKeyed(FEntries.back().Key, FEntries.back().Text, Keys[I], ATexts[I]) != 0)
      FEntries.push_back(TEntry{std::move(ATexts[I]), std::move(Keys[I]), 0});
    Positions[I] = Count() - 1;
  }
  return Positions;
}

}  // namespace wiremap
