#include "host/NetRead.h"

#include <string>
#include <vector>

namespace wiremap {
namespace {

// The entry's element AIndex as an integer; a missing element is an empty variant.
int32_t Element(const std::vector<TVariant>& AEntry, size_t AIndex) {
  return VariantToInt(AIndex < AEntry.size() ? AEntry[AIndex] : TVariant{});
}

// A host that answers a call with no object has failed it.
template <typename TObject>
std::shared_ptr<TObject> Present(std::shared_ptr<TObject> AObject) {
  if (!AObject) throw EOleException("The CAD application returned no object");
  return AObject;
}

// Every lookup walks down from the application object again, as a host expects of a
// client that keeps no objects between calls.
std::shared_ptr<IHostSymbol> SymbolByHandle(IPCsApplication& AApplication, int32_t AHandle) {
  const auto Project = Present(AApplication.Project());
  const auto Document = Present(Project->Document());
  return Present(Document->SymbolByHandle(-1, AHandle));
}

void ResolveEnd(IPCsApplication& AApplication, int32_t AHandle, int32_t APin,
                std::string& ADesignation, std::string& APinName) {
  const auto Symbol = SymbolByHandle(AApplication, AHandle);
  ADesignation = Symbol->Name();
  APinName = Present(Present(Symbol->Pins())->Item(APin))->Name();
}

TConnectionRec ReadConnection(IPCsApplication& AApplication, IHostServices& AServices,
                              int32_t AIndex) {
  const std::vector<TVariant> Entry = AServices.GetConnection(AIndex, 31);
  TConnectionRec Record;
  ResolveEnd(AApplication, Element(Entry, 0), Element(Entry, 1), Record.DesignationA, Record.PinA);
  Record.PageA = Element(Entry, 2);
  ResolveEnd(AApplication, Element(Entry, 4), Element(Entry, 5), Record.DesignationB, Record.PinB);
  Record.PageB = Element(Entry, 6);
  const int32_t Wire = Element(Entry, 8);
  Record.WireName = Wire == 0 ? "unknown" : SymbolByHandle(AApplication, Wire)->Name();
  return Record;
}

void ReadConnections(IPCsApplication& AApplication, IHostServices& AServices,
                     TConnectionRecs& AConnections, const TRetrievalProgress& AProgress) {
  AServices.SelectProject(Present(AApplication.Project())->ProjectHandle());
  AServices.BuildConnectionList(0, -1);
  const int32_t Count = AServices.ConnectionCount();
  if (Count < 0) throw EOleException("The host reported " + std::to_string(Count) + " connections");
  AConnections.assign(static_cast<size_t>(Count), TConnectionRec{});
  ProjectName.clear();

  TConnectionRecs Records;
  Records.reserve(static_cast<size_t>(Count));
  for (int32_t I = 0; I < Count; ++I) {
    Records.push_back(ReadConnection(AApplication, AServices, I));
    if (AProgress && !AProgress(I + 1, Count)) throw EUserAborted();
  }
  AConnections = std::move(Records);
}

}  // namespace

void RetrieveConnections(const std::shared_ptr<IPCsApplication>& AApplication,
                         TConnectionRecs& AConnections, const TRetrievalProgress& AProgress) {
  const auto Services = QueryHostServices(AApplication);
  try {
    ReadConnections(*AApplication, *Services, AConnections, AProgress);
  } catch (...) {
    // The first error is the one to report, not a failing release after it.
    try {
      Services->ReleaseConnectionList();
    } catch (...) {
    }
    throw;
  }
  Services->ReleaseConnectionList();
}

}  // namespace wiremap
