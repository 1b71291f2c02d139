#pragma once

// The real CAD host on Windows: the abstract host classes of host/Dpscad_TLB.h over the
// application's automation server, reached through COM. Every call goes through its slot
// in the interface's table (early bound: slot 7 is the first after IDispatch), returns an
// HRESULT and gives its result through the last parameter(s); strings arrive as BSTRs and
// become UTF-8, flags as 16-bit booleans. A failing HRESULT raises EOleException with the
// server's error description (IErrorInfo), or the HRESULT in hex when it gives none; a
// server that cannot be created or has gone away raises EOleSysError. Each object holds
// one reference and releases it once, when the last shared_ptr to it goes.
//
// The Windows build's CoApplication makes its application objects here; only that build
// compiles this unit.

#include <memory>
#include <string>

#include "host/Dpscad_TLB.h"

namespace wiremap {

// The ids the server is known by.
inline constexpr const char* kCadApplicationClassId = "{6CF6C0CA-D8FB-11D5-9030-0020AF16D6BF}";
inline constexpr const char* kApplicationInterfaceId = "{226A846F-E175-4CE5-8C6F-B57EC56EEAB6}";
inline constexpr const char* kServicesInterfaceId = "{C5E8FDA5-C88D-11D1-AE4B-0020AF16D64A}";
inline constexpr const char* kPageInterfaceId = "{5771AA42-30B5-496E-AB85-FB3CCE6F69B4}";
inline constexpr const char* kFigureInterfaceId = "{381FE3A1-B600-41D8-99BB-611897416A12}";

// Creates the application object of class AClassId (in-process or local server) and
// queries it for the services interface; an object without services still connects, and
// QueryHostServices on it raises EIntfCastError. COM is initialised on the calling thread
// (single-threaded apartment) when it was not yet.
std::shared_ptr<IPCsApplication> CreateComApplication(
    const std::string& AClassId = kCadApplicationClassId);

}  // namespace wiremap
