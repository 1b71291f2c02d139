#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wiremap {

// Texts kept in ascending order of CompareText, duplicates ignored: adding a text
// equal to one present changes nothing and gives the existing position. Each
// entry may carry a number (its attached object).
class TSortedTextList {
 public:
  int Count() const { return static_cast<int>(FEntries.size()); }
  const std::string& operator[](int AIndex) const { return FEntries[AIndex].Text; }
  int64_t Data(int AIndex) const { return FEntries[AIndex].Data; }

  // Binary search: true when found; AIndex is the position of the text or where it
  // would be inserted.
  bool Find(std::string_view AText, int& AIndex) const;

  // Adds AText (unless an equal text is present) and returns its position.
  int Add(std::string_view AText, int64_t AData = 0);

  // Replaces the contents with ATexts, in order, keeping the first of equal texts:
  // the same result as adding them one by one, in n log n. Returns the position of
  // each of ATexts in the list.
  std::vector<int> Assign(std::vector<std::string> ATexts);

  void Clear() { FEntries.clear(); }

 private:
  struct TEntry {
    std::string Text;
    std::string Key;
    int64_t Data = 0;
  };

  bool FindKey(std::string_view AKey, std::string_view AText, int& AIndex) const;

  std::vector<TEntry> FEntries;
};

}  // namespace wiremap
