// A simulated host whose connection list and drawing need not agree: unknown handles,
// pin indices out of range, texts and fractions where integers belong, counts that are
// negative or larger than the list, objects that are not there, failing host calls and a
// user who stops. Both retrievals (the connection list, and the drawing for the raw data
// run with its texts) either give exactly what a plain reading of the drawing gives, or
// fail with one of the program's errors; the host's list is released exactly once.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "HostDecoder.h"
#include "HostileHost.h"
#include "TableStorage.h"
#include "host/NetRead.h"
#include "host/SimulatedHost.h"
#include "model/TextCompare.h"
#include "rawdata/RawDataReport.h"
#include "rawdata/RawDataRun.h"

namespace wiremap {
namespace {

using TEntry = std::vector<TVariant>;

// The hostile host over the simulated one, with the connection list served from the
// fuzzer's entries; everything else is passed on, faults included.
class TFuzzHost : public THostileHost {
 public:
  TFuzzHost(TPlanPtr APlan, std::shared_ptr<TSimulatedHost> AInner, std::vector<TEntry> AEntries,
            int32_t ACount)
      : THostileHost(std::move(APlan), std::move(AInner)),
        Entries(std::move(AEntries)),
        FCount(ACount) {}

  void ReleaseConnectionList() override {
    ++Releases;
    THostileHost::ReleaseConnectionList();
  }
  int32_t ConnectionCount() override {
    THostileHost::ConnectionCount();
    return FCount;
  }
  std::vector<TVariant> GetConnection(int32_t AIndex, int32_t) override {
    if (AIndex < 0 || static_cast<size_t>(AIndex) >= Entries.size())
      throw EOleException("No connection " + std::to_string(AIndex));
    return Entries[static_cast<size_t>(AIndex)];
  }

  const std::vector<TEntry> Entries;
  int32_t Releases = 0;

 private:
  int32_t FCount;
};

// Now and then one call of the simulated host planned to fail; whether one is.
bool PlanFailingCall(TFuzzInput& AInput, TSimulatedHost& AHost) {
  if (AInput.Below(4) != 0) return false;
  const auto& Names = TSimulatedHost::OperationNames();
  AHost.Faults().FailOperation = Names[AInput.Below(256) % Names.size()];
  AHost.Faults().FailCall = 1 + AInput.Below(4);
  return true;
}

// Now and then a plan for a host that answers some call with no object or a false count.
TPlanPtr DecodePlan(TFuzzInput& AInput) {
  auto Plan = std::make_shared<THostilePlan>();
  if (AInput.Below(4) == 0)
    for (int N = 1 + AInput.Below(2); N > 0; --N)
      Plan->Actions[1 + AInput.Below(48)] = static_cast<THostilePlan::TAction>(1 + AInput.Below(4));
  return Plan;
}

// An application object that offers no host services.
class TBareApplication : public IPCsApplication {
 public:
  explicit TBareApplication(std::shared_ptr<TSimulatedHost> AInner) : FInner(std::move(AInner)) {}
  std::shared_ptr<IHostProject> Project() override { return FInner->Project(); }

 private:
  std::shared_ptr<TSimulatedHost> FInner;
};

std::vector<int32_t> HandlesOf(const TSimDrawing& ADrawing) {
  std::vector<int32_t> Handles;
  for (const TSimPage& Page : ADrawing.Pages)
    for (const TSimSymbol& Symbol : Page.Symbols) Handles.push_back(Symbol.Handle);
  return Handles;
}

// The host's own list as entries, then now and then one element replaced, entries
// dropped or made up.
std::vector<TEntry> DecodeEntries(TFuzzInput& AInput, THostDecoder& ADecoder,
                                  const TSimulatedHost& AHost) {
  std::vector<TEntry> Entries;
  for (const TSimConnection& C : AHost.Connections())
    Entries.push_back({C.HandleA, C.PinA, C.PageA, 0, C.HandleB, C.PinB, C.PageB, 0, C.WireHandle});
  if (AInput.Bool()) Entries.resize(static_cast<size_t>(AInput.Below(4)));
  const std::vector<int32_t> Handles = HandlesOf(AHost.Drawing());
  const auto Element = [&]() -> TVariant {
    const int32_t Known = Handles.empty() ? 0 : Handles[AInput.Below(256) % Handles.size()];
    switch (AInput.Below(8)) {
      case 0:
        return Known;
      case 1:
        return static_cast<double>(Known);
      case 2:
        return ADecoder.Number(4);
      case 3:
        return std::vector<double>{0.5, -1e300, 3e9, std::nan(""), HUGE_VAL}[AInput.Below(5)];
      case 4:
        return ADecoder.Text();
      case 5:
        return std::monostate{};
      default:
        return static_cast<int32_t>(AInput.Below(3));
    }
  };
  while (!AInput.Empty() && AInput.Below(4) == 0) {
    TEntry Entry(9);
    for (TVariant& Value : Entry) Value = Element();
    Entry.resize(static_cast<size_t>(AInput.Below(4) == 0 ? AInput.Below(10) : 9));
    Entries.push_back(std::move(Entry));
  }
  for (int N = AInput.Below(4); N > 0 && !Entries.empty(); --N) {
    TEntry& Entry = Entries[AInput.Below(256) % Entries.size()];
    const size_t Index = static_cast<size_t>(AInput.Below(9));
    if (Index < Entry.size()) Entry[Index] = Element();
  }
  return Entries;
}

// What a retrieval must give, read straight from the drawing; nullopt where the host
// has no answer (an unknown symbol, a pin index out of range, an element that is no
// whole number).
class TReference {
 public:
  explicit TReference(const TSimDrawing& ADrawing) : FDrawing(ADrawing) {}

