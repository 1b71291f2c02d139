#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wiremap {

// One wire between two pins, as a CAD project or a sample table lists it.
struct TConnectionRec {
  std::string DesignationA;
  std::string PinA;
  int32_t PageA = 0;
  std::string DesignationB;
  std::string PinB;
  int32_t PageB = 0;
  std::string WireName;

  bool operator==(const TConnectionRec&) const = default;
};

using TConnectionRecs = std::vector<TConnectionRec>;

// Name of the loaded project: a sample's caption, empty for a live project.
extern std::string ProjectName;

// The pin name the net graph uses for one end: designation, ":", terminal; written into
// AName, reusing its storage.
inline void PinNameOf(std::string_view ADesignation, std::string_view APin, std::string& AName) {
  AName.assign(ADesignation).append(1, ':').append(APin);
}

inline std::string PinNameOf(std::string_view ADesignation, std::string_view APin) {
  std::string Name;
  Name.reserve(ADesignation.size() + 1 + APin.size());
  PinNameOf(ADesignation, APin, Name);
  return Name;
}

}  // namespace wiremap
