#include "host/SimulatedHost.h"

#include <algorithm>
#include <array>
#include <limits>
#include <set>
#include <stdexcept>
#include <thread>
#include <unordered_map>
#include <utility>

namespace wiremap {
namespace {

// Every operation the host counts; kOperationNames lists them in this order.
enum TOp : size_t {
  opProject,
  opGetSignalNames,
  opGetStatus,
  opSelectProject,
  opBuildConnectionList,
  opReleaseConnectionList,
  opConnectionCount,
  opGetConnection,
  opDocument,
  opProjectHandle,
  opPages,
  opSymbolByHandle,
  opPageListItem,
  opPageListCount,
  opPageLines,
  opPageSymbols,
  opPageKind,
  opSymbolListItem,
  opSymbolListCount,
  opSymbolActive,
  opSymbolHandle,
  opSymbolBranchState,
  opSymbolLayer,
  opSymbolPins,
  opSymbolName,
  opSymbolType,
  opPinListItem,
  opPinListCount,
  opPinPosition,
  opPinName,
  opLayerNumber,
  opLineVertices,
  opLineLayer,
  opLineActive,
  opLineElectric,
  opLineJumper,
  opLineCable,
  opLineHandle,
  opLineListItem,
  opLineListCount,
  opVertexListItem,
  opVertexListCount,
  opVertexPosition,
  opOperationCount
};

const std::vector<std::string> kOperationNames = {"IPCsApplication.Project",
                                                  "IHostServices.GetSignalNames",
                                                  "IHostServices.GetStatus",
                                                  "IHostServices.SelectProject",
                                                  "IHostServices.BuildConnectionList",
                                                  "IHostServices.ReleaseConnectionList",
                                                  "IHostServices.ConnectionCount",
                                                  "IHostServices.GetConnection",
                                                  "IHostProject.Document",
                                                  "IHostProject.ProjectHandle",
                                                  "IHostDocument.Pages",
                                                  "IHostDocument.SymbolByHandle",
                                                  "IHostPageList.Item",
                                                  "IHostPageList.Count",
                                                  "IPCsPage.Lines",
                                                  "IPCsPage.Symbols",
                                                  "IPCsPage.PageKind",
                                                  "IHostSymbolList.Item",
                                                  "IHostSymbolList.Count",
                                                  "IHostSymbol.Active",
                                                  "IHostSymbol.Handle",
                                                  "IHostSymbol.BranchState",
                                                  "IHostSymbol.Layer",
                                                  "IHostSymbol.Pins",
                                                  "IHostSymbol.Name",
                                                  "IHostSymbol.SymbolType",
                                                  "IHostPinList.Item",
                                                  "IHostPinList.Count",
                                                  "IHostPin.Position",
                                                  "IHostPin.Name",
                                                  "IHostLayer.Number",
                                                  "IHostLine.Vertices",
                                                  "IHostLine.Layer",
                                                  "IHostLine.Active",
                                                  "IHostLine.Electric",
                                                  "IHostLine.Jumper",
                                                  "IHostLine.Cable",
                                                  "IHostLine.Handle",
                                                  "IHostLineList.Item",
                                                  "IHostLineList.Count",
                                                  "IHostVertexList.Item",
                                                  "IHostVertexList.Count",
                                                  "IHostVertex.Position"};

struct TSymbolPlace {
  int32_t Page;
  const TSimSymbol* Symbol;
};

}  // namespace

struct TSimulatedHost::TState {
  TSimDrawing Drawing;
  TSimConnections Connections;
  std::unordered_map<int32_t, TSymbolPlace> Symbols;
  TSimFaults Faults;
  std::array<int32_t, opOperationCount> Counts{};
  bool ListBuilt = false;

  bool Gone() const {
    return Faults.GoneAfterEntries >= 0 && Counts[opGetConnection] >= Faults.GoneAfterEntries;
  }

  std::vector<std::string> Log;

  // Every host call passes here: it is counted (and logged), then a gone host or a planned
  // fault fails it.
  void Call(TOp AOp, std::initializer_list<int32_t> AArguments = {}) {
    const bool WasGone = Gone();
    const int32_t Number = ++Counts[AOp];
    if (Faults.LogCalls) {
      std::string Entry = kOperationNames[AOp] + "(";
      for (const int32_t Argument : AArguments)
        Entry += (Entry.back() == '(' ? "" : ", ") + std::to_string(Argument);
      Log.push_back(Entry + ")");
    }
    if (WasGone) throw EOleException("The CAD application is no longer running");
    if (Number == Faults.FailCall && kOperationNames[AOp] == Faults.FailOperation)
      throw EOleException(kOperationNames[AOp] + " failed (call " + std::to_string(Number) + ")");
  }

