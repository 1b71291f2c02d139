#include "rawdata/RawDataRun.h"

#include <chrono>

namespace wiremap {

uint32_t TickCount() {
  const auto Since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Since).count());
}

uint32_t ElapsedTicks(uint32_t AFrom, uint32_t ATo) {
  return ATo - AFrom;
}

void TRawDataRun::Execute(const THostErrorReport& AReport) {
  FT0 = FClock();
  RetrieveRawData(Symbols, Polylines, AReport);
  FT1 = FClock();
  Table = std::make_unique<TPointTable>();
  Table->Build(Symbols, Polylines);
  FT2 = FClock();
  Table->ComputeNetlist(Nets);
  FT3 = FClock();
}

}  // namespace wiremap
