#include "model/SortedTextList.h"

#include <algorithm>
#include <numeric>

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

void TSortedTextList::Assign(std::vector<std::string> ATexts) {
  std::vector<TEntry> Entries;
  Entries.reserve(ATexts.size());
  for (std::string& Text : ATexts) {
    std::string Key = CollationKey(Text);
    Entries.push_back(TEntry{std::move(Text), std::move(Key), 0});
  }
  // Stable, so that of equal texts the first one added stays.
  std::stable_sort(Entries.begin(), Entries.end(), [](const TEntry& A, const TEntry& B) {
    return CompareKeyed(A.Key, A.Text, B.Key, B.Text) < 0;
  });
  const auto Last =
      std::unique(Entries.begin(), Entries.end(), [](const TEntry& A, const TEntry& B) {
        return CompareKeyed(A.Key, A.Text, B.Key, B.Text) == 0;
      });
  Entries.erase(Last, Entries.end());
  FEntries = std::move(Entries);
}

}  // namespace wiremap