  void CheckIndex(int32_t AIndex, size_t ACount) const {
    if (AIndex < 0 || static_cast<size_t>(AIndex) >= ACount)
      throw EOleException("Index " + std::to_string(AIndex) + " is out of range (" +
                          std::to_string(ACount) + " items)");
  }

  const TSymbolPlace& FindSymbol(int32_t APage, int32_t AHandle) const {
    const auto It = Symbols.find(AHandle);
    if (It == Symbols.end() || (APage != -1 && APage != It->second.Page))
      throw EOleException("No symbol with handle " + std::to_string(AHandle));
    return It->second;
  }

  void CheckListBuilt() const {
    if (!ListBuilt) throw EOleException("The connection list has not been built");
  }
};

namespace {

using TStatePtr = std::shared_ptr<TSimulatedHost::TState>;

// The objects the host hands out keep the host's state alive, as COM references would.
class TSimObject {
 protected:
  explicit TSimObject(TStatePtr AState) : FState(std::move(AState)) {}
  TSimulatedHost::TState& State() const { return *FState; }
  const TStatePtr& StatePtr() const { return FState; }

 private:
  TStatePtr FState;
};

class TSimLayer : public IHostLayer, TSimObject {
 public:
  TSimLayer(TStatePtr AState, int32_t ANumber) : TSimObject(std::move(AState)), FNumber(ANumber) {}
  int32_t Number() override {
    State().Call(opLayerNumber);
    return FNumber;
  }

 private:
  int32_t FNumber;
};

class TSimPinObject : public IHostPin, TSimObject {
 public:
  TSimPinObject(TStatePtr AState, const TSimPin& APin)
      : TSimObject(std::move(AState)), FPin(APin) {}
  THostPosition Position() override {
    State().Call(opPinPosition);
    return FPin.Position;
  }
  std::string Name() override {
    State().Call(opPinName);
    return FPin.Name;
  }

 private:
  const TSimPin& FPin;
};

class TSimVertex : public IHostVertex, TSimObject {
 public:
  TSimVertex(TStatePtr AState, THostPosition APosition)
      : TSimObject(std::move(AState)), FPosition(APosition) {}
  THostPosition Position() override {
    State().Call(opVertexPosition);
    return FPosition;
  }

 private:
  THostPosition FPosition;
};

// A host list over the items AItems of the drawing; each item handed out as a new
// TObject over it, counted as the operations AItemOp and ACountOp.
template <class TInterface, class TObject, class TItem, TOp AItemOp, TOp ACountOp>
class TSimList : public TInterface, TSimObject {
 public:
  TSimList(TStatePtr AState, const std::vector<TItem>& AItems)
      : TSimObject(std::move(AState)), FItems(AItems) {}
  decltype(std::declval<TInterface&>().Item(0)) Item(int32_t AIndex) override {
    State().Call(AItemOp, {AIndex});
    State().CheckIndex(AIndex, FItems.size());
    return std::make_shared<TObject>(StatePtr(), FItems[static_cast<size_t>(AIndex)]);
  }
  int32_t Count() override {
    State().Call(ACountOp);
    return static_cast<int32_t>(FItems.size());
  }

 private:
  const std::vector<TItem>& FItems;
};

using TSimPinList = TSimList<IHostPinList, TSimPinObject, TSimPin, opPinListItem, opPinListCount>;
using TSimVertexList =
    TSimList<IHostVertexList, TSimVertex, THostPosition, opVertexListItem, opVertexListCount>;

class TSimSymbolObject : public IHostSymbol, TSimObject {
 public:
  TSimSymbolObject(TStatePtr AState, const TSimSymbol& ASymbol)
      : TSimObject(std::move(AState)), FSymbol(ASymbol) {}
  bool Active() override {
    State().Call(opSymbolActive);
    return FSymbol.Active;
  }
  int32_t Handle() override {
    State().Call(opSymbolHandle);
    return FSymbol.Handle;
  }
  int32_t BranchState() override {
    State().Call(opSymbolBranchState);
    return FSymbol.BranchState;
  }
  std::shared_ptr<IHostLayer> Layer() override {
    State().Call(opSymbolLayer);
    return std::make_shared<TSimLayer>(StatePtr(), FSymbol.Layer);
  }
  std::shared_ptr<IHostPinList> Pins() override {
    State().Call(opSymbolPins);
    return std::make_shared<TSimPinList>(StatePtr(), FSymbol.Pins);
  }
  std::string Name() override {
    State().Call(opSymbolName);
    return FSymbol.Name;
  }
  int32_t SymbolType() override {
    State().Call(opSymbolType);
    return FSymbol.SymbolType;
  }

