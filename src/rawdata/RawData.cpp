#include "rawdata/RawData.h"

#include <algorithm>
#include <memory>

#include "host/Dpscad_TLB.h"

namespace wiremap {

namespace {

constexpr const char* kAssertUnit = "ViewRawD";

constexpr std::array<const char*, 35> SymbolTypeNames = {
    "st_Normal",      "st_Head",        "st_Ignore",    "st_Relay",       "st_Open",
    "st_Close",       "st_Switch",      "st_MasterRef", "st_WithRef",     "st_Reference",
    "st_Signal",      "st_Terminal",    "st_Plc",       "st_Data",        "st_NoneElectric",
    "st_Support",     "st_Power",       "st_Cable",     "st_WireNumber",  "st_TestPoint",
    "st_MultiSignal", "st_DynCable",    "st_DynTerm",   "st_PowerSource", "st_PowerDistrb",
    "st_PowerLoad",   "st_PowerCable",  "st_CableDuct", "st_Insertion",   "st_PlcRef",
    "st_Measure",     "st_LineConnect", "st_Branch",    "st_BusBar",      "st_PowerFuse"};

// A host that reports an absurd count must not make us reserve gigabytes before its
// first Item call fails; beyond this the arrays simply grow as items arrive.
constexpr int32_t MaxReserve = 1 << 16;

template <typename T>
void ReserveMore(std::vector<T>& AArray, int32_t ACount) {
  AArray.reserve(AArray.size() + static_cast<size_t>(std::clamp(ACount, 0, MaxReserve)));
}

[[noreturn]] void RaiseSymbolCheck(const char* APrefix, int32_t AHandle, int ALine) {
  RaiseAssertion((APrefix + std::to_string(AHandle)).c_str(), kAssertUnit, ALine);
}

#define CHECK_SYMBOL(ACondition, APrefix, AHandle)                   \
  do {                                                               \
    if (!(ACondition)) RaiseSymbolCheck(APrefix, AHandle, __LINE__); \
  } while (false)

TRawPoint PointAt(const THostPosition& APosition, int32_t ALayer, int32_t APage) {
  return TRawPoint{APosition.X, APosition.Y, APosition.Z, ALayer, APage};
}

// Walks the host's drawing once; one reader per retrieval.
class TRawDataReader {
 public:
  TRawDataReader(IHostServices& AServices, TSymbols& ASymbols, TPolylines& APolylines)
      : FServices(AServices), FSymbols(ASymbols), FPolylines(APolylines) {}

  void ReadPage(IHostPageList& APages, int32_t APageIndex) {
    const std::shared_ptr<IPCsPage> Page = Present(APages.Item(APageIndex));
    if (Page->PageKind() != 0) return;
    ReadSymbols(*Present(Page->Symbols()), APageIndex);
    // The lines come from a page object fetched anew, the call sequence hosts are used to.
    ReadLines(*Present(Present(APages.Item(APageIndex))->Lines()), APageIndex);
  }

 private:
  void ReadSymbols(IHostSymbolList& AList, int32_t APageIndex) {
    const int32_t Count = PresentCount(AList.Count());
    ReserveMore(FSymbols, Count);
    for (int32_t I = 0; I < Count; ++I) {
      const std::shared_ptr<IHostSymbol> Symbol = Present(AList.Item(I));
      if (IsSkippedSymbolType(Symbol->SymbolType())) continue;
      if (!Symbol->Active()) continue;
      ReadSymbol(*Symbol, APageIndex);
    }
  }

  void ReadSymbol(IHostSymbol& AHostSymbol, int32_t APageIndex) {
    TSymbol& Symbol = FSymbols.emplace_back();
    Symbol.Handle = AHostSymbol.Handle();
    Symbol.SymbolType = AHostSymbol.SymbolType();
    Symbol.Page = APageIndex;
    Symbol.Layer = Present(AHostSymbol.Layer())->Number();
    ReadPins(*Present(AHostSymbol.Pins()), Symbol);
    if (Symbol.SymbolType == st_Signal || Symbol.SymbolType == st_WireNumber)
      CHECK_SYMBOL(Symbol.Pins.size() == 1,
                   "Unexpected number of pins, symbol handle = ", Symbol.Handle);
    if (Symbol.SymbolType == st_Signal) ReadSignalName(AHostSymbol, Symbol);
    if (Symbol.SymbolType == st_Branch) ReadBranchState(AHostSymbol, Symbol);
  }

