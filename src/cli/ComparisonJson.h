#pragma once

#include <string>

#include "model/Comparison.h"

namespace wiremap {

// AComparison as JSON for scripts: every field of the net and wire differences, each net
// index with the pins of that net and each record index with the record itself, so a reader
// needs neither project to make sense of it. Names that are not valid UTF-8 are written
// with U+FFFD in place of the bad bytes. Ends with a line end.
std::string WriteComparisonJson(const TComparison& AComparison);

}  // namespace wiremap
