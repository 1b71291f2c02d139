#include "host/ComHost.h"

#include <windows.h>
// after windows.h, which it relies on
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace wiremap {
namespace {

std::string ToUtf8(const wchar_t* AText, int ALength) {
  if (AText == nullptr || ALength <= 0) return std::string();
  const int Size = WideCharToMultiByte(CP_UTF8, 0, AText, ALength, nullptr, 0, nullptr, nullptr);
  std::string Result(static_cast<size_t>(std::max(Size, 0)), '\0');
  if (Size > 0)
    WideCharToMultiByte(CP_UTF8, 0, AText, ALength, Result.data(), Size, nullptr, nullptr);
  return Result;
}

std::string BstrToUtf8(BSTR AText) {
  return ToUtf8(AText, static_cast<int>(SysStringLen(AText)));
}

std::string HexResult(HRESULT AResult) {
  char Text[16];
  std::snprintf(Text, sizeof Text, "0x%08lX", static_cast<unsigned long>(AResult));
  return Text;
}

// The system's text for AResult, without its line end ("" when it has none).
std::string SystemMessage(HRESULT AResult) {
  wchar_t* Buffer = nullptr;
  const DWORD Length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(AResult), 0, reinterpret_cast<LPWSTR>(&Buffer), 0, nullptr);
  std::string Text = ToUtf8(Buffer, static_cast<int>(Length));
  LocalFree(Buffer);
  while (!Text.empty() &&
         (Text.back() == '\n' || Text.back() == '\r' || Text.back() == ' ' || Text.back() == '.'))
    Text.pop_back();
  return Text;
}

// Results that say the server is not there (any more) rather than that a call failed.
bool IsUnreachable(HRESULT AResult) {
  switch (AResult) {
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case CO_E_OBJNOTCONNECTED:
    case CO_E_SERVER_STOPPING:
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE):
      return true;
    default:
      return false;
  }
}

[[noreturn]] void RaiseUnreachable(HRESULT AResult, const std::string& AWhat) {
  const std::string System = SystemMessage(AResult);
  throw EOleSysError(AWhat + (System.empty() ? "" : ": " + System) + " (HRESULT " +
                     HexResult(AResult) + ")");
}

// The server's description of the error it just raised, if it gave one.
std::string ErrorDescription() {
  IErrorInfo* Info = nullptr;
  if (GetErrorInfo(0, &Info) != S_OK || Info == nullptr) return std::string();
  BSTR Description = nullptr;
  std::string Text;
  if (SUCCEEDED(Info->GetDescription(&Description))) Text = BstrToUtf8(Description);
  SysFreeString(Description);
  Info->Release();
  return Text;
}

void Check(HRESULT AResult, const char* AOperation) {
  if (SUCCEEDED(AResult)) return;
  if (IsUnreachable(AResult)) RaiseUnreachable(AResult, "The CAD application cannot be reached");
  std::string Message = ErrorDescription();
  if (Message.empty())
    Message = std::string(AOperation) + " failed with HRESULT " + HexResult(AResult);
  throw EOleException(Message);
}

GUID ParseGuid(const std::string& AText) {
  const std::wstring Wide(AText.begin(), AText.end());
  GUID Result{};
  if (FAILED(CLSIDFromString(Wide.c_str(), &Result)))
    throw EOleSysError("Invalid class or interface id " + AText);
  return Result;
}

// One interface pointer and the one reference it stands for, released on destruction.
class TComRef {
 public:
  TComRef() = default;
  explicit TComRef(IUnknown* AObject) : FObject(AObject) {}
  ~TComRef() {
    if (FObject != nullptr) FObject->Release();
  }
  TComRef(TComRef&& AOther) noexcept : FObject(std::exchange(AOther.FObject, nullptr)) {}
  TComRef& operator=(TComRef&&) = delete;
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;

  IUnknown* Get() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }
  // For an out-parameter; whatever the server leaves there is released with this.
  IUnknown** Out() { return &FObject; }

 private:
  IUnknown* FObject = nullptr;
};