  std::optional<TConnectionRec> Record(const TEntry& AEntry) const {
    TConnectionRec R;
    if (!End(AEntry, 0, R.DesignationA, R.PinA) || !Int(AEntry, 2) ||
        !End(AEntry, 4, R.DesignationB, R.PinB) || !Int(AEntry, 6) || !Int(AEntry, 8))
      return std::nullopt;
    R.PageA = *Int(AEntry, 2);
    R.PageB = *Int(AEntry, 6);
    const int32_t Wire = *Int(AEntry, 8);
    if (Wire == 0) {
      R.WireName = "unknown";
    } else {
      const TSimSymbol* Symbol = Find(Wire);
      if (!Symbol) return std::nullopt;
      R.WireName = Symbol->Name;
    }
    return R;
  }

 private:
  static std::optional<int32_t> Int(const TEntry& AEntry, size_t AIndex) {
    if (AIndex >= AEntry.size()) return std::nullopt;
    if (const auto* Value = std::get_if<int32_t>(&AEntry[AIndex])) return *Value;
    if (const auto* Value = std::get_if<double>(&AEntry[AIndex]))
      if (std::isfinite(*Value) && std::trunc(*Value) == *Value && *Value >= -2147483648.0 &&
          *Value <= 2147483647.0)
        return static_cast<int32_t>(*Value);
    return std::nullopt;
  }

  const TSimSymbol* Find(int32_t AHandle) const {
    for (const TSimPage& Page : FDrawing.Pages)
      for (const TSimSymbol& Symbol : Page.Symbols)
        if (Symbol.Handle == AHandle) return &Symbol;
    return nullptr;
  }

  bool End(const TEntry& AEntry, size_t AFirst, std::string& ADesignation,
           std::string& APin) const {
    const auto Handle = Int(AEntry, AFirst), Pin = Int(AEntry, AFirst + 1);
    if (!Handle || !Pin) return false;
    const TSimSymbol* Symbol = Find(*Handle);
    if (!Symbol || *Pin < 0 || static_cast<size_t>(*Pin) >= Symbol->Pins.size()) return false;
    ADesignation = Symbol->Name;
    APin = Symbol->Pins[static_cast<size_t>(*Pin)].Name;
    return true;
  }

