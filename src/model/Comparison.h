#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/ConnectionRec.h"
#include "model/NetlistCompare.h"
#include "model/WireCompare.h"

namespace wiremap {

class TProject;

// One revision set beside another: its nets always, its records when it came from a
// project (a saved netlist holds no wires).
struct TComparisonSide {
  std::string Name;                        // shown in the window and the reports
  TNetlist Netlist;                        // from model/NetlistCompare.h
  std::optional<TConnectionRecs> Records;  // absent for a saved netlist: nets only
};

// Everything the comparison window, its saves and the command line show: the nets and, when
// both sides have records, the wires. Made by CompareSides only, so the parts agree.
struct TComparison {
  TComparisonSide Old, New;
  TNetlistDiff Nets;
  std::optional<TWireDiff> Wires;  // present when both sides have records
  // For every changed net (as Nets.Changed), for every pin it lost: the net of the new side
  // that holds the pin now, or -1 when the new side has it in no net.
  std::vector<std::vector<int>> LostPinNets;
};

// A side from records (builds the nets itself) / from a project whose nets are built / from
// a file: a project file or connection list (records) or a saved netlist (nets only); raises
// the readers' errors (a file of neither kind: the project file reader's error).
TComparisonSide SideFromRecords(TConnectionRecs ARecords, std::string AName);
TComparisonSide SideOfProject(const TProject& AProject);
TComparisonSide ReadComparisonSide(const std::string& APath);

TComparison CompareSides(TComparisonSide AOld, TComparisonSide ANew);
bool HasDifferences(const TComparison& AComparison);

// The window's first line: the counts of both parts.
std::string SummaryLine(const TComparison& AComparison);

// One node of the comparison tree: its depth (the root 0), its text, and what a double-click
// on it asks the main window to select: a net of one side, or a pin.
struct TComparisonLine {
  enum TSide { None, OldSide, NewSide };
  int Depth = 0;
  std::string Text;
  TSide Side = None;
  int Net = -1;     // a net of Side's netlist, or -1
  std::string Pin;  // a pin name, or empty
};

// The comparison tree in pre-order, as the window shows it.
std::vector<TComparisonLine> ComparisonLines(const TComparison& AComparison);

// The lines of "Save...": the summary line, then every node of the tree, a tab per depth.
std::vector<std::string> ComparisonTextLines(const TComparison& AComparison);

std::string WriteComparisonText(
    const TComparison& AComparison);  // "Save..." bytes (tab-indented, UTF-8, CR LF)
std::string WriteComparisonCsv(const TComparison& AComparison);  // "Save as CSV..." bytes

}  // namespace wiremap
