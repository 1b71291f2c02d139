#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/ConnectionRec.h"

namespace wiremap {

// What a revision did to the single wires of a project, the level an engineer reworks a
// cabinet at: devices renamed with their wiring intact, wires that lost or found a partner,
// and wires between the same two pins whose name or pages changed. Indexes are record
// positions in the old and the new records.
struct TWireDiff {
  int Unchanged = 0;
  std::vector<int> Removed;  // old records without a partner, ascending
  std::vector<int> Added;    // new records without a partner, ascending
  std::vector<std::pair<int, int>>
      Changed;  // (old, new): same two pins, other wire name or pages; by new index
  std::vector<std::pair<std::string, std::string>>
      Renamed;  // (old, new) designations, by old name (CompareText)
};

// Compares two revisions wire by wire. A wire is the unordered pair of its pin names
// (designation ":" pin, equal when CompareText says so). First the renames: a designation
// found only in the old records and one found only in the new ones whose wires become the
// same when the one is written for the other, each pair judged on its own and dropped when
// another one-sided designation would pair the same way. Then, with the renames applied,
// the k-th old occurrence of a wire pairs with its k-th new occurrence (record order); a
// pair whose wire name (exact bytes) or pages (each pin's own page) differ is changed.
TWireDiff CompareWires(const TConnectionRecs& AOld, const TConnectionRecs& ANew);

}  // namespace wiremap
