#include "cli/ComparisonJson.h"

#include <nlohmann/json.hpp>

namespace wiremap {

namespace {

using TJson = nlohmann::ordered_json;

const std::vector<std::string>& NetPins(const TComparisonSide& ASide, int ANet) {
  return ASide.Netlist.Nets.at(static_cast<size_t>(ANet));
}

TJson SideJson(const TComparisonSide& ASide) {
  return TJson{{"name", ASide.Name},
               {"nets", ASide.Netlist.Nets.size()},
               {"records", ASide.Records ? TJson(ASide.Records->size()) : TJson(nullptr)}};
}

TJson LoneNetsJson(const TComparisonSide& ASide, const std::vector<int>& ANets) {
  TJson Nets = TJson::array();
  for (const int Net : ANets) Nets.push_back({{"net", Net}, {"pins", NetPins(ASide, Net)}});
  return Nets;
}

TJson NetsJson(const TComparison& AComparison) {
  const TNetlistDiff& Diff = AComparison.Nets;
  TJson Changed = TJson::array();
  for (const TNetChange& Change : Diff.Changed)
    Changed.push_back({{"oldNet", Change.OldNet},
                       {"newNet", Change.NewNet},
                       {"oldPins", NetPins(AComparison.Old, Change.OldNet)},
                       {"newPins", NetPins(AComparison.New, Change.NewNet)},
                       {"added", Change.Added},
                       {"removed", Change.Removed}});
  return TJson{{"unchanged", Diff.Unchanged},
               {"changed", std::move(Changed)},
               {"onlyOld", LoneNetsJson(AComparison.Old, Diff.OnlyOld)},
               {"onlyNew", LoneNetsJson(AComparison.New, Diff.OnlyNew)},
               {"pinsOnlyOld", Diff.PinsOnlyOld},
               {"pinsOnlyNew", Diff.PinsOnlyNew}};
}

TJson RecordJson(const TConnectionRecs& ARecords, int AIndex) {
  const TConnectionRec& Record = ARecords.at(static_cast<size_t>(AIndex));
  return TJson{
      {"designationA", Record.DesignationA}, {"pinA", Record.PinA}, {"pageA", Record.PageA},
      {"designationB", Record.DesignationB}, {"pinB", Record.PinB}, {"pageB", Record.PageB},
      {"wireName", Record.WireName}};
}

TJson LoneWiresJson(const TConnectionRecs& ARecords, const std::vector<int>& AIndexes) {
  TJson Wires = TJson::array();
  for (const int Index : AIndexes)
    Wires.push_back({{"record", Index}, {"wire", RecordJson(ARecords, Index)}});
  return Wires;
}

TJson WiresJson(const TComparison& AComparison) {
  if (!AComparison.Wires || !AComparison.Old.Records || !AComparison.New.Records) return nullptr;
  const TWireDiff& Diff = *AComparison.Wires;
  const TConnectionRecs& Old = *AComparison.Old.Records;
  const TConnectionRecs& New = *AComparison.New.Records;
  TJson Changed = TJson::array();
  for (const auto& [OldIndex, NewIndex] : Diff.Changed)
    Changed.push_back({{"oldRecord", OldIndex},
                       {"newRecord", NewIndex},
                       {"old", RecordJson(Old, OldIndex)},
                       {"new", RecordJson(New, NewIndex)}});
  TJson Renamed = TJson::array();
  for (const auto& [OldName, NewName] : Diff.Renamed)
    Renamed.push_back({{"old", OldName}, {"new", NewName}});
  return TJson{{"unchanged", Diff.Unchanged},
               {"removed", LoneWiresJson(Old, Diff.Removed)},
               {"added", LoneWiresJson(New, Diff.Added)},
               {"changed", std::move(Changed)},
               {"renamed", std::move(Renamed)}};
}

}  // namespace

std::string WriteComparisonJson(const TComparison& AComparison) {
  const TJson Report{{"old", SideJson(AComparison.Old)},
                     {"new", SideJson(AComparison.New)},
                     {"differences", HasDifferences(AComparison)},
                     {"nets", NetsJson(AComparison)},
                     {"wires", WiresJson(AComparison)}};
  return Report.dump(2, ' ', false, TJson::error_handler_t::replace) + '\n';
}

}  // namespace wiremap
