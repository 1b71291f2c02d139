#include "rawdata/HostPinNames.h"

#include "model/ConnectionRec.h"

namespace wiremap {

std::string THostPinNames::FallbackName(int32_t AHandle, int32_t APinIndex) {
  return "handle=" + std::to_string(AHandle) + " pin_index=" + std::to_string(APinIndex);
}

std::string THostPinNames::Name(const TSymbol& ASymbol, int32_t APinIndex) {
  auto It = FNames.find(ASymbol.Handle);
  if (It == FNames.end()) It = FNames.emplace(ASymbol.Handle, ReadNames(ASymbol)).first;
  const TNames& Names = It->second;
  if (!Names || APinIndex < 0 || static_cast<size_t>(APinIndex) >= Names->size())
    return FallbackName(ASymbol.Handle, APinIndex);
  return (*Names)[static_cast<size_t>(APinIndex)];
}

THostPinNames::TNames THostPinNames::ReadNames(const TSymbol& ASymbol) {
  if (FMisses >= MaxMisses) return std::nullopt;
  TNames Names = AskHost(ASymbol);
  FMisses = Names ? 0 : FMisses + 1;
  return Names;
}

// Names are only a help for the reader: a host that fails here costs the names, not the
// check.
THostPinNames::TNames THostPinNames::AskHost(const TSymbol& ASymbol) {
  try {
    if (!FConnected) {
      FConnected = true;
      FDocument = Present(Present(CoApplication::Create()->Project())->Document());
    }
    if (!FDocument) return std::nullopt;
    const std::shared_ptr<IHostSymbol> Symbol =
        Present(FDocument->SymbolByHandle(-1, ASymbol.Handle));
    if (Present(Symbol->Layer())->Number() != ASymbol.Layer) return std::nullopt;
    const std::shared_ptr<IHostPinList> Pins = Present(Symbol->Pins());
    if (Pins->Count() != static_cast<int32_t>(ASymbol.Pins.size())) return std::nullopt;
    const std::string Designation = Symbol->Name();
    std::vector<std::string> Names;
    for (int32_t I = 0; I < Pins->Count(); ++I) {
      const std::shared_ptr<IHostPin> Pin = Present(Pins->Item(I));
      const THostPosition At = Pin->Position();
      const TRawPoint& Expected = ASymbol.Pins[static_cast<size_t>(I)];
      if (At.X != Expected.X || At.Y != Expected.Y || At.Z != Expected.Z) return std::nullopt;
      Names.push_back(PinNameOf(Designation, Pin->Name()));
    }
    return Names;
  } catch (const Exception&) {
    return std::nullopt;
  }
}

}  // namespace wiremap
