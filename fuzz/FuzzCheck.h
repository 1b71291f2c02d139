#pragma once

#include <cstdio>
#include <cstdlib>

#include "model/TextCompare.h"

// A property of a fuzz target. A violation aborts, which libFuzzer reports as a crash
// (with the input saved) and the corpus replay as a failed test.
#define FUZZ_CHECK(ACondition)                                                                 \
  do {                                                                                         \
    if (!(ACondition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #ACondition); \
      std::abort();                                                                            \
    }                                                                                          \
  } while (false)

namespace wiremap {

// Names compare in the root collation, whatever the machine's locale, so that a finding
// replays the same everywhere. Set once: collators are expensive to make.
inline void UseRootCollation() {
  static const bool Set = (SetCollationLocale("C"), true);
  (void)Set;
}

}  // namespace wiremap
