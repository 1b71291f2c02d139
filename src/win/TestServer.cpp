// The automation server the Windows tests talk to: an in-process COM server registered
// under the CAD application's class id, answering every slot the program calls, over the
// simulated host (the demo drawing or a generated wire list). Its tables are written from
// the host's published slot numbers, independently of the adapter. It counts its live
// objects so that tests can see every reference released; a host fault becomes a failing
// HRESULT with IErrorInfo, a host that is gone the result a dead server's proxy gives.

#include <windows.h>
// after windows.h, which they rely on
#include <oleauto.h>
#include <olectl.h>

#include <atomic>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../../tests/host/SimTestDrawings.h"
#include "host/ComHost.h"
#include "host/DemoDrawing.h"
#include "host/SimulatedHost.h"
#include "win/TestServerControl.h"

namespace wiremap {
namespace {

HMODULE GModule = nullptr;
std::atomic<LONG> GLiveObjects{0};
TTestServerSettings GSettings;
std::weak_ptr<TSimulatedHost> GHost;  // the last one made, to tell a gone server

GUID Guid(const char* AText) {
  const std::string Text(AText);
  const std::wstring Wide(Text.begin(), Text.end());
  GUID Result{};
  CLSIDFromString(Wide.c_str(), &Result);
  return Result;
}

std::wstring ToWide(const std::string& AText) {
  const int Size =
      MultiByteToWideChar(CP_UTF8, 0, AText.data(), static_cast<int>(AText.size()), nullptr, 0);
  std::wstring Result(static_cast<size_t>(Size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, AText.data(), static_cast<int>(AText.size()), Result.data(),
                      Size);
  return Result;
}

BSTR ToBstr(const std::string& AText) {
  const std::wstring Wide = ToWide(AText);
  return SysAllocStringLen(Wide.data(), static_cast<UINT>(Wide.size()));
}

void SetErrorDescription(const std::string& AMessage) {
  ICreateErrorInfo* Create = nullptr;
  if (FAILED(CreateErrorInfo(&Create))) return;
  const std::wstring Wide = ToWide(AMessage);
  Create->SetDescription(const_cast<LPOLESTR>(Wide.c_str()));
  IErrorInfo* Info = nullptr;
  if (SUCCEEDED(Create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&Info)))) {
    SetErrorInfo(0, Info);
    Info->Release();
  }
  Create->Release();
}

// Runs one call of the host; its exceptions become the HRESULTs a server gives.
template <typename TWork>
HRESULT Guard(TWork AWork) {
  try {
    AWork();
    return S_OK;
  } catch (const Exception& AError) {
    const auto Host = GHost.lock();
    if (Host && Host->Gone()) return RPC_E_DISCONNECTED;
    if (GSettings.ErrorInfo != 0) SetErrorDescription(AError.Message());
    return E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// An interface table: the slots a kind of object answers, every other one E_NOTIMPL.
using TTable = std::vector<void*>;

template <typename TFunction>
void* Entry(TFunction AFunction) {
  return reinterpret_cast<void*>(AFunction);
}

HRESULT STDMETHODCALLTYPE NotImplemented(void*) {
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE GetTypeInfoCount(void*, UINT* ACount) {
  *ACount = 0;
  return S_OK;
}

struct TServed;

// What a client holds: a pointer to the table, and the object it belongs to.
struct TInterfaceRef {
  const void* const* Table = nullptr;
  TServed* Outer = nullptr;
};

// What kind of object a table serves: the interface ids it answers to.
struct TKind {
  TTable Table;
  std::vector<GUID> Ids;
};

// One object handed to the client. The application object has a second interface, its
// services, reached by QueryInterface.
struct TServed {
  TInterfaceRef Primary;
  TInterfaceRef Services;
  LONG Refs = 1;
  const TKind* Kind = nullptr;
  std::shared_ptr<void> Object;
};

TServed& Outer(void* AThis) {
  return *static_cast<TInterfaceRef*>(AThis)->Outer;
}

template <typename T>
T& Self(void* AThis) {
  return *static_cast<T*>(Outer(AThis).Object.get());
}

GUID ServicesId() {
  static const GUID Id = Guid(kServicesInterfaceId);
  return Id;
}

ULONG STDMETHODCALLTYPE AddRef(void* AThis) {
  return static_cast<ULONG>(InterlockedIncrement(&Outer(AThis).Refs));
}

ULONG STDMETHODCALLTYPE Release(void* AThis) {
  TServed* Served = &Outer(AThis);
  const LONG Refs = InterlockedDecrement(&Served->Refs);
  if (Refs == 0) {
    delete Served;
    --GLiveObjects;
  }
  return static_cast<ULONG>(Refs);
}

HRESULT STDMETHODCALLTYPE QueryInterface(void* AThis, REFIID AId, void** AResult) {
  TServed& Served = Outer(AThis);
  *AResult = nullptr;
  if (AId == IID_IUnknown || AId == IID_IDispatch) *AResult = &Served.Primary;
  for (const GUID& Id : Served.Kind->Ids)
    if (AId == Id) *AResult = &Served.Primary;
  if (Served.Services.Table != nullptr && AId == ServicesId()) *AResult = &Served.Services;
  if (*AResult == nullptr) return E_NOINTERFACE;
  AddRef(AThis);
  return S_OK;
}

// A table with IUnknown, the IDispatch slots (no type information) and ASlots.
TTable MakeTable(std::initializer_list<std::pair<int, void*>> ASlots) {
  int Size = 7;
  for (const auto& [Slot, Function] : ASlots) Size = std::max(Size, Slot + 1);
  TTable Table(static_cast<size_t>(Size), Entry(&NotImplemented));
  Table[0] = Entry(&QueryInterface);
  Table[1] = Entry(&AddRef);
  Table[2] = Entry(&Release);
  Table[3] = Entry(&GetTypeInfoCount);
  for (const auto& [Slot, Function] : ASlots) Table[static_cast<size_t>(Slot)] = Function;
  return Table;
}

template <typename T>
const TKind& KindOf();

// Hands AObject to the client as a new COM object (none for a null object).
template <typename T>
void Serve(std::shared_ptr<T> AObject, IUnknown** AResult) {
  *AResult = nullptr;
  if (!AObject) return;
  auto* Served = new TServed;
  Served->Kind = &KindOf<T>();
  Served->Primary = {Served->Kind->Table.data(), Served};
  Served->Object = std::move(AObject);
  ++GLiveObjects;
  *AResult = reinterpret_cast<IUnknown*>(&Served->Primary);
}

// Generic slots over the host classes' operations.
template <typename T, int32_t (T::*Method)()>
HRESULT STDMETHODCALLTYPE IntSlot(void* AThis, LONG* AResult) {
  return Guard([&] { *AResult = (Self<T>(AThis).*Method)(); });
}

template <typename T, bool (T::*Method)()>
HRESULT STDMETHODCALLTYPE FlagSlot(void* AThis, VARIANT_BOOL* AResult) {
  return Guard([&] { *AResult = (Self<T>(AThis).*Method)() ? VARIANT_TRUE : VARIANT_FALSE; });
}

template <typename T, std::string (T::*Method)()>
HRESULT STDMETHODCALLTYPE StringSlot(void* AThis, BSTR* AResult) {
  *AResult = nullptr;
  return Guard([&] { *AResult = ToBstr((Self<T>(AThis).*Method)()); });
}

template <typename T, THostPosition (T::*Method)()>
HRESULT STDMETHODCALLTYPE PositionSlot(void* AThis, LONG* AX, LONG* AY, LONG* AZ) {
  return Guard([&] {
    const THostPosition Position = (Self<T>(AThis).*Method)();
    *AX = Position.X;
    *AY = Position.Y;
    *AZ = Position.Z;
  });
}

template <typename T, typename TResult, std::shared_ptr<TResult> (T::*Method)()>
HRESULT STDMETHODCALLTYPE ObjectSlot(void* AThis, IUnknown** AResult) {
  *AResult = nullptr;
  return Guard([&] { Serve((Self<T>(AThis).*Method)(), AResult); });
}

template <typename T, typename TResult, std::shared_ptr<TResult> (T::*Method)(int32_t)>
HRESULT STDMETHODCALLTYPE ItemSlot(void* AThis, LONG AIndex, IUnknown** AResult) {
  *AResult = nullptr;
  return Guard([&] { Serve((Self<T>(AThis).*Method)(AIndex), AResult); });
}

HRESULT STDMETHODCALLTYPE SymbolByHandle(void* AThis, LONG APage, LONG AHandle,
                                         IUnknown** AResult) {
  *AResult = nullptr;
  return Guard([&] { Serve(Self<IHostDocument>(AThis).SymbolByHandle(APage, AHandle), AResult); });
}

// The services, on the application object.
HRESULT STDMETHODCALLTYPE GetSignalNames(void* AThis, LONG APage, LONG AHandle, BSTR* A1, BSTR* A2,
                                         BSTR* A3, BSTR* A4) {
  *A1 = *A2 = *A3 = *A4 = nullptr;
  return Guard([&] {
    const auto Names = Self<TSimulatedHost>(AThis).GetSignalNames(APage, AHandle);
    *A1 = ToBstr(Names[0]);
    *A2 = ToBstr(Names[1]);
    *A3 = ToBstr(Names[2]);
    *A4 = ToBstr(Names[3]);
  });
}

HRESULT STDMETHODCALLTYPE GetStatus(void* AThis, LONG* AResult) {
  return Guard([&] { *AResult = Self<TSimulatedHost>(AThis).GetStatus(); });
}

HRESULT STDMETHODCALLTYPE SelectProject(void* AThis, LONG AHandle, LONG* AResult) {
  *AResult = 0;
  return Guard([&] { Self<TSimulatedHost>(AThis).SelectProject(AHandle); });
}

HRESULT STDMETHODCALLTYPE BuildConnectionList(void* AThis, LONG AFirst, LONG ASecond,
                                              LONG* AResult) {
  *AResult = 0;
  return Guard([&] { Self<TSimulatedHost>(AThis).BuildConnectionList(AFirst, ASecond); });
}

HRESULT STDMETHODCALLTYPE ReleaseConnectionList(void* AThis, LONG* AResult) {
  *AResult = 0;
  return Guard([&] { Self<TSimulatedHost>(AThis).ReleaseConnectionList(); });
}

HRESULT STDMETHODCALLTYPE ConnectionCount(void* AThis, LONG* AResult) {
  return Guard([&] { *AResult = Self<TSimulatedHost>(AThis).ConnectionCount(); });
}

void ToVariant(const TVariant& AValue, VARIANT& AResult) {
  VariantInit(&AResult);
  if (const auto* Int = std::get_if<int32_t>(&AValue)) {
    V_VT(&AResult) = VT_I4;
    V_I4(&AResult) = *Int;
  } else if (const auto* Real = std::get_if<double>(&AValue)) {
    V_VT(&AResult) = VT_R8;
    V_R8(&AResult) = *Real;
  } else if (const auto* Text = std::get_if<std::string>(&AValue)) {
    V_VT(&AResult) = VT_BSTR;
    V_BSTR(&AResult) = ToBstr(*Text);
  }
}

HRESULT STDMETHODCALLTYPE GetConnection(void* AThis, LONG AIndex, LONG AFields, VARIANT* AResult) {
  VariantInit(AResult);
  return Guard([&] {
    const std::vector<TVariant> Entry = Self<TSimulatedHost>(AThis).GetConnection(AIndex, AFields);
    SAFEARRAY* Array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(Entry.size()));
    for (LONG I = 0; I < static_cast<LONG>(Entry.size()); ++I) {
      VARIANT Element;
      ToVariant(Entry[static_cast<size_t>(I)], Element);
      SafeArrayPutElement(Array, &I, &Element);  // copies
      VariantClear(&Element);
    }
    V_VT(AResult) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(AResult) = Array;
  });
}

template <>
const TKind& KindOf<IHostLayer>() {
  static const TKind Kind{MakeTable({{9, Entry(&IntSlot<IHostLayer, &IHostLayer::Number>)}}), {}};
  return Kind;
}

template <>
const TKind& KindOf<IHostPin>() {
  static const TKind Kind{MakeTable({{9, Entry(&PositionSlot<IHostPin, &IHostPin::Position>)},
                                     {33, Entry(&StringSlot<IHostPin, &IHostPin::Name>)}}),
                          {}};
  return Kind;
}

template <>
const TKind& KindOf<IHostVertex>() {
  static const TKind Kind{
      MakeTable({{9, Entry(&PositionSlot<IHostVertex, &IHostVertex::Position>)}}), {}};
  return Kind;
}

// A list kind with its Item and Count slots.
template <typename TList, typename TItem>
TKind ListKind(int AItemSlot, int ACountSlot) {
  return TKind{MakeTable({{AItemSlot, Entry(&ItemSlot<TList, TItem, &TList::Item>)},
                          {ACountSlot, Entry(&IntSlot<TList, &TList::Count>)}}),
               {}};
}

template <>
const TKind& KindOf<IHostPinList>() {
  static const TKind Kind = ListKind<IHostPinList, IHostPin>(7, 8);
  return Kind;
}

template <>
const TKind& KindOf<IHostVertexList>() {
  static const TKind Kind = ListKind<IHostVertexList, IHostVertex>(7, 9);
  return Kind;
}

template <>
const TKind& KindOf<IHostSymbol>() {
  using S = IHostSymbol;
  static const TKind Kind{MakeTable({{7, Entry(&FlagSlot<S, &S::Active>)},
                                     {16, Entry(&IntSlot<S, &S::Handle>)},
                                     {19, Entry(&IntSlot<S, &S::BranchState>)},
                                     {29, Entry(&ObjectSlot<S, IHostLayer, &S::Layer>)},
                                     {31, Entry(&StringSlot<S, &S::Name>)},
                                     {34, Entry(&ObjectSlot<S, IHostPinList, &S::Pins>)},
                                     {40, Entry(&IntSlot<S, &S::SymbolType>)}}),
                          {}};
  return Kind;
}

template <>
const TKind& KindOf<IHostLine>() {
  using L = IHostLine;
  static const TKind Kind{MakeTable({{7, Entry(&ObjectSlot<L, IHostVertexList, &L::Vertices>)},
                                     {9, Entry(&FlagSlot<L, &L::Active>)},
                                     {20, Entry(&FlagSlot<L, &L::Jumper>)},
                                     {22, Entry(&FlagSlot<L, &L::Cable>)},
                                     {36, Entry(&ObjectSlot<L, IHostLayer, &L::Layer>)},
                                     {40, Entry(&FlagSlot<L, &L::Electric>)},
                                     {45, Entry(&IntSlot<L, &L::Handle>)}}),
                          {}};
  return Kind;
}

template <>
const TKind& KindOf<IHostSymbolList>() {
  static const TKind Kind = ListKind<IHostSymbolList, IHostSymbol>(8, 9);
  return Kind;
}

template <>
const TKind& KindOf<IHostLineList>() {
  static const TKind Kind = ListKind<IHostLineList, IHostLine>(10, 9);
  return Kind;
}

template <>
const TKind& KindOf<IPCsPage>() {
  using P = IPCsPage;
  static const TKind Kind{MakeTable({{7, Entry(&ObjectSlot<P, IHostLineList, &P::Lines>)},
                                     {18, Entry(&ObjectSlot<P, IHostSymbolList, &P::Symbols>)},
                                     {28, Entry(&IntSlot<P, &P::PageKind>)}}),
                          {Guid(kPageInterfaceId), Guid(kFigureInterfaceId)}};
  return Kind;
}

template <>
const TKind& KindOf<IHostPageList>() {
  static const TKind Kind = ListKind<IHostPageList, IPCsPage>(7, 8);
  return Kind;
}

template <>
const TKind& KindOf<IHostDocument>() {
  using D = IHostDocument;
  static const TKind Kind{MakeTable({{7, Entry(&ObjectSlot<D, IHostPageList, &D::Pages>)},
                                     {14, Entry(&SymbolByHandle)}}),
                          {}};
  return Kind;
}

template <>
const TKind& KindOf<IHostProject>() {
  using P = IHostProject;
  static const TKind Kind{MakeTable({{7, Entry(&ObjectSlot<P, IHostDocument, &P::Document>)},
                                     {27, Entry(&IntSlot<P, &P::ProjectHandle>)}}),
                          {}};
  return Kind;
}

template <>
const TKind& KindOf<TSimulatedHost>() {
  using A = TSimulatedHost;
  static const TKind Kind{MakeTable({{22, Entry(&ObjectSlot<A, IHostProject, &A::Project>)}}),
                          {Guid(kApplicationInterfaceId)}};
  return Kind;
}

const TTable& ServicesTable() {
  static const TTable Table = MakeTable({{34, Entry(&GetSignalNames)},
                                         {100, Entry(&GetStatus)},
                                         {178, Entry(&SelectProject)},
                                         {198, Entry(&BuildConnectionList)},
                                         {199, Entry(&ReleaseConnectionList)},
                                         {200, Entry(&ConnectionCount)},
                                         {201, Entry(&GetConnection)}});
  return Table;
}

TSimDrawing ServedDrawing() {
  return GSettings.Records > 0 ? WireList(GSettings.Records, true) : DemoDrawing();
}

// The class factory: one static object, outside the count of live objects.
HRESULT STDMETHODCALLTYPE FactoryQueryInterface(void* AThis, REFIID AId, void** AResult) {
  *AResult = AId == IID_IUnknown || AId == IID_IClassFactory ? AThis : nullptr;
  return *AResult != nullptr ? S_OK : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE FactoryAddRef(void*) {
  return 2;
}

ULONG STDMETHODCALLTYPE FactoryRelease(void*) {
  return 1;
}

HRESULT STDMETHODCALLTYPE CreateInstance(void*, IUnknown* AOuter, REFIID AId, void** AResult) {
  *AResult = nullptr;
  if (AOuter != nullptr) return CLASS_E_NOAGGREGATION;
  if (GSettings.RefuseCreation != 0) return CO_E_SERVER_EXEC_FAILURE;
  try {
    auto Host = std::make_shared<TSimulatedHost>(ServedDrawing());
    TSimFaults& Faults = Host->Faults();
    Faults.FailOperation = GSettings.FailOperation;
    Faults.FailCall = GSettings.FailCall;
    Faults.GoneAfterEntries = GSettings.GoneAfterEntries;
    GHost = Host;
    IUnknown* Application = nullptr;
    Serve(std::move(Host), &Application);
    TServed& Served = Outer(Application);
    Served.Services = {ServicesTable().data(), &Served};
    const HRESULT Result = Application->QueryInterface(AId, AResult);
    Application->Release();
    return Result;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT STDMETHODCALLTYPE LockServer(void*, BOOL) {
  return S_OK;
}

const void* const kFactoryTable[] = {Entry(&FactoryQueryInterface), Entry(&FactoryAddRef),
                                     Entry(&FactoryRelease), Entry(&CreateInstance),
                                     Entry(&LockServer)};
const void* const* GFactory = kFactoryTable;

std::wstring ClassKey() {
  const std::string Id(kCadApplicationClassId);
  return L"CLSID\\" + std::wstring(Id.begin(), Id.end());
}

LONG SetValue(HKEY AKey, const wchar_t* AName, const std::wstring& AValue) {
  return RegSetValueExW(AKey, AName, 0, REG_SZ, reinterpret_cast<const BYTE*>(AValue.c_str()),
                        static_cast<DWORD>((AValue.size() + 1) * sizeof(wchar_t)));
}

}  // namespace
}  // namespace wiremap

using namespace wiremap;

extern "C" BOOL WINAPI DllMain(HINSTANCE AInstance, DWORD AReason, LPVOID) {
  if (AReason == DLL_PROCESS_ATTACH) GModule = AInstance;
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID AClass, REFIID AId, LPVOID* AResult) {
  *AResult = nullptr;
  if (AClass != Guid(kCadApplicationClassId)) return CLASS_E_CLASSNOTAVAILABLE;
  return FactoryQueryInterface(&GFactory, AId, AResult);
}

STDAPI DllCanUnloadNow() {
  return GLiveObjects == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  wchar_t Path[MAX_PATH] = {};
  GetModuleFileNameW(GModule, Path, MAX_PATH);
  HKEY Key = nullptr;
  const std::wstring Name = ClassKey() + L"\\InprocServer32";
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, Name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &Key,
                      nullptr) != ERROR_SUCCESS)
    return SELFREG_E_CLASS;
  const bool Written = SetValue(Key, nullptr, Path) == ERROR_SUCCESS &&
                       SetValue(Key, L"ThreadingModel", L"Both") == ERROR_SUCCESS;
  RegCloseKey(Key);
  return Written ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
  const LONG Result = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
  return Result == ERROR_SUCCESS || Result == ERROR_FILE_NOT_FOUND ? S_OK : SELFREG_E_CLASS;
}

extern "C" void WINAPI WiremapTestServerConfigure(const TTestServerSettings* ASettings) {
  GSettings = *ASettings;
  GSettings.FailOperation[sizeof GSettings.FailOperation - 1] = '\0';
}

extern "C" LONG WINAPI WiremapTestServerLiveObjects() {
  return GLiveObjects;
}
