#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wiremap {

// The aspects of a pin name: the parts of its reference designation and its page.
enum TAspectKind : uint8_t { akFunction = 0, akLocation = 1, akProduct = 2, akPin = 3, akPage = 4 };

constexpr int AspectCount = 5;

enum : int32_t { pfNetHead = 2, pfVisited = 4, pfMarked = 8 };

// One distinct pin of a project with its links; owned by the net graph.
class TPinDescr {
 public:
  TPinDescr(std::string AName, int32_t ANumber);

  // Records one connection to pin ATarget; this end lies on page APage.
  void AddLink(int32_t ATarget, int32_t APage, const std::string& AWire);

  // The five aspect values of the name (and page), separators included.
  void SplitName(std::array<std::string, AspectCount>& AParts) const;

  std::string GetAspect(TAspectKind AAspect) const;

  std::string Name;
  int32_t Number;
  int32_t Flags = 0;
  int32_t NextInNet;
  int32_t Page = 0;
  std::vector<int32_t> Links;
  std::vector<std::string> LinkWires;
  std::array<int32_t, AspectCount> Keys{};
};

// Splits a pin name into function, location, product and pin parts (the page part is
// left alone). Shared by TPinDescr and the bulk paths that need the parts without a pin.
void SplitPinName(const std::string& AName, std::array<std::string, AspectCount>& AParts);

// The same as views into AName, for callers that copy only what they keep.
void SplitPinName(std::string_view AName, std::array<std::string_view, AspectCount>& AParts);

}  // namespace wiremap
