// A simulated host whose connection list and drawing need not agree: unknown handles,
// pin indices out of range, texts and fractions where integers belong, counts that are
// negative or larger than the list, failing host calls and a user who stops. Retrieval
// either gives exactly the records a plain reading of the drawing gives, or fails with
// one of the program's errors; the host's list is released exactly once either way.

#include <algorithm>
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
#include "host/NetRead.h"
#include "host/SimulatedHost.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

using TEntry = std::vector<TVariant>;

// The simulated host, with the connection list served from the fuzzer's entries. Its
// other services, and every object it hands out, are the simulated host's, faults
// included.
class TFuzzHost : public IPCsApplication, public IHostServices {
 public:
  TFuzzHost(std::shared_ptr<TSimulatedHost> AInner, std::vector<TEntry> AEntries, int32_t ACount)
      : Inner(std::move(AInner)), Entries(std::move(AEntries)), FCount(ACount) {}

  std::shared_ptr<IHostProject> Project() override { return Inner->Project(); }
  std::array<std::string, 4> GetSignalNames(int32_t APage, int32_t AHandle) override {
    return Inner->GetSignalNames(APage, AHandle);
  }
  int32_t GetStatus() override { return Inner->GetStatus(); }
  void SelectProject(int32_t AHandle) override { Inner->SelectProject(AHandle); }
  void BuildConnectionList(int32_t AFirst, int32_t ASecond) override {
    Inner->BuildConnectionList(AFirst, ASecond);
  }
  void ReleaseConnectionList() override {
    ++Releases;
    Inner->ReleaseConnectionList();
  }
  int32_t ConnectionCount() override {
    Inner->ConnectionCount();
    return FCount;
  }
  std::vector<TVariant> GetConnection(int32_t AIndex, int32_t) override {
    if (AIndex < 0 || static_cast<size_t>(AIndex) >= Entries.size())
      throw EOleException("No connection " + std::to_string(AIndex));
    return Entries[static_cast<size_t>(AIndex)];
  }

  const std::shared_ptr<TSimulatedHost> Inner;
  const std::vector<TEntry> Entries;
  int32_t Releases = 0;

 private:
  int32_t FCount;
};

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
  const bool Faulty = AInput.Below(4) == 0;
  if (Faulty) {
    const auto& Names = TSimulatedHost::OperationNames();
    Inner->Faults().FailOperation = Names[AInput.Below(256) % Names.size()];
    Inner->Faults().FailCall = 1 + AInput.Below(4);
  }
  const int32_t StopAt = AInput.Below(4) == 0 ? 1 + AInput.Below(8) : 0;
  const bool Bare = AInput.Below(16) == 0;
  const auto Host = std::make_shared<TFuzzHost>(Inner, Entries, Count);
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

}  // namespace
}  // namespace wiremap

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  using namespace wiremap;
  static const bool Root = (SetCollationLocale("C"), true);
  (void)Root;
  TFuzzInput Input(AData, ASize);
  THostDecoder Decoder(Input);
  const TSimDrawing Drawing = Decoder.Drawing();
  CheckRetrieval(Input, Decoder, Drawing);
  return 0;
}
