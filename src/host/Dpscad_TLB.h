#pragma once

// The CAD host's automation interface as Wiremap uses it: one abstract class per host
// interface. The built-in simulated host implements them (host/SimulatedHost.h); an
// adapter to a real automation server would implement the same classes.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "model/Exception.h"

namespace wiremap {

// A position in the drawing: three coordinates in thousandths of the drawing unit.
struct THostPosition {
  int32_t X = 0, Y = 0, Z = 0;
};

// One element of a host variant array.
using TVariant = std::variant<std::monostate, int32_t, double, std::string>;

// The element as an integer: an integer, or a double with a whole value in range;
// anything else raises EVariantTypeCastError.
int32_t VariantToInt(const TVariant& AValue);

// A host call that failed; the message is the host's.
class EOleException : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EOleException"; }
};

// No host could be created or reached.
class EOleSysError : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EOleSysError"; }
};

// An object does not offer the interface asked for.
class EIntfCastError : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EIntfCastError"; }
};

// A variant element that cannot be read as the type asked for.
class EVariantTypeCastError : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EVariantTypeCastError"; }
};

class IHostLayer {
 public:
  virtual ~IHostLayer() = default;
  virtual int32_t Number() = 0;
};

class IHostPin {
 public:
  virtual ~IHostPin() = default;
  virtual THostPosition Position() = 0;
  virtual std::string Name() = 0;
};

class IHostVertex {
 public:
  virtual ~IHostVertex() = default;
  virtual THostPosition Position() = 0;
};

class IHostPinList {
 public:
  virtual ~IHostPinList() = default;
  virtual std::shared_ptr<IHostPin> Item(int32_t AIndex) = 0;
  virtual int32_t Count() = 0;
};

class IHostVertexList {
 public:
  virtual ~IHostVertexList() = default;
  virtual std::shared_ptr<IHostVertex> Item(int32_t AIndex) = 0;
  virtual int32_t Count() = 0;
};

class IHostSymbol {
 public:
  virtual ~IHostSymbol() = default;
  virtual bool Active() = 0;
  virtual int32_t Handle() = 0;
  virtual int32_t BranchState() = 0;
  virtual std::shared_ptr<IHostLayer> Layer() = 0;
  virtual std::shared_ptr<IHostPinList> Pins() = 0;
  virtual std::string Name() = 0;
  virtual int32_t SymbolType() = 0;
};

class IHostSymbolList {
 public:
  virtual ~IHostSymbolList() = default;
  virtual std::shared_ptr<IHostSymbol> Item(int32_t AIndex) = 0;
  virtual int32_t Count() = 0;
};

class IHostLine {
 public:
  virtual ~IHostLine() = default;
  virtual std::shared_ptr<IHostVertexList> Vertices() = 0;
  virtual std::shared_ptr<IHostLayer> Layer() = 0;
  virtual bool Active() = 0;
  virtual bool Electric() = 0;
  virtual bool Jumper() = 0;
  virtual bool Cable() = 0;
  virtual int32_t Handle() = 0;
};

class IHostLineList {
 public:
  virtual ~IHostLineList() = default;
  virtual std::shared_ptr<IHostLine> Item(int32_t AIndex) = 0;
  virtual int32_t Count() = 0;
};

class IPCsFigure {
 public:
  virtual ~IPCsFigure() = default;
};

class IPCsPage : public IPCsFigure {
 public:
  virtual std::shared_ptr<IHostLineList> Lines() = 0;
  virtual std::shared_ptr<IHostSymbolList> Symbols() = 0;
  virtual int32_t PageKind() = 0;
};

class IHostPageList {
 public:
  virtual ~IHostPageList() = default;
  virtual std::shared_ptr<IPCsPage> Item(int32_t AIndex) = 0;
  virtual int32_t Count() = 0;
};

class IHostDocument {
 public:
  virtual ~IHostDocument() = default;
  virtual std::shared_ptr<IHostPageList> Pages() = 0;
  virtual std::shared_ptr<IHostSymbol> SymbolByHandle(int32_t APage, int32_t AHandle) = 0;
};

class IHostProject {
 public:
  virtual ~IHostProject() = default;
  virtual std::shared_ptr<IHostDocument> Document() = 0;
  virtual int32_t ProjectHandle() = 0;
};

class IHostServices {
 public:
  virtual ~IHostServices() = default;
  virtual std::array<std::string, 4> GetSignalNames(int32_t APage, int32_t AHandle) = 0;
  virtual int32_t GetStatus() = 0;
  virtual void SelectProject(int32_t AProjectHandle) = 0;
  virtual void BuildConnectionList(int32_t AFirst, int32_t ASecond) = 0;
  virtual void ReleaseConnectionList() = 0;
  virtual int32_t ConnectionCount() = 0;
  virtual std::vector<TVariant> GetConnection(int32_t AIndex, int32_t AFields) = 0;
};

class IPCsApplication {
 public:
  virtual ~IPCsApplication() = default;
  virtual std::shared_ptr<IHostProject> Project() = 0;
};

// AObject, handed back by a host call. A host that answers with no object has failed the
// call: EOleException, as for any failing call, instead of a crash further on.
template <typename TObject>
std::shared_ptr<TObject> Present(std::shared_ptr<TObject> AObject) {
  if (!AObject) throw EOleException("The CAD application returned no object");
  return AObject;
}

// ACount, a number of items a host list gave. A negative count means the call failed:
// EOleException, as for any failing call, instead of reading it as an empty list.
inline int32_t PresentCount(int32_t ACount) {
  if (ACount < 0)
    throw EOleException("The CAD application reported " + std::to_string(ACount) + " items");
  return ACount;
}

// The same object queried for its services; EIntfCastError when it has none.
std::shared_ptr<IHostServices> QueryHostServices(
    const std::shared_ptr<IPCsApplication>& AApplication);

// Makes the application object that CoApplication hands out.
using THostFactory = std::function<std::shared_ptr<IPCsApplication>()>;

// Installs AFactory; an empty function goes back to the default (the simulated host
// serving the demo drawing; on Windows the CAD application, host/ComHost.h).
void SetHostFactory(THostFactory AFactory);

struct CoApplication {
  // The factory's object. A factory that throws passes its exception on; one that gives
  // nullptr raises EOleSysError.
  static std::shared_ptr<IPCsApplication> Create();
};

}  // namespace wiremap
