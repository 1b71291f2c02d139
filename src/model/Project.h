#pragma once

#include <memory>
#include <string>

#include "model/ConnectionRec.h"
#include "model/KeyValues.h"
#include "model/Wiremaps.h"

namespace wiremap {

// One loaded project: its name, its connection records, the net graph built from them and the
// key values over that graph. Built in one go, so a project is either whole or not there at
// all; windows swap in a new one only once it is complete.
class TProject {
 public:
  // Adds every record (pin names designation + ":" + pin) to a new graph, computes the nets
  // and builds the key values. Does not touch the global ProjectName.
  TProject(TConnectionRecs ARecords, std::string AName);
  TProject(const TProject&) = delete;
  TProject& operator=(const TProject&) = delete;
  ~TProject();

  const std::string& Name() const { return FName; }
  const TConnectionRecs& Records() const { return FRecords; }
  TWiremaps& Graph() { return *FGraph; }
  const TWiremaps& Graph() const { return *FGraph; }
  TKeyValues& KeyValues() { return *FKeyValues; }
  const TKeyValues& KeyValues() const { return *FKeyValues; }

 private:
  std::string FName;
  TConnectionRecs FRecords;
  // The graph keeps pointers into itself, so it lives on the heap and never moves.
  std::unique_ptr<TWiremaps> FGraph;
  std::unique_ptr<TKeyValues> FKeyValues;
};

}  // namespace wiremap
