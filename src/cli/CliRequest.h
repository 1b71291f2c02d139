#pragma once

#include <string>
#include <vector>

namespace wiremap {

// What the arguments ask for, once parsed: the commands see this and never the parser.
struct TCliRequest {
  std::vector<std::string> Inputs;  // FILE, sample:N or demo; compare has two
  std::string Output;               // empty or "-": standard output
  int Order = 0;                    // pin list sort order, 0 to 6
  std::string Format = "text";      // compare: text, csv or json
};

}  // namespace wiremap
