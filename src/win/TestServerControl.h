#pragma once

// How the Windows tests steer the test automation server (wiremap-testserver.dll) that
// COM loads into their process: plain C exports, found with GetProcAddress on the same
// module, so that nothing but plain data crosses the module boundary.

#include <windows.h>

#include <cstdint>

namespace wiremap {

// Applies to application objects created afterwards.
struct TTestServerSettings {
  int32_t Records = 0;            // 0: the demo drawing; else a generated list of wires
  char FailOperation[64] = {};    // "<interface>.<operation>": its call FailCall fails
  int32_t FailCall = 0;           // 1-based, counted over the application object's life
  int32_t ErrorInfo = 1;          // 1: a failing call describes itself through IErrorInfo
  int32_t GoneAfterEntries = -1;  // the server dies after this many entries (-1: never)
  int32_t RefuseCreation = 0;     // 1: the class factory cannot start the application
};

using TTestServerConfigure = void(WINAPI*)(const TTestServerSettings* ASettings);
using TTestServerLiveObjects = LONG(WINAPI*)();

inline constexpr const char* kTestServerConfigure = "WiremapTestServerConfigure";
inline constexpr const char* kTestServerLiveObjects = "WiremapTestServerLiveObjects";
inline constexpr const wchar_t* kTestServerFile = L"wiremap-testserver.dll";

}  // namespace wiremap