  void ReadPins(IHostPinList& APins, TSymbol& ASymbol) {
    const int32_t Count = PresentCount(APins.Count());
    ReserveMore(ASymbol.Pins, Count);
    for (int32_t I = 0; I < Count; ++I)
      ASymbol.Pins.push_back(
          PointAt(Present(APins.Item(I))->Position(), ASymbol.Layer, ASymbol.Page));
  }

  void ReadSignalName(IHostSymbol& AHostSymbol, TSymbol& ASymbol) {
    ASymbol.Name = FServices.GetSignalNames(-1, ASymbol.Handle)[0];
    if (ASymbol.Name.empty()) ASymbol.Name = AHostSymbol.Name() + ":unknown_variant";
  }

  void ReadBranchState(IHostSymbol& AHostSymbol, TSymbol& ASymbol) {
    CHECK_SYMBOL(ASymbol.Pins.size() == 3,
                 "Unexpected number of branch figure pins, symbol handle = ", ASymbol.Handle);
    const int32_t State = AHostSymbol.BranchState();
    CHECK_SYMBOL(State >= MinBranchState && State <= MaxBranchState,
                 "Unexpected branch figure state, symbol handle = ", ASymbol.Handle);
    ASymbol.SymbolType |= BranchCommonPinOf(State) << 8;
  }

  void ReadLines(IHostLineList& AList, int32_t APageIndex) {
    const int32_t Count = PresentCount(AList.Count());
    ReserveMore(FPolylines, Count);
    for (int32_t I = 0; I < Count; ++I) {
      const std::shared_ptr<IHostLine> Line = Present(AList.Item(I));
      if (!Line->Active() || !Line->Electric()) continue;
      ReadLine(*Line, APageIndex);
    }
  }

  void ReadLine(IHostLine& AHostLine, int32_t APageIndex) {
    TPolyline& Line = FPolylines.emplace_back();
    Line.Handle = AHostLine.Handle();
    Line.Page = APageIndex;
    Line.Layer = Present(AHostLine.Layer())->Number();
    const std::shared_ptr<IHostVertexList> Vertices = Present(AHostLine.Vertices());
    const int32_t Count = PresentCount(Vertices->Count());
    ReserveMore(Line.Vertices, Count);
    for (int32_t I = 0; I < Count; ++I)
      Line.Vertices.push_back(
          PointAt(Present(Vertices->Item(I))->Position(), Line.Layer, Line.Page));
    Line.IsJumper = AHostLine.Jumper();
    Line.IsCable = AHostLine.Cable();
  }

  IHostServices& FServices;
  TSymbols& FSymbols;
  TPolylines& FPolylines;
};

}  // namespace

std::string SymbolTypeName(uint8_t AType) {
  if (AType < SymbolTypeNames.size()) return SymbolTypeNames[AType];
  return "st_Unknown(" + std::to_string(AType) + ")";
}

bool IsSkippedSymbolType(int32_t AType) {
  switch (AType) {
    case st_Head:
    case st_Ignore:
    case st_NoneElectric:
    case st_Support:
    case st_Insertion:
    case st_Measure:
    case st_LineConnect:
      return true;
    default:
      return false;
  }
}

void RetrieveRawData(TSymbols& ASymbols, TPolylines& APolylines, const THostErrorReport& AReport) {
  ASymbols.clear();
  APolylines.clear();
  std::shared_ptr<IPCsApplication> Application;
  std::shared_ptr<IHostServices> Services;
  try {
    Application = CoApplication::Create();
    Services = QueryHostServices(Application);
    Services->GetStatus();
  } catch (const std::exception& E) {
    if (AReport) AReport(E);
    return;
  }
  const std::shared_ptr<IHostPageList> Pages =
      Present(Present(Present(Application->Project())->Document())->Pages());
  TRawDataReader Reader(*Services, ASymbols, APolylines);
  const int32_t PageCount = PresentCount(Pages->Count());
  for (int32_t I = 0; I < PageCount; ++I) Reader.ReadPage(*Pages, I);
  ASymbols.shrink_to_fit();
  APolylines.shrink_to_fit();
}

}  // namespace wiremap