 private:
  const TSimSymbol& FSymbol;
};

class TSimLineObject : public IHostLine, TSimObject {
 public:
  TSimLineObject(TStatePtr AState, const TSimLine& ALine)
      : TSimObject(std::move(AState)), FLine(ALine) {}
  std::shared_ptr<IHostVertexList> Vertices() override {
    State().Call(opLineVertices);
    return std::make_shared<TSimVertexList>(StatePtr(), FLine.Vertices);
  }
  std::shared_ptr<IHostLayer> Layer() override {
    State().Call(opLineLayer);
    return std::make_shared<TSimLayer>(StatePtr(), FLine.Layer);
  }
  bool Active() override {
    State().Call(opLineActive);
    return FLine.Active;
  }
  bool Electric() override {
    State().Call(opLineElectric);
    return FLine.Electric;
  }
  bool Jumper() override {
    State().Call(opLineJumper);
    return FLine.Jumper;
  }
  bool Cable() override {
    State().Call(opLineCable);
    return FLine.Cable;
  }
  int32_t Handle() override {
    State().Call(opLineHandle);
    return FLine.Handle;
  }

 private:
  const TSimLine& FLine;
};

using TSimSymbolList =
    TSimList<IHostSymbolList, TSimSymbolObject, TSimSymbol, opSymbolListItem, opSymbolListCount>;
using TSimLineList =
    TSimList<IHostLineList, TSimLineObject, TSimLine, opLineListItem, opLineListCount>;

class TSimPageObject : public IPCsPage, TSimObject {
 public:
  TSimPageObject(TStatePtr AState, const TSimPage& APage)
      : TSimObject(std::move(AState)), FPage(APage) {}
  std::shared_ptr<IHostLineList> Lines() override {
    State().Call(opPageLines);
    return std::make_shared<TSimLineList>(StatePtr(), FPage.Lines);
  }
  std::shared_ptr<IHostSymbolList> Symbols() override {
    State().Call(opPageSymbols);
    return std::make_shared<TSimSymbolList>(StatePtr(), FPage.Symbols);
  }
  int32_t PageKind() override {
    State().Call(opPageKind);
    return FPage.PageKind;
  }