// A BSTR received from the server, freed once.
class TBstr {
 public:
  TBstr() = default;
  ~TBstr() { SysFreeString(FText); }
  TBstr(const TBstr&) = delete;
  TBstr& operator=(const TBstr&) = delete;
  BSTR* Out() { return &FText; }
  std::string Utf8() const { return BstrToUtf8(FText); }

 private:
  BSTR FText = nullptr;
};

// A VARIANT received from the server, cleared once.
class TVariantOut {
 public:
  TVariantOut() { VariantInit(&FValue); }
  ~TVariantOut() { VariantClear(&FValue); }
  TVariantOut(const TVariantOut&) = delete;
  TVariantOut& operator=(const TVariantOut&) = delete;
  VARIANT* Out() { return &FValue; }
  const VARIANT& Value() const { return FValue; }

 private:
  VARIANT FValue;
};

TComRef Query(IUnknown* AObject, const GUID& AInterface) {
  TComRef Result;
  if (FAILED(AObject->QueryInterface(AInterface, reinterpret_cast<void**>(Result.Out()))))
    return TComRef();
  return Result;
}

// Calls the operation in slot ASlot of AObject's interface table.
template <typename... TArgs>
void CallSlot(IUnknown* AObject, int ASlot, const char* AOperation, TArgs... AArgs) {
  using TMethod = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, TArgs...);
  void* const* Table = *reinterpret_cast<void* const* const*>(AObject);
  const auto Method = reinterpret_cast<TMethod>(Table[ASlot]);
  Check(Method(AObject, AArgs...), AOperation);
}

int32_t ElementToInt(double AValue, int32_t AFallback) {
  return AValue >= -2147483648.0 && AValue <= 2147483647.0 ? static_cast<int32_t>(AValue)
                                                           : AFallback;
}

// One element of a variant array: integers of any width that fit are integers, reals are
// doubles, strings UTF-8; what has no counterpart is empty (and fails VariantToInt).
TVariant FromVariant(const VARIANT& AValue) {
  switch (V_VT(&AValue)) {
    case VT_I1:
      return int32_t{V_I1(&AValue)};
    case VT_UI1:
      return int32_t{V_UI1(&AValue)};
    case VT_I2:
      return int32_t{V_I2(&AValue)};
    case VT_UI2:
      return int32_t{V_UI2(&AValue)};
    case VT_BOOL:
      return int32_t{V_BOOL(&AValue)};
    case VT_I4:
      return int32_t{V_I4(&AValue)};
    case VT_INT:
      return int32_t{V_INT(&AValue)};
    case VT_UI4:
    case VT_UINT:
    case VT_I8:
    case VT_UI8: {
      VARIANT Source = AValue, Real;  // plain numbers: a shallow copy owns nothing
      VariantInit(&Real);
      if (FAILED(VariantChangeType(&Real, &Source, 0, VT_R8))) return std::monostate{};
      const double Value = V_R8(&Real);
      if (Value == static_cast<double>(ElementToInt(Value, 0))) return ElementToInt(Value, 0);
      return Value;
    }
    case VT_R4:
      return double{V_R4(&AValue)};
    case VT_R8:
      return V_R8(&AValue);
    case VT_BSTR:
      return BstrToUtf8(V_BSTR(&AValue));
    case VT_VARIANT | VT_BYREF:
      return V_VARIANTREF(&AValue) != nullptr ? FromVariant(*V_VARIANTREF(&AValue)) : TVariant{};
    default:
      return std::monostate{};
  }
}

