#pragma once

#include <memory>
#include <new>

#include "rawdata/PointTable.h"

namespace wiremap {

struct TTableDestroyer {
  void operator()(TPointTable* ATable) const { ATable->~TPointTable(); }
};

using TStoredTable = std::unique_ptr<TPointTable, TTableDestroyer>;

// A fresh point table for every input, always in the same storage. Allocating the table's
// megabytes anew each time has the sanitizers map, fault in and poison them, at a hundred
// times the cost of the work under test. One table at a time.
inline TStoredTable FreshTable() {
  alignas(TPointTable) static unsigned char Storage[sizeof(TPointTable)];
  return TStoredTable(new (Storage) TPointTable());
}

}  // namespace wiremap
