#include "model/Exception.h"

#include <cstdio>

namespace wiremap {

void RaiseAssertion(const char* AText, const char* AUnit, int ALine) {
  char Buffer[512];
  std::snprintf(Buffer, sizeof Buffer, "%s (%s, line %d)", AText, AUnit, ALine);
  throw EAssertionFailed(Buffer);
}

}  // namespace wiremap