 private:
  const TSimPage& FPage;
};

using TSimPageList =
    TSimList<IHostPageList, TSimPageObject, TSimPage, opPageListItem, opPageListCount>;

class TSimDocument : public IHostDocument, TSimObject {
 public:
  explicit TSimDocument(TStatePtr AState) : TSimObject(std::move(AState)) {}
  std::shared_ptr<IHostPageList> Pages() override {
    State().Call(opPages);
    return std::make_shared<TSimPageList>(StatePtr(), State().Drawing.Pages);
  }
  std::shared_ptr<IHostSymbol> SymbolByHandle(int32_t APage, int32_t AHandle) override {
    State().Call(opSymbolByHandle, {APage, AHandle});
    return std::make_shared<TSimSymbolObject>(StatePtr(),
                                              *State().FindSymbol(APage, AHandle).Symbol);
  }
};

class TSimProject : public IHostProject, TSimObject {
 public:
  explicit TSimProject(TStatePtr AState) : TSimObject(std::move(AState)) {}
  std::shared_ptr<IHostDocument> Document() override {
    State().Call(opDocument);
    return std::make_shared<TSimDocument>(StatePtr());
  }
  int32_t ProjectHandle() override {
    State().Call(opProjectHandle);
    return State().Drawing.ProjectHandle;
  }
};

// Gives every symbol and line with handle 0 a handle of its own.
void NumberHandles(TSimDrawing& ADrawing) {
  std::set<int32_t> Used;
  const auto Claim = [&Used](int32_t AHandle) {
    if (AHandle != 0 && !Used.insert(AHandle).second)
      throw std::invalid_argument("Handle " + std::to_string(AHandle) + " is used twice");
  };
  for (const TSimPage& Page : ADrawing.Pages) {
    for (const TSimSymbol& Symbol : Page.Symbols) Claim(Symbol.Handle);
    for (const TSimLine& Line : Page.Lines) Claim(Line.Handle);
  }
  // After the largest handle given, wrapping round to 1 past the largest number.
  constexpr int32_t Largest = std::numeric_limits<int32_t>::max();
  int32_t Next = Used.empty() || *Used.rbegin() == Largest ? 1 : std::max(*Used.rbegin() + 1, 1);
  const auto Number = [&](int32_t& AHandle) {
    if (AHandle != 0) return;
    while (Used.count(Next) != 0) Next = Next == Largest ? 1 : Next + 1;
    AHandle = Next;
    Used.insert(Next);
  };
  for (TSimPage& Page : ADrawing.Pages) {
    for (TSimSymbol& Symbol : Page.Symbols) Number(Symbol.Handle);
    for (TSimLine& Line : Page.Lines) Number(Line.Handle);
  }
}

}  // namespace

TSimulatedHost::TSimulatedHost(TSimDrawing ADrawing) : FState(std::make_shared<TState>()) {
  NumberHandles(ADrawing);
  FState->Drawing = std::move(ADrawing);
  const std::vector<TSimPage>& Pages = FState->Drawing.Pages;
  for (size_t Page = 0; Page < Pages.size(); ++Page)
    for (const TSimSymbol& Symbol : Pages[Page].Symbols)
      FState->Symbols.emplace(Symbol.Handle, TSymbolPlace{static_cast<int32_t>(Page), &Symbol});
  FState->Connections = ComputeSimConnections(FState->Drawing);
}

TSimulatedHost::~TSimulatedHost() = default;

std::shared_ptr<IHostProject> TSimulatedHost::Project() {
  FState->Call(opProject);
  return std::make_shared<TSimProject>(FState);
}

std::array<std::string, 4> TSimulatedHost::GetSignalNames(int32_t APage, int32_t AHandle) {
  FState->Call(opGetSignalNames, {APage, AHandle});
  return {FState->FindSymbol(APage, AHandle).Symbol->SignalName, "", "", ""};
}

int32_t TSimulatedHost::GetStatus() {
  FState->Call(opGetStatus);
  return 0;
}

void TSimulatedHost::SelectProject(int32_t AProjectHandle) {
  FState->Call(opSelectProject, {AProjectHandle});
  if (AProjectHandle != FState->Drawing.ProjectHandle)
    throw EOleException("No project with handle " + std::to_string(AProjectHandle));
}

void TSimulatedHost::BuildConnectionList(int32_t AFirst, int32_t ASecond) {
  FState->Call(opBuildConnectionList, {AFirst, ASecond});
  FState->ListBuilt = true;
}

void TSimulatedHost::ReleaseConnectionList() {
  FState->Call(opReleaseConnectionList);
  FState->ListBuilt = false;
}

int32_t TSimulatedHost::ConnectionCount() {
  FState->Call(opConnectionCount);
  FState->CheckListBuilt();
  return static_cast<int32_t>(FState->Connections.size());
}

std::vector<TVariant> TSimulatedHost::GetConnection(int32_t AIndex, int32_t AFields) {
  TState& State = *FState;
  State.Call(opGetConnection, {AIndex, AFields});
  if (State.Faults.OnGetConnection) State.Faults.OnGetConnection(AIndex);
  if (State.Faults.Delay.count() > 0) std::this_thread::sleep_for(State.Faults.Delay);
  State.CheckListBuilt();
  State.CheckIndex(AIndex, State.Connections.size());
  const TSimConnection& Entry = State.Connections[static_cast<size_t>(AIndex)];
  const auto TypeOf = [&State](int32_t AHandle) {
    return State.Symbols.at(AHandle).Symbol->SymbolType;
  };
  std::vector<TVariant> Fields{Entry.HandleA,   Entry.PinA, Entry.PageA, TypeOf(Entry.HandleA),
                               Entry.HandleB,   Entry.PinB, Entry.PageB, TypeOf(Entry.HandleB),
                               Entry.WireHandle};
  if (AIndex == State.Faults.BadEntry && State.Faults.BadElement >= 0 &&
      static_cast<size_t>(State.Faults.BadElement) < Fields.size())
    Fields[static_cast<size_t>(State.Faults.BadElement)] = State.Faults.BadValue;
  return Fields;
}

const TSimDrawing& TSimulatedHost::Drawing() const {
  return FState->Drawing;
}

const TSimConnections& TSimulatedHost::Connections() const {
  return FState->Connections;
}

TSimFaults& TSimulatedHost::Faults() {
  return FState->Faults;
}

int32_t TSimulatedHost::CallCount(std::string_view AOperation) const {
  const auto It = std::find(kOperationNames.begin(), kOperationNames.end(), AOperation);
  if (It == kOperationNames.end())
    throw std::invalid_argument("Unknown host operation " + std::string(AOperation));
  return FState->Counts[static_cast<size_t>(It - kOperationNames.begin())];
}

const std::vector<std::string>& TSimulatedHost::CallLog() const {
  return FState->Log;
}

bool TSimulatedHost::Gone() const {
  return FState->Gone();
}

const std::vector<std::string>& TSimulatedHost::OperationNames() {
  return kOperationNames;
}

}  // namespace wiremap
