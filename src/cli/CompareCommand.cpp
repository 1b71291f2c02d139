#include "cli/CompareCommand.h"

#include "cli/CliError.h"

namespace wiremap {

int RunCompareCommand(const TCliRequest&) {
  throw ECliError("The compare command is not available in this build");
}

}  // namespace wiremap
