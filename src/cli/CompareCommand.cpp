#include "cli/CompareCommand.h"

#include "cli/CliInput.h"
#include "cli/ComparisonJson.h"
#include "cli/OutputTarget.h"
#include "files/ProjectFile.h"
#include "model/Comparison.h"

namespace wiremap {

namespace {

// A side of a comparison: any input of LoadInput, or a saved netlist (nets only).
TComparisonSide LoadComparisonSide(const std::string& AInput) {
  // A file that is no project may still be a saved netlist; a file of neither kind
  // raises the project reader's error from ReadComparisonSide.
  try {
    TCliInput Input = LoadInput(AInput);
    return SideFromRecords(std::move(Input.Records), std::move(Input.Name));
  } catch (const EProjectFileError&) {
    return ReadComparisonSide(AInput);
  }
}

std::string ComparisonReport(const TComparison& AComparison, const std::string& AFormat) {
  if (AFormat == "csv") return WriteComparisonCsv(AComparison);
  if (AFormat == "json") return WriteComparisonJson(AComparison);
  return WriteComparisonText(AComparison);
}

}  // namespace

int RunCompareCommand(const TCliRequest& ARequest) {
  TComparisonSide Old = LoadComparisonSide(ARequest.Inputs.at(0));
  TComparisonSide New = LoadComparisonSide(ARequest.Inputs.at(1));
  const TComparison Comparison = CompareSides(std::move(Old), std::move(New));
  TOutputTarget(ARequest.Output).Write(ComparisonReport(Comparison, ARequest.Format));
  return HasDifferences(Comparison) ? 1 : 0;
}

}  // namespace wiremap
