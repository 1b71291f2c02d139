#include "model/Project.h"

#include <utility>

namespace wiremap {

TProject::TProject(TConnectionRecs ARecords, std::string AName)
    : FName(std::move(AName)),
      FRecords(std::move(ARecords)),
      FGraph(std::make_unique<TWiremaps>()) {
  FGraph->AddConnections(FRecords);
  FGraph->ComputeNets();
  FKeyValues = std::make_unique<TKeyValues>(*FGraph);
}

TProject::~TProject() = default;

}  // namespace wiremap