// The elements of a one-dimensional SAFEARRAY of variants (or of plain integers, reals
// or strings), in index order.
std::vector<TVariant> FromVariantArray(const VARIANT& AValue) {
  const VARTYPE Type = V_VT(&AValue);
  if ((Type & VT_ARRAY) == 0)
    throw EOleException("IHostServices.GetConnection did not give a variant array");
  SAFEARRAY* Array = (Type & VT_BYREF) != 0 ? *V_ARRAYREF(&AValue) : V_ARRAY(&AValue);
  if (Array == nullptr || SafeArrayGetDim(Array) != 1)
    throw EOleException("IHostServices.GetConnection gave an array that is not a list");
  LONG Low = 0, High = -1;
  SafeArrayGetLBound(Array, 1, &Low);
  SafeArrayGetUBound(Array, 1, &High);
  const VARTYPE ElementType = static_cast<VARTYPE>(Type & VT_TYPEMASK);
  std::vector<TVariant> Result;
  for (LONG I = Low; I <= High; ++I) {
    TVariantOut Element;
    HRESULT Status = E_FAIL;
    if (ElementType == VT_VARIANT) {
      Status = SafeArrayGetElement(Array, &I, Element.Out());
    } else if (ElementType == VT_I4 || ElementType == VT_I2 || ElementType == VT_R8 ||
               ElementType == VT_BSTR) {
      Status = SafeArrayGetElement(Array, &I, &V_UNION(Element.Out(), llVal));
      if (SUCCEEDED(Status)) V_VT(Element.Out()) = ElementType;
    }
    Check(Status, "IHostServices.GetConnection");
    Result.push_back(FromVariant(Element.Value()));
  }
  return Result;
}

// What every adapter object shares: its interface pointer and the typed calls on it.
class TComObject {
 public:
  explicit TComObject(TComRef AObject) : FObject(std::move(AObject)) {}

 protected:
  IUnknown* Object() const { return FObject.Get(); }

  int32_t GetInt(int ASlot, const char* AOperation) const {
    LONG Value = 0;
    CallSlot(Object(), ASlot, AOperation, &Value);
    return Value;
  }
  bool GetFlag(int ASlot, const char* AOperation) const {
    VARIANT_BOOL Value = VARIANT_FALSE;
    CallSlot(Object(), ASlot, AOperation, &Value);
    return Value != VARIANT_FALSE;
  }
  std::string GetString(int ASlot, const char* AOperation) const {
    TBstr Value;
    CallSlot(Object(), ASlot, AOperation, Value.Out());
    return Value.Utf8();
  }
  THostPosition GetPosition(int ASlot, const char* AOperation) const {
    LONG X = 0, Y = 0, Z = 0;
    CallSlot(Object(), ASlot, AOperation, &X, &Y, &Z);
    return THostPosition{X, Y, Z};
  }
  template <typename... TArgs>
  TComRef GetInterface(int ASlot, const char* AOperation, TArgs... AArgs) const {
    TComRef Value;
    CallSlot(Object(), ASlot, AOperation, AArgs..., Value.Out());
    return Value;
  }

 private:
  TComRef FObject;
};

// The adapter object of type T over AObject; nullptr when the server gave no object.
template <typename T>
std::shared_ptr<T> Wrap(TComRef AObject) {
  if (!AObject) return nullptr;
  return std::make_shared<T>(std::move(AObject));
}

// The slots of a list interface.
struct TListSlots {
  int Item, Count;
  const char* ItemName;
  const char* CountName;
};

template <typename TList, typename TItemInterface, typename TItem, const TListSlots& Slots>
class TComList final : public TList, TComObject {
 public:
  using TComObject::TComObject;
  std::shared_ptr<TItemInterface> Item(int32_t AIndex) override {
    return Wrap<TItem>(GetInterface(Slots.Item, Slots.ItemName, LONG{AIndex}));
  }
  int32_t Count() override { return GetInt(Slots.Count, Slots.CountName); }
};

class TComLayer final : public IHostLayer, TComObject {
 public:
  using TComObject::TComObject;
  int32_t Number() override { return GetInt(9, "IHostLayer.Number"); }
};

class TComPin final : public IHostPin, TComObject {
 public:
  using TComObject::TComObject;
  THostPosition Position() override { return GetPosition(9, "IHostPin.Position"); }
  std::string Name() override { return GetString(33, "IHostPin.Name"); }
};

class TComVertex final : public IHostVertex, TComObject {
 public:
  using TComObject::TComObject;
  THostPosition Position() override { return GetPosition(9, "IHostVertex.Position"); }
};

constexpr TListSlots kPinListSlots{7, 8, "IHostPinList.Item", "IHostPinList.Count"};
constexpr TListSlots kVertexListSlots{7, 9, "IHostVertexList.Item", "IHostVertexList.Count"};
constexpr TListSlots kSymbolListSlots{8, 9, "IHostSymbolList.Item", "IHostSymbolList.Count"};
constexpr TListSlots kLineListSlots{10, 9, "IHostLineList.Item", "IHostLineList.Count"};

