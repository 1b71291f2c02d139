#pragma once

// The CAD host inside the program: every interface of host/Dpscad_TLB.h over a
// TSimDrawing (host/SimDrawing.h). CoApplication serves one over the demo drawing unless
// another factory is installed; tests and fuzzers make their own and switch on faults:
//
//   auto Host = std::make_shared<TSimulatedHost>(std::move(Drawing));
//   Host->Faults().FailOperation = "IHostDocument.SymbolByHandle";
//   Host->Faults().FailCall = 3;  // the third lookup fails
//   SetHostFactory([Host] { return Host; });
//   ... Host->ReleaseCount(), Host->CallCount("IHostServices.GetConnection")
//
// host/SimHostFactory.h installs a factory that makes a fresh host per connection and can
// refuse connections.
//
// The host behaves like a strict real one: a list's Item outside 0 .. Count-1, an unknown
// symbol handle or project handle, and reading the connection list before
// BuildConnectionList (or after ReleaseConnectionList) raise EOleException. GetConnection
// gives nine integers: handle, pin index and 1-based page of end A, end A's symbol type,
// the same four of end B, and the wire number symbol's handle (0: none).

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Dpscad_TLB.h"
#include "host/SimConnections.h"
#include "host/SimDrawing.h"

namespace wiremap {

// Faults a test can switch on; they take effect from the next host call.
struct TSimFaults {
  // Call number FailCall (1-based, counted over the host's life, failed calls included) of
  // the operation named FailOperation fails with EOleException. Names: "<interface>.
  // <operation>" as in TSimulatedHost::OperationNames().
  std::string FailOperation{};
  int32_t FailCall = 0;

  // GetConnection of entry BadEntry gives BadValue as its element BadElement.
  int32_t BadEntry = -1;
  int32_t BadElement = 0;
  TVariant BadValue = std::string("n/a");

  // Once this many GetConnection calls were made the host is gone: every later call of
  // any operation fails. 0: gone now; -1: never.
  int32_t GoneAfterEntries = -1;

  // Called with the entry index at the start of every GetConnection (a test can press
  // Abort here); then each call waits Delay (a slow host).
  std::function<void(int32_t AIndex)> OnGetConnection{};
  std::chrono::microseconds Delay{0};

  // Not a fault: every call is also logged with its arguments (TSimulatedHost::CallLog).
  bool LogCalls = false;
};

class TSimulatedHost : public IPCsApplication, public IHostServices {
 public:
  // Symbols and lines with handle 0 get the next free handles; two equal non-zero
  // handles raise std::invalid_argument.
  explicit TSimulatedHost(TSimDrawing ADrawing);
  ~TSimulatedHost() override;
  TSimulatedHost(const TSimulatedHost&) = delete;
  TSimulatedHost& operator=(const TSimulatedHost&) = delete;

  std::shared_ptr<IHostProject> Project() override;

  std::array<std::string, 4> GetSignalNames(int32_t APage, int32_t AHandle) override;
  int32_t GetStatus() override;
  void SelectProject(int32_t AProjectHandle) override;
  void BuildConnectionList(int32_t AFirst, int32_t ASecond) override;
  void ReleaseConnectionList() override;
  int32_t ConnectionCount() override;
  std::vector<TVariant> GetConnection(int32_t AIndex, int32_t AFields) override;

  // The drawing served, with every handle numbered.
  const TSimDrawing& Drawing() const;
  // The list that BuildConnectionList makes.
  const TSimConnections& Connections() const;

  TSimFaults& Faults();
  // Calls of the named operation so far; an unknown name raises std::invalid_argument.
  int32_t CallCount(std::string_view AOperation) const;
  int32_t ReleaseCount() const { return CallCount("IHostServices.ReleaseConnectionList"); }
  // With TSimFaults::LogCalls, every call so far in order: "<interface>.<operation>(<the
  // integer arguments, comma separated>)", such as "IHostServices.GetConnection(0, 31)".
  const std::vector<std::string>& CallLog() const;
  bool Gone() const;

  static const std::vector<std::string>& OperationNames();

  struct TState;  // shared with the objects the host hands out

 private:
  std::shared_ptr<TState> FState;
};

}  // namespace wiremap