  const TSimDrawing& FDrawing;
};

// One retrieval and its checks. With a host fault planned, only the kind of outcome is
// checked; without one, the outcome is exactly the reference's.
void CheckRetrieval(TFuzzInput& AInput, THostDecoder& ADecoder, const TSimDrawing& ADrawing) {
  const auto Inner = std::make_shared<TSimulatedHost>(ADrawing);
  std::vector<TEntry> Entries = DecodeEntries(AInput, ADecoder, *Inner);
  const int32_t Count =
      AInput.Below(4) == 0 ? ADecoder.Number(8) : static_cast<int32_t>(Entries.size());
  bool Faulty = PlanFailingCall(AInput, *Inner);
  const TPlanPtr Plan = DecodePlan(AInput);
  Faulty = Faulty || !Plan->Actions.empty();
  const int32_t StopAt = AInput.Below(4) == 0 ? 1 + AInput.Below(8) : 0;
  const bool Bare = AInput.Below(16) == 0;
  const auto Host = std::make_shared<TFuzzHost>(Plan, Inner, Entries, Count);
  const std::shared_ptr<IPCsApplication> Application =
      Bare ? std::shared_ptr<IPCsApplication>(std::make_shared<TBareApplication>(Inner)) : Host;

  const TConnectionRecs Before{{"old", "1", 1, "old", "2", 2, "w"}};
  TConnectionRecs Records = Before;
  ProjectName = "before";
  int32_t Calls = 0;
  std::string Error;
  try {
    RetrieveConnections(Application, Records, [&](int32_t APosition, int32_t ATotal) {
      FUZZ_CHECK(APosition == ++Calls && ATotal == Count);
      return APosition != StopAt;
    });
  } catch (const Exception& E) {
    Error = E.ClassName();
  }
  FUZZ_CHECK(Host->Releases == (Bare ? 0 : 1));
  if (Bare) FUZZ_CHECK(Error == "EIntfCastError");
  const TReference Reference(Inner->Drawing());
  // Every record as a plain reading of the drawing gives it.
  const auto AllRead = [&] {
    if (static_cast<int32_t>(Records.size()) != Count) return false;
    for (int32_t I = 0; I < Count; ++I)
      if (Reference.Record(Entries[static_cast<size_t>(I)]) != Records[static_cast<size_t>(I)])
        return false;
    return true;
  };
  if (Error.empty()) {
    FUZZ_CHECK(ProjectName.empty());
    FUZZ_CHECK(AllRead());
  } else {
    // Nothing half read reaches the caller (a release that fails at the very end may
    // leave the whole list).
    FUZZ_CHECK(Records == Before || AllRead() ||
               std::all_of(Records.begin(), Records.end(),
                           [](const TConnectionRec& R) { return R == TConnectionRec{}; }));
  }
  if (Faulty || Bare) return;

  // The first entry the host cannot answer, and the stop, in reading order.
  std::string Expected;
  if (Count < 0) Expected = "EOleException";
  for (int32_t I = 0; Expected.empty() && I < Count; ++I) {
    if (static_cast<size_t>(I) >= Entries.size() ||
        !Reference.Record(Entries[static_cast<size_t>(I)]))
      Expected = "host";
    else if (I + 1 == StopAt)
      Expected = "EUserAborted";
  }
  if (Expected == "host")
    FUZZ_CHECK(Error == "EOleException" || Error == "EVariantTypeCastError");
  else
    FUZZ_CHECK(Error == Expected);
}

// The drawing as the raw data run must read it, or nullopt where a consistency check of
// the run must stop it: signal and wire number symbols with other than one pin, branches
// with other than three pins or a state outside 2 to 8.
struct TRawReading {
  TSymbols Symbols;
  TPolylines Polylines;
};

std::optional<TRawReading> ReadRawData(const TSimDrawing& ADrawing) {
  static const std::vector<int32_t> Skipped{1, 2, 14, 15, 28, 30, 31};
  TRawReading Reading;
  for (size_t Index = 0; Index < ADrawing.Pages.size(); ++Index) {
    const TSimPage& Page = ADrawing.Pages[Index];
    const int32_t P = static_cast<int32_t>(Index);
    if (Page.PageKind != 0) continue;
    for (const TSimSymbol& S : Page.Symbols) {
      if (std::count(Skipped.begin(), Skipped.end(), S.SymbolType) != 0 || !S.Active) continue;
      TSymbol& Symbol = Reading.Symbols.emplace_back();
      Symbol = {S.Handle, S.SymbolType, P, S.Layer, {}, ""};
      for (const TSimPin& Pin : S.Pins)
        Symbol.Pins.push_back({Pin.Position.X, Pin.Position.Y, Pin.Position.Z, S.Layer, P});
      if ((S.SymbolType == st_Signal || S.SymbolType == st_WireNumber) && S.Pins.size() != 1)
        return std::nullopt;
      if (S.SymbolType == st_Signal)
        Symbol.Name = S.SignalName.empty() ? S.Name + ":unknown_variant" : S.SignalName;
      if (S.SymbolType == st_Branch) {
        if (S.Pins.size() != 3 || S.BranchState < 2 || S.BranchState > 8) return std::nullopt;
        Symbol.SymbolType |= std::array{1, 1, 1, 2, 0, 1, 1}[S.BranchState - 2] << 8;
      }
    }
    for (const TSimLine& L : Page.Lines) {
      if (!L.Active || !L.Electric) continue;
      TPolyline& Line = Reading.Polylines.emplace_back();
      Line = {L.Handle, P, L.Layer, {}, L.Jumper, L.Cable};
      for (const THostPosition& V : L.Vertices)
        Line.Vertices.push_back({V.X, V.Y, V.Z, L.Layer, P});
    }
  }
  return Reading;
}

bool SameSymbols(const TSymbols& A, const TSymbols& B) {
  return std::equal(A.begin(), A.end(), B.begin(), B.end(), [](const TSymbol& X, const TSymbol& Y) {
    return X.Handle == Y.Handle && X.SymbolType == Y.SymbolType && X.Page == Y.Page &&
           X.Layer == Y.Layer && X.Pins == Y.Pins && X.Name == Y.Name;
  });
}

bool SamePolylines(const TPolylines& A, const TPolylines& B) {
  return std::equal(
      A.begin(), A.end(), B.begin(), B.end(), [](const TPolyline& X, const TPolyline& Y) {
        return X.Handle == Y.Handle && X.Page == Y.Page && X.Layer == Y.Layer &&
               X.Vertices == Y.Vertices && X.IsJumper == Y.IsJumper && X.IsCable == Y.IsCable;
      });
}

// Would the point table refuse the symbols? A type whose low byte is a branch needs three
// pins and a common pin from 0 to 2.
bool TableRefuses(const TSymbols& ASymbols) {
  return std::any_of(ASymbols.begin(), ASymbols.end(), [](const TSymbol& S) {
    return (S.SymbolType & 0xFF) == st_Branch &&
           (S.Pins.size() != 3 || (S.SymbolType >> 8 & 3) == 3);
  });
}

// The raw data run of the window, its texts included, against a host that may refuse the
// connection, offer no services, fail calls or answer with no objects and false counts.
void CheckRawData(TFuzzInput& AInput, const TSimDrawing& ADrawing) {
  const auto Inner = std::make_shared<TSimulatedHost>(ADrawing);
  bool Faulty = PlanFailingCall(AInput, *Inner);
  const TPlanPtr Plan = DecodePlan(AInput);
  Faulty = Faulty || !Plan->Actions.empty();
  const int Connection = AInput.Below(16);
  SetHostFactory([&]() -> std::shared_ptr<IPCsApplication> {
    switch (Connection) {
      case 0:
        throw EOleSysError("No host");
      case 1:
        return nullptr;
      case 2:
        return std::make_shared<TBareApplication>(Inner);
      default:
        return std::make_shared<THostileHost>(Plan, Inner);
    }
  });
  // The steps of TRawDataRun::Execute, with the table in the fuzzer's storage.
  TRawDataRun Run;
  TStoredTable Table = FreshTable();
  int32_t Reports = 0;
  std::string Error;
  std::vector<std::string> Symbols, Polylines, Nets;
  try {
    RetrieveRawData(Run.Symbols, Run.Polylines, [&](const std::exception&) { ++Reports; });
    Table->Build(Run.Symbols, Run.Polylines);
    Table->ComputeNetlist(Run.Nets);
    Run.Table.reset(Table.get());  // lent for the report, taken back below
    if (Connection > 2) {
      const TRawDataReport Report(CoApplication::Create(), ",");
      Symbols = Report.SymbolLines(Run.Symbols);
      Polylines = Report.PolylineLines(Run.Polylines);
      Nets = Report.NetlistLines(Run);
    }
  } catch (const Exception& E) {
    Error = E.ClassName();
  }
  Run.Table.release();
  SetHostFactory({});

  if (Connection <= 2) {
    // No connection: one report, then an empty drawing.
    FUZZ_CHECK(Reports == 1 && Error.empty());
    FUZZ_CHECK(Run.Symbols.empty() && Run.Polylines.empty() && Run.Nets.empty());
    return;
  }
  FUZZ_CHECK(Reports == (Faulty && Inner->Faults().FailOperation == "IHostServices.GetStatus" &&
                         Inner->Faults().FailCall == 1));
  if (Faulty) return;
  const std::optional<TRawReading> Expected = ReadRawData(Inner->Drawing());
  if (!Expected || TableRefuses(Expected->Symbols)) {
    FUZZ_CHECK(Error == "EAssertionFailed");
    return;
  }
  FUZZ_CHECK(Error.empty());
  FUZZ_CHECK(SameSymbols(Run.Symbols, Expected->Symbols));
  FUZZ_CHECK(SamePolylines(Run.Polylines, Expected->Polylines));
  size_t SymbolLines = 1, VertexLines = 1, MemberLines = 5;
  for (const TSymbol& S : Run.Symbols) SymbolLines += 1 + S.Pins.size();
  for (const TPolyline& L : Run.Polylines) VertexLines += 1 + L.Vertices.size();
  for (const auto& Net : Run.Nets) MemberLines += 1 + Net.size();
  FUZZ_CHECK(Symbols.size() == SymbolLines && Polylines.size() == VertexLines &&
             Nets.size() == MemberLines);
}

}  // namespace
}  // namespace wiremap

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  using namespace wiremap;
  UseRootCollation();
  TFuzzInput Input(AData, ASize);
  THostDecoder Decoder(Input);
  const TSimDrawing Drawing = Decoder.Drawing();
  CheckRetrieval(Input, Decoder, Drawing);
  CheckRawData(Input, Drawing);
  return 0;
}
