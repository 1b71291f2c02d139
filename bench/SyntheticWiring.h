#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#include "model/ConnectionRec.h"

// Generated projects of any size for the benchmarks, in the two shapes they need.

// Wires from contactor terminals to terminal strip points that two wires share, spread over
// 97 functions, 41 locations and 300 pages: 1.5 pins per connection, every net linear.
inline wiremap::TConnectionRecs StripWiring(int ACount) {
  wiremap::TConnectionRecs Records(static_cast<std::size_t>(ACount));
  for (int I = 0; I < ACount; ++I) {
    wiremap::TConnectionRec& R = Records[static_cast<std::size_t>(I)];
    const int Strip = I / 2;
    R.DesignationA =
        "=F" + std::to_string(I % 97) + "+L" + std::to_string(I % 41) + "-K" + std::to_string(I);
    R.PinA = "13";
    R.PageA = I % 300 + 1;
    R.DesignationB = "=F" + std::to_string(Strip % 97) + "+L" + std::to_string(Strip % 41) + "-X" +
                     std::to_string(Strip);
    R.PinB = "1";
    R.PageB = Strip % 300 + 1;
    R.WireName = std::to_string(I);
  }
  return Records;
}

// Cabinet wiring: devices of eight terminals on 300 pages, wired at random so that a pin
// carries about 1.3 wire ends; nets of any shape. Every fifth wire has no number.
inline wiremap::TConnectionRecs CabinetWiring(int ACount, std::mt19937_64& ARandom) {
  static const char* const Kinds[] = {"K", "Q", "X", "F", "A", "S", "H", "M"};
  static const char* const Terminals[] = {"A1", "A2", "13", "14", "1", "2", "PE", "+24V"};
  const int64_t PinPool = static_cast<int64_t>(ACount) * 364 / 100;
  std::uniform_int_distribution<int64_t> Pick(0, PinPool - 1);
  const auto End = [&](std::string& ADesignation, std::string& ATerminal) {
    const int64_t Pin = Pick(ARandom);
    const int64_t Product = Pin / 8;
    ADesignation = "=F" + std::to_string(Product % 97) + "+L" + std::to_string(Product % 41) + "-" +
                   Kinds[Product % 8] + std::to_string(Product);
    ATerminal = Terminals[Pin % 8];
    return static_cast<int32_t>(Product % 300 + 1);
  };
  wiremap::TConnectionRecs Records(static_cast<std::size_t>(ACount));
  for (int I = 0; I < ACount; ++I) {
    wiremap::TConnectionRec& R = Records[static_cast<std::size_t>(I)];
    R.PageA = End(R.DesignationA, R.PinA);
    R.PageB = End(R.DesignationB, R.PinB);
    R.WireName = I % 5 == 0 ? "unknown" : std::to_string(I);
  }
  return Records;
}

inline wiremap::TConnectionRecs CabinetWiring(int ACount, std::uint64_t ASeed = 42) {
  std::mt19937_64 Random(ASeed);
  return CabinetWiring(ACount, Random);
}
