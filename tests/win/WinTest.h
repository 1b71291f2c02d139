#pragma once

// What the Windows tests share: the pass/fail count and the test server COM loaded.

#include <windows.h>

#include <cstring>
#include <iostream>
#include <string>

#include "win/TestServerControl.h"

namespace wiremap {

inline int GPassed = 0, GFailed = 0;

inline void Check(bool ACondition, const std::string& AWhat) {
  if (ACondition) {
    ++GPassed;
    return;
  }
  ++GFailed;
  std::cerr << "FAILED: " << AWhat << "\n";
}

// The test server that COM loaded into this process.
class TServer {
 public:
  TServer() : FModule(LoadLibraryW(kTestServerFile)) {
    if (FModule == nullptr) return;
    FConfigure = reinterpret_cast<TTestServerConfigure>(
        reinterpret_cast<void*>(GetProcAddress(FModule, kTestServerConfigure)));
    FLiveObjects = reinterpret_cast<TTestServerLiveObjects>(
        reinterpret_cast<void*>(GetProcAddress(FModule, kTestServerLiveObjects)));
  }
  bool Loaded() const { return FConfigure != nullptr && FLiveObjects != nullptr; }
  void Configure(const TTestServerSettings& ASettings) const { FConfigure(&ASettings); }
  LONG LiveObjects() const { return FLiveObjects(); }

 private:
  HMODULE FModule;
  TTestServerConfigure FConfigure = nullptr;
  TTestServerLiveObjects FLiveObjects = nullptr;
};

inline TTestServerSettings Settings(const char* AFailOperation = "", int32_t AFailCall = 0) {
  TTestServerSettings Result;
  std::strncpy(Result.FailOperation, AFailOperation, sizeof Result.FailOperation - 1);
  Result.FailCall = AFailCall;
  return Result;
}

// The exporter's tests (ExporterTests.cpp), and the demo drawing's connection list as
// the exporter should write it, for the test script to compare the program's output with.
void TestExporter(const TServer& AServer);
int PrintDemoCsv();

}  // namespace wiremap
