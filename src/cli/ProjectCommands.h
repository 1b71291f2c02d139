#pragma once

#include "cli/CliRequest.h"

namespace wiremap {

// The commands on one project. Each returns the exit status and raises on any error, before
// it writes anything, so a failed run leaves standard output empty.

// The bytes Save Netlist writes.
int RunNetlistCommand(const TCliRequest& ARequest);
// The bytes Save Pinlist writes in sort order ARequest.Order.
int RunPinListCommand(const TCliRequest& ARequest);
// The main window's statistics, a line each.
int RunStatsCommand(const TCliRequest& ARequest);
// The records as a connection list.
int RunConvertCommand(const TCliRequest& ARequest);

}  // namespace wiremap