using TComPinList = TComList<IHostPinList, IHostPin, TComPin, kPinListSlots>;
using TComVertexList = TComList<IHostVertexList, IHostVertex, TComVertex, kVertexListSlots>;

class TComSymbol final : public IHostSymbol, TComObject {
 public:
  using TComObject::TComObject;
  bool Active() override { return GetFlag(7, "IHostSymbol.Active"); }
  int32_t Handle() override { return GetInt(16, "IHostSymbol.Handle"); }
  int32_t BranchState() override { return GetInt(19, "IHostSymbol.BranchState"); }
  std::shared_ptr<IHostLayer> Layer() override {
    return Wrap<TComLayer>(GetInterface(29, "IHostSymbol.Layer"));
  }
  std::shared_ptr<IHostPinList> Pins() override {
    return Wrap<TComPinList>(GetInterface(34, "IHostSymbol.Pins"));
  }
  std::string Name() override { return GetString(31, "IHostSymbol.Name"); }
  int32_t SymbolType() override { return GetInt(40, "IHostSymbol.SymbolType"); }
};

class TComLine final : public IHostLine, TComObject {
 public:
  using TComObject::TComObject;
  std::shared_ptr<IHostVertexList> Vertices() override {
    return Wrap<TComVertexList>(GetInterface(7, "IHostLine.Vertices"));
  }
  std::shared_ptr<IHostLayer> Layer() override {
    return Wrap<TComLayer>(GetInterface(36, "IHostLine.Layer"));
  }
  bool Active() override { return GetFlag(9, "IHostLine.Active"); }
  bool Electric() override { return GetFlag(40, "IHostLine.Electric"); }
  bool Jumper() override { return GetFlag(20, "IHostLine.Jumper"); }
  bool Cable() override { return GetFlag(22, "IHostLine.Cable"); }
  int32_t Handle() override { return GetInt(45, "IHostLine.Handle"); }
};

using TComSymbolList = TComList<IHostSymbolList, IHostSymbol, TComSymbol, kSymbolListSlots>;
using TComLineList = TComList<IHostLineList, IHostLine, TComLine, kLineListSlots>;

class TComPage final : public IPCsPage, TComObject {
 public:
  using TComObject::TComObject;
  std::shared_ptr<IHostLineList> Lines() override {
    return Wrap<TComLineList>(GetInterface(7, "IPCsPage.Lines"));
  }
  std::shared_ptr<IHostSymbolList> Symbols() override {
    return Wrap<TComSymbolList>(GetInterface(18, "IPCsPage.Symbols"));
  }
  int32_t PageKind() override { return GetInt(28, "IPCsPage.PageKind"); }
};

// The list's items are figures; each is asked for its page interface.
class TComPageList final : public IHostPageList, TComObject {
 public:
  using TComObject::TComObject;
  std::shared_ptr<IPCsPage> Item(int32_t AIndex) override {
    const TComRef Figure = GetInterface(7, "IHostPageList.Item", LONG{AIndex});
    if (!Figure) return nullptr;
    static const GUID PageInterface = ParseGuid(kPageInterfaceId);
    TComRef Page = Query(Figure.Get(), PageInterface);
    if (!Page) throw EIntfCastError("Interface not supported");
    return Wrap<TComPage>(std::move(Page));
  }
  int32_t Count() override { return GetInt(8, "IHostPageList.Count"); }
};

class TComDocument final : public IHostDocument, TComObject {
 public:
  using TComObject::TComObject;
  std::shared_ptr<IHostPageList> Pages() override {
    return Wrap<TComPageList>(GetInterface(7, "IHostDocument.Pages"));
  }
  std::shared_ptr<IHostSymbol> SymbolByHandle(int32_t APage, int32_t AHandle) override {
    return Wrap<TComSymbol>(
        GetInterface(14, "IHostDocument.SymbolByHandle", LONG{APage}, LONG{AHandle}));
  }
};

