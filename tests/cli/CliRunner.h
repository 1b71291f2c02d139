#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/Project.h"

namespace wiremap {

// What one run of the wiremap-cli program gave.
struct TCliRun {
  int Status = -1;  // exit status; -1 when the program did not exit normally
  std::string Out, Err;
};

// Runs the built wiremap-cli with AArgs, its standard output going to AStdout when given
// (a device such as /dev/full) and otherwise captured.
TCliRun RunCli(const std::vector<std::string>& AArgs, const std::string& AStdout = "");

// A file name in this test process's own temporary folder.
std::string TempPath(const std::string& AName);
std::string ReadFileBytes(const std::string& APath);
void WriteFileBytes(const std::string& APath, const std::string& ABytes);

// A built-in input ("sample:N" or "demo") as the window loads it: a sample under its
// caption, the demo drawing's retrieval without a name.
std::unique_ptr<TProject> ReferenceProject(const std::string& AInput);

// A successful run: AStatus, exactly AOut on standard output, nothing on standard error.
void ExpectOutput(const TCliRun& ARun, int AStatus, const std::string& AOut);

// A failed run: status 2, no output, one error line that holds AMessage.
void ExpectError(const TCliRun& ARun, const std::string& AMessage);

}  // namespace wiremap
