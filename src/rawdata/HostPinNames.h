#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/Dpscad_TLB.h"
#include "rawdata/RawData.h"

namespace wiremap {

// Names the pins of raw data symbols (designation + ":" + pin) by asking the host for the
// symbol of each handle, once per symbol. The raw data records carry no names, and the
// host may no longer hold the drawing they were read from: a symbol is named only when
// the host's symbol of that handle has its pins at the same places, else (and when no
// host can be reached) the pin is named as the raw data window shows it,
// "handle=<handle> pin_index=<index>". Connects on the first name asked for. A host that
// has not known MaxMisses symbols in a row is not holding this drawing and is asked no more.
class THostPinNames {
 public:
  std::string Name(const TSymbol& ASymbol, int32_t APinIndex);

  // The name of a pin that the host cannot name.
  static std::string FallbackName(int32_t AHandle, int32_t APinIndex);

  static constexpr int MaxMisses = 64;

 private:
  using TNames = std::optional<std::vector<std::string>>;

  TNames ReadNames(const TSymbol& ASymbol);
  TNames AskHost(const TSymbol& ASymbol);

  bool FConnected = false;
  int FMisses = 0;  // symbols in a row the host did not know
  std::shared_ptr<IHostDocument> FDocument;
  std::unordered_map<int32_t, TNames> FNames;  // by handle: the pins' full names
};

}  // namespace wiremap
