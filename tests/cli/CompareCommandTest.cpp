// wiremap-cli compare, run as a program: the comparison window's reports, the JSON report
// against the comparison it stands for, and the exit status that tells a difference.
#include <gtest/gtest.h>

#include "CliRunner.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "model/Comparison.h"

namespace wiremap {
namespace {

using nlohmann::json;

TComparisonSide ReferenceSide(const std::string& AInput) {
  const auto Project = ReferenceProject(AInput);
  return SideFromRecords(Project->Records(), Project->Name());
}

TEST(CompareCommandTest, CompareGivesTheWindowsReportsAndTellsDifferencesByStatus) {
  const TComparison Revision = CompareSides(ReferenceSide("sample:7"), ReferenceSide("sample:8"));
  ASSERT_TRUE(HasDifferences(Revision));
  ExpectOutput(RunCli({"compare", "sample:7", "sample:8"}), 1, WriteComparisonText(Revision));
  ExpectOutput(RunCli({"compare", "sample:7", "sample:8", "--format", "csv"}), 1,
               WriteComparisonCsv(Revision));

  const TComparison Same = CompareSides(ReferenceSide("demo"), ReferenceSide("demo"));
  ExpectOutput(RunCli({"compare", "demo", "demo"}), 0, WriteComparisonText(Same));
}

json WireJson(const TConnectionRec& ARecord) {
  return {{"designationA", ARecord.DesignationA}, {"pinA", ARecord.PinA}, {"pageA", ARecord.PageA},
          {"designationB", ARecord.DesignationB}, {"pinB", ARecord.PinB}, {"pageB", ARecord.PageB},
          {"wireName", ARecord.WireName}};
}

// Every field of both diffs is in the report, each net index with the pins of that net and
// each record index with that wire, as the sides have them.
void ExpectJsonMatches(const json& AJson, const TComparison& AComparison) {
  const TNetlistDiff& Nets = AComparison.Nets;
  const auto& OldNets = AComparison.Old.Netlist.Nets;
  const auto& NewNets = AComparison.New.Netlist.Nets;
  const json& JsonNets = AJson.at("nets");
  EXPECT_EQ(AJson.at("differences"), HasDifferences(AComparison));
  EXPECT_EQ(JsonNets.at("unchanged"), Nets.Unchanged);
  EXPECT_EQ(JsonNets.at("pinsOnlyOld"), Nets.PinsOnlyOld);
  EXPECT_EQ(JsonNets.at("pinsOnlyNew"), Nets.PinsOnlyNew);
  json Changed = json::array(), OnlyOld = json::array(), OnlyNew = json::array();
  for (const TNetChange& C : Nets.Changed)
    Changed.push_back({{"oldNet", C.OldNet},
                       {"newNet", C.NewNet},
                       {"oldPins", OldNets.at(size_t(C.OldNet))},
                       {"newPins", NewNets.at(size_t(C.NewNet))},
                       {"added", C.Added},
                       {"removed", C.Removed}});
  for (const int Net : Nets.OnlyOld)
    OnlyOld.push_back({{"net", Net}, {"pins", OldNets.at(size_t(Net))}});
  for (const int Net : Nets.OnlyNew)
    OnlyNew.push_back({{"net", Net}, {"pins", NewNets.at(size_t(Net))}});
  EXPECT_EQ(JsonNets.at("changed"), Changed);
  EXPECT_EQ(JsonNets.at("onlyOld"), OnlyOld);
  EXPECT_EQ(JsonNets.at("onlyNew"), OnlyNew);

  ASSERT_EQ(AJson.at("wires").is_null(), !AComparison.Wires);
  if (!AComparison.Wires) return;
  const TWireDiff& Wires = *AComparison.Wires;
  const TConnectionRecs& Old = *AComparison.Old.Records;
  const TConnectionRecs& New = *AComparison.New.Records;
  json Removed = json::array(), Added = json::array(), WiresChanged = json::array(),
       Renamed = json::array();
  for (const int R : Wires.Removed)
    Removed.push_back({{"record", R}, {"wire", WireJson(Old.at(size_t(R)))}});
  for (const int R : Wires.Added)
    Added.push_back({{"record", R}, {"wire", WireJson(New.at(size_t(R)))}});
  for (const auto& [O, N] : Wires.Changed)
    WiresChanged.push_back({{"oldRecord", O},
                            {"newRecord", N},
                            {"old", WireJson(Old.at(size_t(O)))},
                            {"new", WireJson(New.at(size_t(N)))}});
  for (const auto& [O, N] : Wires.Renamed) Renamed.push_back({{"old", O}, {"new", N}});
  EXPECT_EQ(AJson.at("wires"), (json{{"unchanged", Wires.Unchanged},
                                     {"removed", Removed},
                                     {"added", Added},
                                     {"changed", WiresChanged},
                                     {"renamed", Renamed}}));
}

TEST(CompareCommandTest, CompareJsonNamesWhatEveryIndexStandsFor) {
  const std::string Saved = TempPath("revision7.txt");
  ExpectOutput(RunCli({"netlist", "sample:7", "-o", Saved}), 0, "");
  struct TCase {
    std::string Old, New;
    TComparison Expected;
  };
  const TCase Cases[] = {
      {"sample:7", "sample:8", CompareSides(ReferenceSide("sample:7"), ReferenceSide("sample:8"))},
      {"sample:1", "sample:1", CompareSides(ReferenceSide("sample:1"), ReferenceSide("sample:1"))},
      // A saved netlist has nets only: no wire comparison.
      {Saved, "sample:8", CompareSides(ReadComparisonSide(Saved), ReferenceSide("sample:8"))}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Old + " " + Case.New);
    const TCliRun Run = RunCli({"compare", Case.Old, Case.New, "--format", "json"});
    EXPECT_EQ(Run.Status, HasDifferences(Case.Expected) ? 1 : 0);
    EXPECT_EQ(Run.Err, "");
    const json Json = json::parse(Run.Out);
    EXPECT_EQ(Json.at("old").at("name"), Case.Expected.Old.Name);
    EXPECT_EQ(Json.at("new").at("name"), Case.Expected.New.Name);
    ExpectJsonMatches(Json, Case.Expected);
  }
}

TEST(CompareCommandTest, ErrorsGiveStatusTwo) {
  const std::string Neither = TempPath("neither.txt");
  WriteFileBytes(Neither, "just some words\r\n");
  struct TCase {
    std::vector<std::string> Args;
    std::string Message;  // a part of the error line
  };
  const TCase Cases[] = {
      {{"compare", "sample:1", "/nonexistent/project.qet"}, "/nonexistent/project.qet"},
      {{"compare", "sample:1", "sample:2x"}, "Unknown sample 'sample:2x'"},
      {{"compare", Neither, "sample:1"}, Neither},
      {{"compare", "sample:1", "sample:2", "--format", "xml"}, "--format"},
      {{"compare", "sample:1"}, "NEW"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Message);
    ExpectError(RunCli(Case.Args), Case.Message);
  }
}

}  // namespace
}  // namespace wiremap
