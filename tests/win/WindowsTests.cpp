// The tests of the Windows build, run under Wine by `make test-windows` with the test
// automation server registered: the COM adapter against the simulated host it serves
// (same records, same raw data, same errors), a server that fails or is gone, reference
// counts, and the system's text comparison against the table every backend shares.
// Prints "N passed, N failed"; with --timings it times retrievals through COM instead.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "../host/SimTestDrawings.h"
#include "../model/CommonCollation.h"
#include "WinTest.h"
#include "host/ComHost.h"
#include "host/DemoDrawing.h"
#include "host/NetRead.h"
#include "host/SimHostFactory.h"
#include "rawdata/RawData.h"

namespace wiremap {
namespace {

// What a retrieval gave: the records, or the error's class and message.
struct TOutcome {
  TConnectionRecs Records;
  std::string Error;
  int32_t Progress = 0;
};

TOutcome Retrieve(const std::function<std::shared_ptr<IPCsApplication>()>& AConnect) {
  TOutcome Outcome;
  try {
    const auto Application = AConnect();
    RetrieveConnections(Application, Outcome.Records, [&Outcome](int32_t APosition, int32_t) {
      Outcome.Progress = APosition;
      return true;
    });
  } catch (const Exception& AError) {
    Outcome.Records.clear();
    Outcome.Error = "Exception " + AError.ClassName() + "\r\n" + AError.Message();
  }
  return Outcome;
}

TOutcome RetrieveThroughCom() {
  return Retrieve([] { return CoApplication::Create(); });
}

// The same drawing and faults on a simulated host in this process.
TOutcome RetrieveDirectly(const TTestServerSettings& ASettings) {
  return Retrieve([&ASettings] {
    auto Host = std::make_shared<TSimulatedHost>(DemoDrawing());
    Host->Faults().FailOperation = ASettings.FailOperation;
    Host->Faults().FailCall = ASettings.FailCall;
    Host->Faults().GoneAfterEntries = ASettings.GoneAfterEntries;
    return Host;
  });
}

bool SamePoints(const std::vector<TRawPoint>& A, const std::vector<TRawPoint>& B) {
  return A == B;
}

bool SameRawData(const TSymbols& ASymbols, const TPolylines& ALines, const TSymbols& BSymbols,
                 const TPolylines& BLines) {
  if (ASymbols.size() != BSymbols.size() || ALines.size() != BLines.size()) return false;
  for (size_t I = 0; I < ASymbols.size(); ++I) {
    const TSymbol &A = ASymbols[I], &B = BSymbols[I];
    if (A.Handle != B.Handle || A.SymbolType != B.SymbolType || A.Page != B.Page ||
        A.Layer != B.Layer || A.Name != B.Name || !SamePoints(A.Pins, B.Pins))
      return false;
  }
  for (size_t I = 0; I < ALines.size(); ++I) {
    const TPolyline &A = ALines[I], &B = BLines[I];
    if (A.Handle != B.Handle || A.Page != B.Page || A.Layer != B.Layer ||
        A.IsJumper != B.IsJumper || A.IsCable != B.IsCable || !SamePoints(A.Vertices, B.Vertices))
      return false;
  }
  return true;
}

void TestRetrievalEqualsTheSimulatedHost(const TServer& AServer) {
  // Faults the server reports through IErrorInfo reach the caller as the host raised them.
  const std::vector<TTestServerSettings> Cases = {
      Settings(),
      Settings("IHostDocument.SymbolByHandle", 7),
      Settings("IHostPinList.Item", 1),
      Settings("IHostServices.GetConnection", 12),
      Settings("IHostServices.ConnectionCount", 1),
      Settings("IPCsApplication.Project", 1),
  };
  for (const TTestServerSettings& Case : Cases) {
    AServer.Configure(Case);
    const TOutcome Com = RetrieveThroughCom();
    const TOutcome Direct = RetrieveDirectly(Case);
    const std::string Name = std::string("retrieval with fault '") + Case.FailOperation + "'";
    Check(Com.Error == Direct.Error,
          Name + ": error '" + Com.Error + "' vs '" + Direct.Error + "'");
    Check(Com.Records == Direct.Records && Com.Progress == Direct.Progress,
          Name + ": same records and progress");
    Check(AServer.LiveObjects() == 0, Name + ": every server object released");
  }
  AServer.Configure(Settings());
  {
    const auto Application = CoApplication::Create();
    const auto Project = Application->Project();
    Check(AServer.LiveObjects() == 2, "the server counts the objects the program holds");
  }
  Check(AServer.LiveObjects() == 0, "and counts them released");
  const TOutcome Demo = RetrieveThroughCom();
  Check(Demo.Error.empty() && !Demo.Records.empty(), "the demo drawing has connections");
}

void TestRawDataEqualsTheSimulatedHost(const TServer& AServer) {
  AServer.Configure(Settings());
  TSymbols ComSymbols, SimSymbols;
  TPolylines ComLines, SimLines;
  int Reports = 0;
  const THostErrorReport Report = [&Reports](const std::exception&) { ++Reports; };
  RetrieveRawData(ComSymbols, ComLines, Report);
  {
    TSimHostFactory Simulated(DemoDrawing());
    RetrieveRawData(SimSymbols, SimLines, Report);
  }
  Check(Reports == 0 && !ComSymbols.empty() && !ComLines.empty(), "raw data read through COM");
  Check(SameRawData(ComSymbols, ComLines, SimSymbols, SimLines),
        "raw data through COM equals the simulated host's");
  Check(AServer.LiveObjects() == 0, "raw data: every server object released");
}

void TestFailingCalls(const TServer& AServer) {
  TTestServerSettings WithInfo = Settings("IHostSymbol.Name", 3);
  AServer.Configure(WithInfo);
  Check(RetrieveThroughCom().Error == "Exception EOleException\r\nIHostSymbol.Name failed (call 3)",
        "a failing HRESULT with error info gives the server's message");

  TTestServerSettings Bare = WithInfo;
  Bare.ErrorInfo = 0;
  AServer.Configure(Bare);
  Check(RetrieveThroughCom().Error ==
            "Exception EOleException\r\nIHostSymbol.Name failed with HRESULT 0x80004005",
        "a failing HRESULT without error info gives the HRESULT in hex");

  TTestServerSettings Gone = Settings();
  Gone.GoneAfterEntries = 5;
  AServer.Configure(Gone);
  const TOutcome Outcome = RetrieveThroughCom();
  Check(Outcome.Error.rfind("Exception EOleSysError\r\nThe CAD application cannot be reached", 0) ==
                0 &&
            Outcome.Error.find("0x80010108") != std::string::npos,
        "a server gone during the retrieval gives the window's error: '" + Outcome.Error + "'");

  TTestServerSettings Refused = Settings();
  Refused.RefuseCreation = 1;
  AServer.Configure(Refused);
  Check(RetrieveThroughCom().Error.rfind(
            "Exception EOleSysError\r\nThe CAD application could not be started", 0) == 0,
        "a server that cannot start raises EOleSysError");
  TSymbols Symbols(1);
  TPolylines Lines(1);
  std::string Reported;
  RetrieveRawData(Symbols, Lines, [&Reported](const std::exception& AError) {
    const auto* Error = dynamic_cast<const Exception*>(&AError);
    Reported = Error ? Error->ClassName() : AError.what();
  });
  Check(Reported == "EOleSysError" && Symbols.empty() && Lines.empty(),
        "raw data without a server: reported once, nothing read");

  Check(Retrieve([] {
          return CreateComApplication("{00000000-1111-2222-3333-444444444444}");
        }).Error.rfind("Exception EOleSysError\r\nThe CAD application is not installed", 0) == 0,
        "an unregistered class raises EOleSysError");
  Check(AServer.LiveObjects() == 0, "failures: every server object released");
  AServer.Configure(Settings());
}

void TestCollation() {
  for (const char* Locale : {"en-US", "de-DE"}) {
    SetCollationLocale(Locale);
    const std::vector<std::string> Mismatches = CommonCollationMismatches();
    Check(Mismatches.empty(), std::string("collation ") + Locale + " orders the common table" +
                                  (Mismatches.empty() ? "" : ": " + Mismatches.front()));
  }
  SetCollationLocale("");
  Check(CompareText("-K1", "A1") > 0, "Windows word sort passes over a leading hyphen");

  // Keys must order and identify texts as the comparison does, punctuation included.
  const std::vector<std::string> Pieces = {
      "a", "A", "b", "-", "'", " ", "1", "0", "\xC3\xA9", "\xC3\x89", "e", ".", "\xE2\x80\x90"};
  std::mt19937 Random(23);
  std::uniform_int_distribution<size_t> Piece(0, Pieces.size() - 1), Length(0, 4);
  const auto Make = [&] {
    std::string Text;
    for (size_t I = Length(Random); I > 0; --I) Text += Pieces[Piece(Random)];
    return Text;
  };
  int Disagreements = 0;
  std::string First;
  for (int I = 0; I < 3000; ++I) {
    const std::string A = Make(), B = Make();
    const std::string KeyA = CollationKey(A), KeyB = CollationKey(B);
    const int Compared = CompareText(A, B), Keyed = CompareKeyed(KeyA, A, KeyB, B);
    if ((Compared < 0) != (Keyed < 0) || (Compared == 0) != (KeyA == KeyB)) {
      if (Disagreements++ == 0) First = "'" + A + "' vs '" + B + "'";
    }
  }
  Check(Disagreements == 0, "collation keys agree with the comparison: " + First);
}

double Seconds(const std::function<void()>& AWork) {
  const auto Start = std::chrono::steady_clock::now();
  AWork();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// Median of five runs, in milliseconds.
double MedianMilliseconds(const std::function<void()>& AWork) {
  std::vector<double> Runs;
  for (int I = 0; I < 5; ++I) Runs.push_back(Seconds(AWork) * 1000.0);
  std::sort(Runs.begin(), Runs.end());
  return Runs[2];
}

// Retrievals of one connected application object (the server makes its drawing when it
// is created, which is not the retrieval's cost), through COM and, for comparison, from
// the same simulated host called directly.
int RunTimings(const TServer& AServer) {
  for (const int32_t Records : {0, 10000}) {
    TTestServerSettings Size = Settings();
    Size.Records = Records;
    AServer.Configure(Size);
    const auto Com = CoApplication::Create();
    const auto Direct =
        std::make_shared<TSimulatedHost>(Records == 0 ? DemoDrawing() : WireList(Records, true));
    for (const auto& [Way, Application] :
         {std::pair{"through COM", Com},
          std::pair<const char*, std::shared_ptr<IPCsApplication>>{"direct     ", Direct}}) {
      TConnectionRecs Connections;
      const double Milliseconds = MedianMilliseconds([&] {
        RetrieveConnections(Application, Connections, [](int32_t, int32_t) { return true; });
      });
      std::printf("retrieval %s, %s: %zu records, median %.1f ms\n", Way,
                  Records == 0 ? "demo drawing  " : "generated list", Connections.size(),
                  Milliseconds);
    }
  }
  AServer.Configure(Settings());
  TSymbols Symbols;
  TPolylines Lines;
  const double RawData =
      MedianMilliseconds([&] { RetrieveRawData(Symbols, Lines, [](const std::exception&) {}); });
  std::printf("raw data through COM, demo drawing: %zu symbols, %zu lines, median %.1f ms\n",
              Symbols.size(), Lines.size(), RawData);
  return 0;
}

}  // namespace
}  // namespace wiremap

int main(int AArgc, char** AArgv) {
  using namespace wiremap;
  // A first application object loads the registered server into this process.
  try {
    CoApplication::Create();
  } catch (const Exception& AError) {
    std::cerr << "The test server is not registered: " << AError.Message() << "\n";
  }
  const TServer Loaded;
  if (!Loaded.Loaded()) {
    std::cout << "0 passed, 1 failed\n";
    return 1;
  }
  const std::string Mode = AArgc > 1 ? AArgv[1] : "";
  if (Mode == "--timings") return RunTimings(Loaded);
  if (Mode == "--demo-csv") return PrintDemoCsv();
  TestRetrievalEqualsTheSimulatedHost(Loaded);
  TestRawDataEqualsTheSimulatedHost(Loaded);
  TestFailingCalls(Loaded);
  TestCollation();
  TestExporter(Loaded);
  std::cout << GPassed << " passed, " << GFailed << " failed\n";
  return GFailed == 0 ? 0 : 1;
}
