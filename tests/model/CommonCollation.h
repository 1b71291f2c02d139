#pragma once

// Texts on which every text comparison backend agrees by design (ICU here, the system's
// comparison on Windows): plain letters and digits, letter case, accents. Punctuation is
// left out on purpose: Windows ignores hyphens and apostrophes at first sight, ICU does not.
// The Linux tests and the Windows tests check the same table.

#include <string>
#include <vector>

#include "model/TextCompare.h"

namespace wiremap {

// Groups in ascending order; the texts of one group compare equal.
inline const std::vector<std::vector<std::string>>& CommonCollationOrder() {
  static const std::vector<std::vector<std::string>> Order = {
      {""},
      {"0"},
      {"1"},
      {"10"},
      {"2"},
      {"a", "A"},
      {"\xC3\xA1", "\xC3\x81"},  // á Á
      {"a b"},
      {"ab", "AB", "aB"},
      {"b", "B"},
      {"cote"},
      {"cot\xC3\xA9"},         // coté
      {"c\xC3\xB4te"},         // côte
      {"c\xC3\xB4t\xC3\xA9"},  // côté
      {"e", "E"},
      {"\xC3\xA9", "\xC3\x89"},  // é É
      {"f"},
      {"k1", "K1"},
      {"k10"},
      {"k2"},
      {"resume", "RESUME"},
      {"r\xC3\xA9sum\xC3\xA9", "R\xC3\x89SUM\xC3\x89"},  // résumé RÉSUMÉ
      {"resumes"},
      {"x1"},
      {"xa"},
      {"z", "Z"},
      {"zz"},
  };
  return Order;
}

// Every pair of the table that CompareText, the collation keys or CompareKeyed order
// otherwise than the table, as "'a' vs 'b'" (empty: all agree).
inline std::vector<std::string> CommonCollationMismatches() {
  const auto Sign = [](int AValue) { return (AValue > 0) - (AValue < 0); };
  const auto& Order = CommonCollationOrder();
  std::vector<std::string> Mismatches;
  for (size_t GA = 0; GA < Order.size(); ++GA)
    for (size_t GB = 0; GB < Order.size(); ++GB)
      for (const std::string& A : Order[GA])
        for (const std::string& B : Order[GB]) {
          const int Expected = GA < GB ? -1 : GA > GB ? 1 : 0;
          const std::string KeyA = CollationKey(A), KeyB = CollationKey(B);
          if (Sign(CompareText(A, B)) != Expected || (KeyA == KeyB) != (Expected == 0) ||
              Sign(CompareKeyed(KeyA, A, KeyB, B)) != Expected)
            Mismatches.push_back("'" + A + "' vs '" + B + "'");
        }
  return Mismatches;
}

}  // namespace wiremap