class TComProject final : public IHostProject, TComObject {
 public:
  using TComObject::TComObject;
  std::shared_ptr<IHostDocument> Document() override {
    return Wrap<TComDocument>(GetInterface(7, "IHostProject.Document"));
  }
  int32_t ProjectHandle() override { return GetInt(27, "IHostProject.ProjectHandle"); }
};

// An application object whose server offers no services interface.
class TComApplication : public IPCsApplication, TComObject {
 public:
  using TComObject::TComObject;
  std::shared_ptr<IHostProject> Project() override {
    return Wrap<TComProject>(GetInterface(22, "IPCsApplication.Project"));
  }
};

// The usual application object: the same server object through its services interface
// too. The operations whose result the program ignores still get somewhere to put it.
class TComServicesApplication final : public TComApplication, public IHostServices {
 public:
  TComServicesApplication(TComRef AApplication, TComRef AServices)
      : TComApplication(std::move(AApplication)), FServices(std::move(AServices)) {}

  std::array<std::string, 4> GetSignalNames(int32_t APage, int32_t AHandle) override {
    std::array<TBstr, 4> Names;
    CallSlot(Services(), 34, "IHostServices.GetSignalNames", LONG{APage}, LONG{AHandle},
             Names[0].Out(), Names[1].Out(), Names[2].Out(), Names[3].Out());
    return {Names[0].Utf8(), Names[1].Utf8(), Names[2].Utf8(), Names[3].Utf8()};
  }
  int32_t GetStatus() override { return ServicesInt(100, "IHostServices.GetStatus"); }
  void SelectProject(int32_t AProjectHandle) override {
    LONG Ignored = 0;
    CallSlot(Services(), 178, "IHostServices.SelectProject", LONG{AProjectHandle}, &Ignored);
  }
  void BuildConnectionList(int32_t AFirst, int32_t ASecond) override {
    LONG Ignored = 0;
    CallSlot(Services(), 198, "IHostServices.BuildConnectionList", LONG{AFirst}, LONG{ASecond},
             &Ignored);
  }
  void ReleaseConnectionList() override { ServicesInt(199, "IHostServices.ReleaseConnectionList"); }
  int32_t ConnectionCount() override { return ServicesInt(200, "IHostServices.ConnectionCount"); }
  std::vector<TVariant> GetConnection(int32_t AIndex, int32_t AFields) override {
    TVariantOut Entry;
    CallSlot(Services(), 201, "IHostServices.GetConnection", LONG{AIndex}, LONG{AFields},
             Entry.Out());
    return FromVariantArray(Entry.Value());
  }

 private:
  IUnknown* Services() const { return FServices.Get(); }
  int32_t ServicesInt(int ASlot, const char* AOperation) const {
    LONG Value = 0;
    CallSlot(Services(), ASlot, AOperation, &Value);
    return Value;
  }

  TComRef FServices;
};

// COM stays initialised on a thread once the program used it there: host objects may be
// released as late as the program's end.
void EnsureComInitialized() {
  thread_local bool Initialized = false;
  if (Initialized) return;
  const HRESULT Result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(Result) && Result != RPC_E_CHANGED_MODE)
    RaiseUnreachable(Result, "COM could not be initialised");
  Initialized = true;
}

}  // namespace

std::shared_ptr<IPCsApplication> CreateComApplication(const std::string& AClassId) {
  EnsureComInitialized();
  TComRef Application;
  const HRESULT Result = CoCreateInstance(
      ParseGuid(AClassId), nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
      ParseGuid(kApplicationInterfaceId), reinterpret_cast<void**>(Application.Out()));
  if (Result == REGDB_E_CLASSNOTREG)
    RaiseUnreachable(Result, "The CAD application is not installed on this computer");
  if (FAILED(Result) || !Application)
    RaiseUnreachable(Result, "The CAD application could not be started");
  TComRef Services = Query(Application.Get(), ParseGuid(kServicesInterfaceId));
  if (!Services) return std::make_shared<TComApplication>(std::move(Application));
  return std::make_shared<TComServicesApplication>(std::move(Application), std::move(Services));
}

}  // namespace wiremap
