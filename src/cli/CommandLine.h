#pragma once

#include <optional>
#include <string>

#include "cli/CliRequest.h"

namespace CLI {
class App;
}

namespace wiremap {

// One run of wiremap-cli: parses the arguments, runs the command they name and turns every
// failure into one "wiremap-cli: <message>" line on standard error and exit status 2, so a
// script tells a comparison that found differences (1) from a run that failed, as with diff.
class TCommandLine {
 public:
  // The exit status: 0 success (compare: no differences), 1 differences, 2 an error.
  int Run(int AArgc, const char* const* AArgv);

 private:
  // Parses the arguments into FCommand and FRequest; the status to stop with (help,
  // version, a bad argument), or nothing to go on with the command.
  std::optional<int> Parse(int AArgc, const char* const* AArgv);
  void DefineCommands(CLI::App& AApp);
  int RunCommand() const;

  std::string FCommand;
  std::string FInput, FOld, FNew;
  TCliRequest FRequest;
};

}  // namespace wiremap
