#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <new>

#include "cli/CliError.h"
#include "cli/CompareCommand.h"
#include "cli/ProjectCommands.h"
#include "model/Exception.h"

namespace wiremap {

namespace {

constexpr int ExitError = 2;

struct TCommandInfo {
  const char* Name;
  const char* Description;
  int (*Run)(const TCliRequest&);
};

const TCommandInfo Commands[] = {
    {"netlist", "Write the netlist exactly as Save Netlist does", RunNetlistCommand},
    {"pinlist", "Write the pin list exactly as Save Pinlist does", RunPinListCommand},
    {"stats", "Print the project statistics of the main window", RunStatsCommand},
    {"convert", "Write the project's wires as a connection list (CSV)", RunConvertCommand},
    {"compare", "Compare the nets and wires of two revisions; exit 1 when they differ",
     RunCompareCommand},
};

const char* const Description =
    "Netlists, pin lists, conversions and comparisons of wiring projects, without a window.\n"
    "An INPUT is a project file or connection list, sample:N (the built-in sample N, 1 to 9)\n"
    "or demo (the demo drawing of the built-in simulated host).\n"
    "Exit status: 0 success (compare: no differences), 1 compare found differences, 2 error.";

const char* const InputHelp = "project file, connection list, sample:N or demo";
const char* const PinListOrderHelp =
    "position in \"Sort by:\" (default 0): 0 pin name, 1 page, 2 function, "
    "3 function and location, 4 location, 5 location and page, 6 custom";
const char* const CompareOldHelp =
    "the older revision: project file, connection list, sample:N, demo or a saved netlist";
const char* const OutputHelp = "write to this file instead of standard output";

void ReportError(const std::string& AMessage) {
  std::cerr << "wiremap-cli: " << AMessage << std::endl;
}

const TCommandInfo* FindCommand(const std::string& AName) {
  for (const TCommandInfo& Command : Commands)
    if (AName == Command.Name) return &Command;
  return nullptr;
}

CLI::App* AddCommand(CLI::App& AApp, const std::string& AName) {
  return AApp.add_subcommand(AName, FindCommand(AName)->Description);
}

// CLI11 would call an unknown first word an unexpected argument; a user who mistyped a
// command is better told which commands there are.
void CheckCommandName(int AArgc, const char* const* AArgv) {
  if (AArgc < 2 || AArgv[1][0] == '-' || FindCommand(AArgv[1])) return;
  throw ECliError(std::string("Unknown command '") + AArgv[1] +
                  "'; the commands are netlist, pinlist, stats, convert and compare");
}

}  // namespace

int TCommandLine::Run(int AArgc, const char* const* AArgv) {
  try {
    if (const std::optional<int> Status = Parse(AArgc, AArgv)) return *Status;
    return RunCommand();
  } catch (const Exception& E) {
    ReportError(E.Message());
  } catch (const std::bad_alloc&) {
    ReportError("Out of memory");
  } catch (const std::exception& E) {
    ReportError(E.what());
  }
  return ExitError;
}

std::optional<int> TCommandLine::Parse(int AArgc, const char* const* AArgv) {
  CheckCommandName(AArgc, AArgv);
  CLI::App App(Description, "wiremap-cli");
  App.set_version_flag("--version", "wiremap-cli " WIREMAP_VERSION_TEXT);
  App.require_subcommand(1);
  DefineCommands(App);
  try {
    App.parse(AArgc, AArgv);
  } catch (const CLI::ParseError& E) {
    if (E.get_exit_code() == 0) return App.exit(E);  // help or version, on standard output
    ReportError(E.what());
    return ExitError;
  }
  FCommand = App.get_subcommands().at(0)->get_name();
  FRequest.Inputs = FCommand == "compare" ? std::vector{FOld, FNew} : std::vector{FInput};
  return std::nullopt;
}

void TCommandLine::DefineCommands(CLI::App& AApp) {
  CLI::App* Netlist = AddCommand(AApp, "netlist");
  Netlist->add_option("INPUT", FInput, InputHelp)->required();
  Netlist->add_option("-o,--output", FRequest.Output, OutputHelp);
  CLI::App* PinList = AddCommand(AApp, "pinlist");
  PinList->add_option("INPUT", FInput, InputHelp)->required();
  PinList->add_option("--order", FRequest.Order, PinListOrderHelp)->check(CLI::Range(0, 6));
  PinList->add_option("-o,--output", FRequest.Output, OutputHelp);
  CLI::App* Stats = AddCommand(AApp, "stats");
  Stats->add_option("INPUT", FInput, InputHelp)->required();
  CLI::App* Convert = AddCommand(AApp, "convert");
  Convert->add_option("INPUT", FInput, InputHelp)->required();
  Convert->add_option("-o,--output", FRequest.Output, "the connection list file to write")
      ->required();
  CLI::App* Compare = AddCommand(AApp, "compare");
  Compare->add_option("OLD", FOld, CompareOldHelp)->required();
  Compare->add_option("NEW", FNew, "the newer revision, as OLD")->required();
  Compare->add_option("--format", FRequest.Format, "text (default), csv or json")
      ->check(CLI::IsMember({"text", "csv", "json"}));
}

int TCommandLine::RunCommand() const {
  return FindCommand(FCommand)->Run(FRequest);
}

}  // namespace wiremap
