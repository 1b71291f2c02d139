#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "host/Dpscad_TLB.h"
#include "model/ConnectionRec.h"
#include "model/Exception.h"

namespace wiremap {

// Progress of a retrieval: records done and records in all. Giving false stops it.
using TRetrievalProgress = std::function<bool(int32_t APosition, int32_t ATotal)>;

// The retrieval was stopped through its progress callback.
class EUserAborted : public Exception {
 public:
  explicit EUserAborted(std::string AMessage = "Retrieval interrupted by user.")
      : Exception(std::move(AMessage)) {}
  std::string ClassName() const override { return "EUserAborted"; }
};

// Reads the wire connections of the project open in the host into AConnections, one
// record per entry of the host's connection list, in its order, and empties ProjectName
// (a live project has no name). AProgress hears of every record. Every failure is an
// exception; the host's connection list is released in every case, and AConnections
// holds the records only when all of them were read.
void RetrieveConnections(const std::shared_ptr<IPCsApplication>& AApplication,
                         TConnectionRecs& AConnections, const TRetrievalProgress& AProgress);

}  // namespace wiremap
