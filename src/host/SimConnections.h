#pragma once

#include <cstdint>
#include <vector>

#include "host/SimDrawing.h"

namespace wiremap {

// One entry of the host's connection list: a wire between two pins.
struct TSimConnection {
  int32_t HandleA = 0, PinA = 0, PageA = 0;  // symbol handle, 0-based pin index, 1-based page
  int32_t HandleB = 0, PinB = 0, PageB = 0;
  int32_t WireHandle = 0;  // the first wire number symbol on the net, or 0

  bool operator==(const TSimConnection&) const = default;
};

using TSimConnections = std::vector<TSimConnection>;

// The connection list a host makes of ADrawing, from its geometry alone. Points are the
// same only when x, y, z, layer and page are all equal. Lines join their consecutive
// vertices, a branch symbol its pins, and signal symbols of one name (letter case
// ignored; an empty signal name stands for the symbol's name + ":unknown_variant") join
// across pages. Pages with a non-zero PageKind, inactive symbols and lines, non-electric
// lines and symbols of the types a netlist skips take no part. The pins of each net
// (not those of branch, signal and wire number symbols) are joined in drawing order by
// a chain of connections; nets follow the order of their first pin.
TSimConnections ComputeSimConnections(const TSimDrawing& ADrawing);

}  // namespace wiremap
