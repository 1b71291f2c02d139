#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/ConnectionRec.h"
#include "model/Project.h"

namespace wiremap {

// An input named on the command line: its records and the project name its texts carry.
struct TCliInput {
  std::string Name;
  TConnectionRecs Records;
};

// The sample number of "sample:N"; nothing for any other input. Raises ECliError for a
// "sample:" that names no sample 1 to 9.
std::optional<int> SampleNumberOf(const std::string& AInput);

// Reads AInput: a project file or connection list, "sample:N", or "demo" (the records the
// simulated host retrieves from its demo drawing, unnamed as a live project is). The
// reader's warnings go to standard error.
TCliInput LoadInput(const std::string& AInput);

// LoadInput with the net graph and key values built.
std::unique_ptr<TProject> LoadProject(const std::string& AInput);

}  // namespace wiremap
