#pragma once

#include <string>
#include <vector>

#include "model/Exception.h"

namespace wiremap {

class TWiremaps;

// The nets of one project as plain names, detached from any graph, so that a saved
// revision and the loaded project can be set side by side.
struct TNetlist {
  std::string ProjectName;
  std::vector<std::vector<std::string>> Nets;
};

// The nets of AGraph (nets computed) in the order of the netlist tree, each net's pins in
// the order of the net; the project name is ProjectName.
TNetlist NetlistOf(const TWiremaps& AGraph);

// The netlist of built-in sample ANumber (1 to 9; empty for other numbers), named by its
// caption. It is built in a graph of its own: ProjectName and the loaded project stay as
// they are.
TNetlist SampleNetlist(int ANumber);

// A text that is not a netlist as Save Netlist writes it.
class EInvalidNetlist : public Exception {
 public:
  using Exception::Exception;
  std::string ClassName() const override { return "EInvalidNetlist"; }
};

// Reads the text Save Netlist writes (UTF-8, CR LF or LF). Raises EInvalidNetlist
// "Not a netlist file: line %d" with the first line that does not fit; a net whose
// "pins N" disagrees with its pin lines is reported at its own line, and so is a pin
// listed a second time (a pin belongs to one net only).
TNetlist ReadNetlistText(const std::string& AText);

// One net of the new project matched with one of the old project whose pins differ.
struct TNetChange {
  int OldNet = -1, NewNet = -1;
  std::vector<std::string> Added, Removed;
};

struct TNetlistDiff {
  int Unchanged = 0;
  std::vector<TNetChange> Changed;                    // in new-net order
  std::vector<int> OnlyOld, OnlyNew;                  // nets without a partner, ascending
  std::vector<std::string> PinsOnlyOld, PinsOnlyNew;  // pins in no net of the other side
};

// What changed from AOld to ANew. Pins are the same when CompareText says so. Nets with
// equal pins are unchanged; the others are paired one to one by the number of pins they
// share, largest first (ties: lower old net, then lower new net); nets that share no pin
// stay unpaired. A pin listed again on the same side counts only where it first appears,
// and a net without pins is never paired.
TNetlistDiff CompareNetlists(const TNetlist& AOld, const TNetlist& ANew);

}  // namespace wiremap
