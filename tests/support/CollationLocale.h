#pragma once

#include <string>

#include "model/TextCompare.h"

namespace wiremap {

// Sets the collation locale while it lives and puts the previous one back, so that a test
// that fails half-way leaves no other test comparing texts under its locale.
class TCollationLocale {
 public:
  // An empty name would mean the environment's locale; the root's is "C".
  explicit TCollationLocale(const std::string& ALocale)
      : FPrevious(CollationLocale().empty() ? std::string("C") : CollationLocale()) {
    SetCollationLocale(ALocale);
  }
  ~TCollationLocale() { SetCollationLocale(FPrevious); }
  TCollationLocale(const TCollationLocale&) = delete;
  TCollationLocale& operator=(const TCollationLocale&) = delete;

 private:
  std::string FPrevious;
};

}  // namespace wiremap
