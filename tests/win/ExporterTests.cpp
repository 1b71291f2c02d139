// The exporter against the test server: the CSV of what the simulated host serves, its
// progress line, and its errors as the command line reports them.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "WinTest.h"
#include "files/ProjectFile.h"
#include "host/DemoDrawing.h"
#include "host/NetRead.h"
#include "host/SimulatedHost.h"
#include "win/Exporter.h"

namespace wiremap {
namespace {

std::string DemoCsv() {
  TConnectionRecs Records;
  RetrieveConnections(std::make_shared<TSimulatedHost>(DemoDrawing()), Records, {});
  return WriteConnectionList(Records);
}

struct TRun {
  int Code;
  std::string Out, Err;
};

TRun Run(const std::vector<std::string>& AArgs) {
  std::ostringstream Out, Err;
  const int Code = RunExport(AArgs, Out, Err);
  return {Code, Out.str(), Err.str()};
}

std::string TempPath(const char* AName) {
  char Folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, Folder);
  return std::string(Folder) + AName;
}

// The file's bytes, and the file removed.
std::string TakeFile(const std::string& APath) {
  std::ifstream File(APath, std::ios::binary);
  std::string Text((std::istreambuf_iterator<char>(File)), {});
  File.close();
  std::remove(APath.c_str());
  return Text;
}

// Runs wiremap-export.exe (beside this program) with its standard output and error in
// files; gives its exit code, -1 when it could not run.
int RunProgram(const std::string& AOutput, const std::string& AError) {
  SECURITY_ATTRIBUTES Inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const auto Create = [&Inherit](const std::string& APath) {
    return CreateFileA(APath.c_str(), GENERIC_WRITE, 0, &Inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE Output = Create(AOutput), Error = Create(AError);
  char Program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, Program, MAX_PATH);
  std::string Folder(Program);
  Folder.resize(Folder.find_last_of('\\') + 1);
  std::string Command = "\"";
  Command.append(Folder).append("wiremap-export.exe\"");
  STARTUPINFOA Startup{};
  Startup.cb = sizeof Startup;
  Startup.dwFlags = STARTF_USESTDHANDLES;
  Startup.hStdOutput = Output;
  Startup.hStdError = Error;
  PROCESS_INFORMATION Process{};
  DWORD Code = static_cast<DWORD>(-1);
  if (Output != INVALID_HANDLE_VALUE && Error != INVALID_HANDLE_VALUE &&
      CreateProcessA(nullptr, Command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &Startup,
                     &Process) != 0) {
    WaitForSingleObject(Process.hProcess, 120000);
    GetExitCodeProcess(Process.hProcess, &Code);
    CloseHandle(Process.hThread);
    CloseHandle(Process.hProcess);
  }
  CloseHandle(Output);
  CloseHandle(Error);
  return static_cast<int>(Code);
}

}  // namespace

void TestExporter(const TServer& AServer) {
  AServer.Configure(Settings());
  const std::string Expected = DemoCsv();
  const TRun ToOutput = Run({});
  Check(ToOutput.Code == 0 && ToOutput.Out == Expected, "the exporter writes the demo's CSV");
  Check(ToOutput.Err.find("Retrieving connections: 276 of 276\n") != std::string::npos,
        "the exporter shows its progress: '" + ToOutput.Err + "'");

  const std::string Path = TempPath("wiremap-export-test.csv");
  const TRun ToFile = Run({Path});
  Check(ToFile.Code == 0 && ToFile.Out.empty() && TakeFile(Path) == Expected,
        "the exporter writes the CSV to the file named");

  const std::string Redirected = TempPath("wiremap-export-stdout.csv");
  const std::string Progress = TempPath("wiremap-export-stderr.txt");
  const int Code = RunProgram(Redirected, Progress);
  Check(Code == 0 && TakeFile(Redirected) == Expected &&
            TakeFile(Progress).find("276 of 276") != std::string::npos,
        "wiremap-export.exe writes the CSV unchanged to its standard output");

  const std::vector<std::pair<TTestServerSettings, std::string>> Failures = {
      {Settings("IHostSymbol.Name", 5), "wiremap-export: IHostSymbol.Name failed (call 5)\n"},
      {[] {
         TTestServerSettings Refused = Settings();
         Refused.RefuseCreation = 1;
         return Refused;
       }(),
       "wiremap-export: The CAD application could not be started"},
  };
  for (const auto& [Case, Message] : Failures) {
    AServer.Configure(Case);
    const TRun Failed = Run({});
    Check(Failed.Code == 2 && Failed.Out.empty() && Failed.Err.find(Message) != std::string::npos,
          "the exporter reports '" + Message + "': '" + Failed.Err + "'");
  }
  AServer.Configure(Settings());
  const TRun Usage = Run({"a.csv", "b.csv"});
  Check(Usage.Code == 2 && Usage.Err.rfind("wiremap-export: Too many arguments", 0) == 0,
        "the exporter refuses a second file");
  Check(AServer.LiveObjects() == 0, "exporter: every server object released");
}

int PrintDemoCsv() {
  const std::string Csv = DemoCsv();
  _setmode(_fileno(stdout), _O_BINARY);
  std::fwrite(Csv.data(), 1, Csv.size(), stdout);
  return 0;
}

}  // namespace wiremap
