#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wiremap {

// A net whose pins all have at most this many links is "linear": a chain of wires.
constexpr size_t LinearLinkLimit = 2;

// The nets of a graph (nets computed) in the netlist tree's order: by the name order of
// their head pins, each net's pins in ring order from the head.
struct TNetlistRows {
  std::vector<int32_t> Pins;    // pin numbers, net after net
  std::vector<int32_t> Starts;  // net I's pins are Pins[Starts[I]] up to Pins[Starts[I + 1]]
  std::vector<uint8_t> Linear;  // whether net I is "linear"
  std::vector<int32_t> RowOf;   // pin number -> its index in Pins

  // The net of the pin at index ARow of Pins.
  int32_t NetOfRow(int32_t ARow) const;

  int32_t NetCount() const { return static_cast<int32_t>(Starts.size()) - 1; }
  int32_t PinCount(int32_t ANet) const {
    return Starts[static_cast<size_t>(ANet) + 1] - Starts[static_cast<size_t>(ANet)];
  }
  int32_t Pin(int32_t ANet, int32_t AIndex) const {
    return Pins[static_cast<size_t>(Starts[static_cast<size_t>(ANet)] + AIndex)];
  }
};

}  // namespace wiremap
