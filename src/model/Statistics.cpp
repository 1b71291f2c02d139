#include "model/Statistics.h"

#include "model/Project.h"
#include "model/TreeText.h"

namespace wiremap {

std::vector<std::string> StatisticsLines(const TProject& AProject) {
  const auto Count = [&AProject](TAspectKind AAspect) {
    return std::to_string(AProject.KeyValues().Lists[AAspect].Count());
  };
  const TWiremaps& Graph = AProject.Graph();
  return {"PROJECT STATISTICS [" + EscapeName(AProject.Name()) + "]",
          "Retrieved connections: " + std::to_string(AProject.Records().size()),
          "Pages (with pins): " + Count(akPage),
          "Functions (connected): " + Count(akFunction),
          "Locations (connected): " + Count(akLocation),
          "Products (i.e. symbols, connected): " + Count(akProduct),
          "Nets: " + std::to_string(Graph.NetCount),
          "Pins (connected): " + std::to_string(Graph.GetPinCount())};
}

}  // namespace wiremap
