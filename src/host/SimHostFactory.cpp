#include "host/SimHostFactory.h"

namespace wiremap {

TSimHostFactory::TSimHostFactory(TSimDrawing ADrawing) : FDrawing(std::move(ADrawing)) {
  SetHostFactory([this] { return Create(); });
}

TSimHostFactory::~TSimHostFactory() {
  SetHostFactory({});
}

std::shared_ptr<IPCsApplication> TSimHostFactory::Create() {
  ++FAttempts;
  if (RefuseCreation) throw EOleSysError("The CAD application is not running");
  FLastHost = std::make_shared<TSimulatedHost>(FDrawing);
  FLastHost->Faults() = Faults;
  return FLastHost;
}

}  // namespace wiremap
