#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "rawdata/PointTable.h"
#include "rawdata/RawData.h"

namespace wiremap {

// The system's millisecond tick counter; it wraps around after about 49 days.
uint32_t TickCount();

// Milliseconds between two tick readings, right also when the counter wrapped in between.
uint32_t ElapsedTicks(uint32_t AFrom, uint32_t ATo);

// Where a run reads its times from.
using TTickSource = std::function<uint32_t()>;

// One raw data computation: the drawing read from the host, the point table built from
// it and the nets found in it, each stage timed. It holds everything only for the
// length of one run of the raw data window.
class TRawDataRun {
 public:
  explicit TRawDataRun(TTickSource AClock = TickCount) : FClock(std::move(AClock)) {}

  // Retrieves, builds the table and computes the nets. AReport hears of a host that
  // cannot be connected (the run then goes on with an empty drawing); every other
  // failure raises its exception.
  void Execute(const THostErrorReport& AReport);

  // The stages' times in milliseconds.
  uint32_t RetrievalTime() const { return ElapsedTicks(FT0, FT1); }
  uint32_t TableTime() const { return ElapsedTicks(FT1, FT2); }
  // Table building and net computation together.
  uint32_t ComputationTime() const { return ElapsedTicks(FT1, FT3); }

  TSymbols Symbols;
  TPolylines Polylines;
  std::unique_ptr<TPointTable> Table;
  TNaiveNetlist Nets;

 private:
  TTickSource FClock;
  uint32_t FT0 = 0, FT1 = 0, FT2 = 0, FT3 = 0;
};

}  // namespace wiremap
