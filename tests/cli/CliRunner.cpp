#include "CliRunner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "host/Dpscad_TLB.h"
#include "host/NetRead.h"
#include "model/SampleProjects.h"

extern char** environ;

namespace wiremap {

namespace {

// This process's folder, removed with everything in it when the process ends.
class TTempFolder {
 public:
  TTempFolder()
      : FPath(std::filesystem::temp_directory_path() /
              ("wiremap-cli-tests-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(FPath);
  }
  ~TTempFolder() {
    std::error_code Error;
    std::filesystem::remove_all(FPath, Error);
  }
  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FPath;
};

}  // namespace

std::string TempPath(const std::string& AName) {
  static const TTempFolder Folder;
  return (Folder.Path() / AName).string();
}

std::string ReadFileBytes(const std::string& APath) {
  std::ifstream Stream(APath, std::ios::binary);
  std::ostringstream Bytes;
  Bytes << Stream.rdbuf();
  return Bytes.str();
}

void WriteFileBytes(const std::string& APath, const std::string& ABytes) {
  std::ofstream(APath, std::ios::binary) << ABytes;
}

TCliRun RunCli(const std::vector<std::string>& AArgs, const std::string& AStdout) {
  const std::string OutPath = AStdout.empty() ? TempPath("stdout") : AStdout;
  const std::string ErrPath = TempPath("stderr");
  std::vector<char*> Argv{const_cast<char*>(WIREMAP_CLI)};
  for (const std::string& Arg : AArgs) Argv.push_back(const_cast<char*>(Arg.c_str()));
  Argv.push_back(nullptr);
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 1, OutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&Actions, 2, ErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_t Pid = 0;
  const int Error = posix_spawn(&Pid, WIREMAP_CLI, &Actions, nullptr, Argv.data(), environ);
  posix_spawn_file_actions_destroy(&Actions);
  if (Error != 0) throw std::runtime_error("cannot start " WIREMAP_CLI);
  int WaitStatus = 0;
  ::waitpid(Pid, &WaitStatus, 0);
  TCliRun Run;
  Run.Status = WIFEXITED(WaitStatus) ? WEXITSTATUS(WaitStatus) : -1;
  if (AStdout.empty()) Run.Out = ReadFileBytes(OutPath);
  Run.Err = ReadFileBytes(ErrPath);
  return Run;
}

std::unique_ptr<TProject> ReferenceProject(const std::string& AInput) {
  if (AInput == "demo") {
    TConnectionRecs Records;
    RetrieveConnections(CoApplication::Create(), Records, [](int32_t, int32_t) { return true; });
    return std::make_unique<TProject>(std::move(Records), "");
  }
  const int Number = std::stoi(AInput.substr(7));
  return std::make_unique<TProject>(SampleRecords(Number), SampleProjectInfo(Number)->Caption);
}

void ExpectOutput(const TCliRun& ARun, int AStatus, const std::string& AOut) {
  EXPECT_EQ(ARun.Status, AStatus);
  EXPECT_TRUE(ARun.Out == AOut) << "standard output differs (" << ARun.Out.size() << " bytes, "
                                << AOut.size() << " expected)";
  EXPECT_EQ(ARun.Err, "");
}

void ExpectError(const TCliRun& ARun, const std::string& AMessage) {
  EXPECT_EQ(ARun.Status, 2);
  EXPECT_EQ(ARun.Out, "");
  EXPECT_EQ(ARun.Err.rfind("wiremap-cli: ", 0), 0u) << ARun.Err;
  EXPECT_NE(ARun.Err.find(AMessage), std::string::npos) << ARun.Err;
  EXPECT_EQ(ARun.Err.find('\n'), ARun.Err.size() - 1) << ARun.Err;
}

}  // namespace wiremap
