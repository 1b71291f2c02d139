#include "host/Dpscad_TLB.h"

#include <cmath>
#include <limits>

#include "host/DemoDrawing.h"
#include "host/SimulatedHost.h"
#ifdef _WIN32
#include "host/ComHost.h"
#endif

namespace wiremap {
namespace {

THostFactory& InstalledFactory() {
  static THostFactory Factory;
  return Factory;
}

// On Windows the CAD application itself; elsewhere, with no way to reach it, the
// built-in one.
std::shared_ptr<IPCsApplication> DefaultApplication() {
#ifdef _WIN32
  return CreateComApplication();
#else
  return std::make_shared<TSimulatedHost>(DemoDrawing());
#endif
}

const char* VariantTypeName(const TVariant& AValue) {
  switch (AValue.index()) {
    case 0:
      return "Empty";
    case 1:
      return "Integer";
    case 2:
      return "Double";
    default:
      return "String";
  }
}

}  // namespace

int32_t VariantToInt(const TVariant& AValue) {
  if (const auto* Int = std::get_if<int32_t>(&AValue)) return *Int;
  if (const auto* Real = std::get_if<double>(&AValue)) {
    if (std::isfinite(*Real) && std::trunc(*Real) == *Real &&
        *Real >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
        *Real <= static_cast<double>(std::numeric_limits<int32_t>::max()))
      return static_cast<int32_t>(*Real);
  }
  throw EVariantTypeCastError(std::string("Could not convert variant of type (") +
                              VariantTypeName(AValue) + ") into type (Integer)");
}

std::shared_ptr<IHostServices> QueryHostServices(
    const std::shared_ptr<IPCsApplication>& AApplication) {
  auto Services = std::dynamic_pointer_cast<IHostServices>(AApplication);
  if (!Services) throw EIntfCastError("Interface not supported");
  return Services;
}

void SetHostFactory(THostFactory AFactory) {
  InstalledFactory() = std::move(AFactory);
}

std::shared_ptr<IPCsApplication> CoApplication::Create() {
  const THostFactory& Factory = InstalledFactory();
  auto Application = Factory ? Factory() : DefaultApplication();
  if (!Application) throw EOleSysError("The CAD application could not be created");
  return Application;
}

}  // namespace wiremap
