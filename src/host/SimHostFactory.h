#pragma once

#include <memory>

#include "host/SimulatedHost.h"

namespace wiremap {

// While it lives, CoApplication connects to simulated hosts over one drawing: a fresh
// host per connection (as a restarted CAD application would be), each starting with
// the faults in Faults. Afterwards the default host is back.
class TSimHostFactory {
 public:
  explicit TSimHostFactory(TSimDrawing ADrawing);
  ~TSimHostFactory();
  TSimHostFactory(const TSimHostFactory&) = delete;
  TSimHostFactory& operator=(const TSimHostFactory&) = delete;

  // Connections fail with EOleSysError while this is set.
  bool RefuseCreation = false;
  TSimFaults Faults;

  // Connection attempts so far, refused ones included.
  int Attempts() const { return FAttempts; }
  // The host handed out last (nullptr before the first).
  const std::shared_ptr<TSimulatedHost>& LastHost() const { return FLastHost; }

 private:
  std::shared_ptr<IPCsApplication> Create();

  TSimDrawing FDrawing;
  int FAttempts = 0;
  std::shared_ptr<TSimulatedHost> FLastHost;
};

}  // namespace wiremap
