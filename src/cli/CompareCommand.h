#pragma once

#include "cli/CliRequest.h"

namespace wiremap {

// Compares ARequest.Inputs[0] (old) with Inputs[1] (new) and writes the report in
// ARequest.Format. Returns 1 when the two differ and 0 when they do not, as diff does.
int RunCompareCommand(const TCliRequest& ARequest);

}  // namespace wiremap
