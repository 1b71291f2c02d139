#pragma once

#include <cstdio>
#include <cstdlib>

// A property of a fuzz target. A violation aborts, which libFuzzer reports as a crash
// (with the input saved) and the corpus replay as a failed test.
#define FUZZ_CHECK(ACondition)                                                                 \
  do {                                                                                         \
    if (!(ACondition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, #ACondition); \
      std::abort();                                                                            \
    }                                                                                          \
  } while (false)
