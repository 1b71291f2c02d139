#pragma once

#include <string>

#include "model/Exception.h"

namespace wiremap {

// A fault of the command line itself (an input it does not know, an output it cannot
// write), as opposed to one the core's readers report.
class ECliError : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "ECliError"; }
};

}  // namespace wiremap
