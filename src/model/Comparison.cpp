#include "model/Comparison.h"

#include <string_view>
#include <utility>

#include "files/ProjectFile.h"
#include "model/KeyTable.h"
#include "model/Project.h"
#include "model/TextCompare.h"
#include "model/TreeText.h"
#include "model/Wiremaps.h"

namespace wiremap {

namespace {

TComparisonSide MakeSide(std::string AName, const TWiremaps& AGraph,
                         std::optional<TConnectionRecs> ARecords) {
  TComparisonSide Side{std::move(AName), NetlistOf(AGraph), std::move(ARecords)};
  Side.Netlist.ProjectName = Side.Name;
  return Side;
}

}  // namespace

TComparisonSide SideFromRecords(TConnectionRecs ARecords, std::string AName) {
  TWiremaps Graph;
  Graph.AddConnections(ARecords);
  Graph.ComputeNets();
  return MakeSide(std::move(AName), Graph, std::move(ARecords));
}

TComparisonSide SideOfProject(const TProject& AProject) {
  return MakeSide(AProject.Name(), AProject.Graph(), AProject.Records());
}

// A saved netlist is no project file; the project file reader tells first. Its error stands
// unless the file begins as a saved netlist does, where the netlist reader's error says more.
TComparisonSide ReadComparisonSide(const std::string& APath) {
  const std::string Text = ReadProjectFileText(APath);
  try {
    TProjectFile File = ReadProjectText(Text, APath);
    return SideFromRecords(std::move(File.Records), std::move(File.Name));
  } catch (const EProjectFileError&) {
    std::string_view Start = Text;
    if (Start.starts_with("\xEF\xBB\xBF")) Start.remove_prefix(3);
    const bool LooksLikeNetlist = Start.starts_with(NetlistRootPrefix);
    try {
      TNetlist Netlist = ReadNetlistText(Text);
      std::string Name = Netlist.ProjectName;
      return {std::move(Name), std::move(Netlist), std::nullopt};
    } catch (const EInvalidNetlist&) {
      if (LooksLikeNetlist) throw;
    }
    throw;
  }
}

namespace {

// The net of ANetlist that holds each pin, by the pin's collation key.
class TNetOfPin {
 public:
  explicit TNetOfPin(const TNetlist& ANetlist) {
    for (size_t Net = 0; Net < ANetlist.Nets.size(); ++Net)
      for (const std::string& Pin : ANetlist.Nets[Net]) {
        CollationKeyTo(Pin, FKey);
        const uint64_t Hash = HashText(FKey);
        if (FPins.Find(FKey, Hash) >= 0) continue;
        FPins.Add(FKey, Hash);
        FNets.push_back(static_cast<int>(Net));
      }
  }

  int operator()(const std::string& APin) {
    CollationKeyTo(APin, FKey);
    const int32_t Pin = FPins.Find(FKey);
    return Pin < 0 ? -1 : FNets[static_cast<size_t>(Pin)];
  }

 private:
  std::string FKey;
  TKeyTable FPins;
  std::vector<int> FNets;  // by pin id
};

}  // namespace

TComparison CompareSides(TComparisonSide AOld, TComparisonSide ANew) {
  TComparison Result{std::move(AOld), std::move(ANew), {}, std::nullopt, {}};
  Result.Nets = CompareNetlists(Result.Old.Netlist, Result.New.Netlist);
  if (Result.Old.Records && Result.New.Records)
    Result.Wires = CompareWires(*Result.Old.Records, *Result.New.Records);
  if (!Result.Nets.Changed.empty()) {
    TNetOfPin NetOf(Result.New.Netlist);
    for (const TNetChange& Change : Result.Nets.Changed) {
      std::vector<int>& Nets = Result.LostPinNets.emplace_back();
      for (const std::string& Pin : Change.Removed) Nets.push_back(NetOf(Pin));
    }
  }
  return Result;
}

bool HasDifferences(const TComparison& AComparison) {
  const TNetlistDiff& Nets = AComparison.Nets;
  if (!Nets.Changed.empty() || !Nets.OnlyOld.empty() || !Nets.OnlyNew.empty() ||
      !Nets.PinsOnlyOld.empty() || !Nets.PinsOnlyNew.empty())
    return true;
  const std::optional<TWireDiff>& Wires = AComparison.Wires;
  return Wires && (!Wires->Removed.empty() || !Wires->Added.empty() || !Wires->Changed.empty() ||
                   !Wires->Renamed.empty());
}

namespace {

constexpr std::string_view kNoWires = "wires not compared: a netlist file holds no wires";

std::string Count(size_t ACount) {
  return std::to_string(ACount);
}

// Names keep to one line of the tree and the saved file, as in the main window's trees.
std::string Shown(std::string_view AName) {
  return EscapeName(AName);
}

std::string NetText(const std::vector<std::string>& ANet) {
  return "net " + (ANet.empty() ? std::string() : Shown(ANet.front())) + "   pins " +
         Count(ANet.size());
}

// The designations renamed by the comparison, by collation key, to show old wires under the
// names the new revision gives their pins.
class TRenames {
 public:
  explicit TRenames(const TWireDiff& AWires) {
    for (const auto& [Old, New] : AWires.Renamed) {
      const std::string Key = CollationKey(Old);
      FOld.Add(Key, HashText(Key));
      FNewName.push_back(New);
    }
  }

  const std::string& operator()(const std::string& ADesignation) const {
    if (FNewName.empty()) return ADesignation;
    const int32_t Old = FOld.Find(CollationKey(ADesignation));
    return Old < 0 ? ADesignation : FNewName[static_cast<size_t>(Old)];
  }

 private:
  TKeyTable FOld;
  std::vector<std::string> FNewName;  // by old designation id
};

std::string PinA(const TConnectionRec& R) {
  return PinNameOf(R.DesignationA, R.PinA);
}

std::string PinB(const TConnectionRec& R) {
  return PinNameOf(R.DesignationB, R.PinB);
}

std::string WireName(const std::string& AName) {
  return AName.empty() ? std::string("unnamed wire") : "wire " + Shown(AName);
}

std::string PagesText(int32_t APageA, int32_t APageB) {
  return "pages " + std::to_string(APageA) + ", " + std::to_string(APageB);
}

std::string WireText(const TConnectionRec& R) {
  return Shown(PinA(R)) + " – " + Shown(PinB(R)) + "   " + WireName(R.WireName) + "   " +
         PagesText(R.PageA, R.PageB);
}

// The old record's pages in the order of the new record's pins.
std::pair<int32_t, int32_t> OldPages(const TConnectionRec& AOld, const TConnectionRec& ANew,
                                     const TRenames& ARenames) {
  const bool Straight = SameText(PinNameOf(ARenames(AOld.DesignationA), AOld.PinA), PinA(ANew)) &&
                        (!SameText(PinA(ANew), PinB(ANew)) || AOld.PageA == ANew.PageA);
  return Straight ? std::pair(AOld.PageA, AOld.PageB) : std::pair(AOld.PageB, AOld.PageA);
}

std::string ChangedWireText(const TConnectionRec& AOld, const TConnectionRec& ANew,
                            const TRenames& ARenames) {
  std::string Text =
      Shown(PinA(ANew)) + " – " + Shown(PinB(ANew)) + "   " + WireName(AOld.WireName);
  if (AOld.WireName != ANew.WireName) Text += " → " + WireName(ANew.WireName);
  const auto [PageA, PageB] = OldPages(AOld, ANew, ARenames);
  Text += "   " + PagesText(PageA, PageB);
  if (PageA != ANew.PageA || PageB != ANew.PageB)
    Text += " → " + std::to_string(ANew.PageA) + ", " + std::to_string(ANew.PageB);
  return Text;
}

// Builds the tree line by line.
class TLines {
 public:
  explicit TLines(const TComparison& AComparison) : C(AComparison) {}

  std::vector<TComparisonLine> Build() {
    Add(0,
        "Changes from project [" + Shown(C.Old.Name) + "] to project [" + Shown(C.New.Name) + "]");
    AddChangedNets();
    AddNets("nets only in the old project: ", C.Nets.OnlyOld, C.Old.Netlist,
            TComparisonLine::OldSide);
    AddNets("nets only in the new project: ", C.Nets.OnlyNew, C.New.Netlist,
            TComparisonLine::NewSide);
    AddPins("pins only in the old project: ", C.Nets.PinsOnlyOld);
    AddPins("pins only in the new project: ", C.Nets.PinsOnlyNew);
    if (C.Wires)
      AddWires(*C.Wires);
    else
      Add(1, std::string(kNoWires));
    return std::move(FLines);
  }

 private:
  TComparisonLine& Add(int ADepth, std::string AText) {
    TComparisonLine& Line = FLines.emplace_back();
    Line.Depth = ADepth;
    Line.Text = std::move(AText);
    return Line;
  }

  void AddNet(int ADepth, std::string AText, TComparisonLine::TSide ASide, int ANet) {
    TComparisonLine& Line = Add(ADepth, std::move(AText));
    Line.Side = ASide;
    Line.Net = ANet;
  }

  void AddPin(int ADepth, std::string AText, const std::string& APin) {
    Add(ADepth, std::move(AText)).Pin = APin;
  }

  void AddChangedNets() {
    Add(1, "changed nets: " + Count(C.Nets.Changed.size()));
    for (size_t I = 0; I < C.Nets.Changed.size(); ++I) {
      const TNetChange& Change = C.Nets.Changed[I];
      const auto& NewNet = C.New.Netlist.Nets[static_cast<size_t>(Change.NewNet)];
      const auto& OldNet = C.Old.Netlist.Nets[static_cast<size_t>(Change.OldNet)];
      AddNet(2, NetText(NewNet) + "   was " + NetText(OldNet), TComparisonLine::NewSide,
             Change.NewNet);
      for (const std::string& Pin : Change.Added) AddPin(3, "+ " + Shown(Pin), Pin);
      for (size_t J = 0; J < Change.Removed.size(); ++J) {
        const int Now = C.LostPinNets[I][J];
        const std::string Where =
            Now < 0 ? "gone" : "net " + Shown(C.New.Netlist.Nets[static_cast<size_t>(Now)].front());
        AddPin(3, "- " + Shown(Change.Removed[J]) + "   → " + Where, Change.Removed[J]);
      }
    }
  }

  void AddNets(const std::string& ATitle, const std::vector<int>& ANets, const TNetlist& ANetlist,
               TComparisonLine::TSide ASide) {
    Add(1, ATitle + Count(ANets.size()));
    for (const int Net : ANets) {
      const auto& Pins = ANetlist.Nets[static_cast<size_t>(Net)];
      AddNet(2, NetText(Pins), ASide, Net);
      for (const std::string& Pin : Pins) AddPin(3, Shown(Pin), Pin);
    }
  }

  void AddPins(const std::string& ATitle, const std::vector<std::string>& APins) {
    Add(1, ATitle + Count(APins.size()));
    for (const std::string& Pin : APins) AddPin(2, Shown(Pin), Pin);
  }

  void AddWires(const TWireDiff& AWires) {
    Add(1, "renamed designations: " + Count(AWires.Renamed.size()));
    for (const auto& [Old, New] : AWires.Renamed) Add(2, Shown(Old) + " → " + Shown(New));
    AddRecords("removed wires: ", AWires.Removed, *C.Old.Records);
    AddRecords("added wires: ", AWires.Added, *C.New.Records);
    Add(1, "changed wires: " + Count(AWires.Changed.size()));
    const TRenames Renames(AWires);
    for (const auto& [Old, New] : AWires.Changed) {
      const TConnectionRec& R = (*C.New.Records)[static_cast<size_t>(New)];
      AddPin(2, ChangedWireText((*C.Old.Records)[static_cast<size_t>(Old)], R, Renames), PinA(R));
    }
  }

  void AddRecords(const std::string& ATitle, const std::vector<int>& AIndexes,
                  const TConnectionRecs& ARecords) {
    Add(1, ATitle + Count(AIndexes.size()));
    for (const int Index : AIndexes) {
      const TConnectionRec& R = ARecords[static_cast<size_t>(Index)];
      AddPin(2, WireText(R), PinA(R));
    }
  }

  const TComparison& C;
  std::vector<TComparisonLine> FLines;
};

}  // namespace

std::string SummaryLine(const TComparison& AComparison) {
  const TNetlistDiff& N = AComparison.Nets;
  std::string Text = "nets: unchanged " + std::to_string(N.Unchanged) + ", changed " +
                     Count(N.Changed.size()) + ", only in old " + Count(N.OnlyOld.size()) +
                     ", only in new " + Count(N.OnlyNew.size()) + ", pins only in old " +
                     Count(N.PinsOnlyOld.size()) + ", pins only in new " +
                     Count(N.PinsOnlyNew.size()) + "; ";
  if (!AComparison.Wires) return Text + std::string(kNoWires);
  const TWireDiff& W = *AComparison.Wires;
  return Text + "wires: unchanged " + std::to_string(W.Unchanged) + ", changed " +
         Count(W.Changed.size()) + ", removed " + Count(W.Removed.size()) + ", added " +
         Count(W.Added.size()) + ", renamed designations " + Count(W.Renamed.size());
}

std::vector<TComparisonLine> ComparisonLines(const TComparison& AComparison) {
  return TLines(AComparison).Build();
}

std::vector<std::string> ComparisonTextLines(const TComparison& AComparison) {
  std::vector<std::string> Lines{SummaryLine(AComparison)};
  for (TComparisonLine& Line : ComparisonLines(AComparison))
    Lines.push_back(std::string(static_cast<size_t>(Line.Depth), '\t') + std::move(Line.Text));
  return Lines;
}

std::string WriteComparisonText(const TComparison& AComparison) {
  std::string Text;
  for (const std::string& Line : ComparisonTextLines(AComparison)) Text += Line + "\r\n";
  return Text;
}

// ---------------------------------------------------------------------------------------
// The spreadsheet rows

namespace {

// A field as a spreadsheet reads it back: quoted when it holds a separator, a quote or a
// line end; and a leading "'" where the text would otherwise start a formula, as every
// designation with a function ("=A1-K1") would.
std::string CsvField(std::string_view AText) {
  std::string Text;
  if (!AText.empty() && std::string_view("=+-@\t\r").find(AText.front()) != std::string_view::npos)
    Text += '\'';
  Text += AText;
  if (Text.find_first_of(",\"\r\n") == std::string::npos) return Text;
  std::string Quoted = "\"";
  for (const char Char : Text) {
    if (Char == '"') Quoted += '"';
    Quoted += Char;
  }
  return Quoted + "\"";
}

std::string Joined(const std::vector<std::string>& APins) {
  std::string Text;
  for (const std::string& Pin : APins) Text += (Text.empty() ? "" : " / ") + Pin;
  return Text;
}

std::string PinsOf(const TConnectionRec& R) {
  return PinA(R) + " / " + PinB(R);
}

std::string PagesOf(const TConnectionRec& R) {
  return std::to_string(R.PageA) + " / " + std::to_string(R.PageB);
}

class TCsv {
 public:
  void Row(std::string_view AKind, std::string_view AOldPins, std::string_view ANewPins,
           std::string_view AOldWire = {}, std::string_view ANewWire = {},
           std::string_view AOldPages = {}, std::string_view ANewPages = {}) {
    bool First = true;
    for (const std::string_view Field :
         {AKind, AOldPins, ANewPins, AOldWire, ANewWire, AOldPages, ANewPages}) {
      if (!First) FText += ',';
      FText += CsvField(Field);
      First = false;
    }
    FText += "\r\n";
  }

  std::string Text() { return std::move(FText); }

 private:
  std::string FText;
};

}  // namespace

std::string WriteComparisonCsv(const TComparison& AComparison) {
  const TComparison& C = AComparison;
  TCsv Csv;
  Csv.Row("kind", "old pins", "new pins", "old wire", "new wire", "old pages", "new pages");
  for (const TNetChange& Change : C.Nets.Changed)
    Csv.Row("changed net", Joined(C.Old.Netlist.Nets[static_cast<size_t>(Change.OldNet)]),
            Joined(C.New.Netlist.Nets[static_cast<size_t>(Change.NewNet)]));
  for (const int Net : C.Nets.OnlyOld)
    Csv.Row("net only in old", Joined(C.Old.Netlist.Nets[static_cast<size_t>(Net)]), "");
  for (const int Net : C.Nets.OnlyNew)
    Csv.Row("net only in new", "", Joined(C.New.Netlist.Nets[static_cast<size_t>(Net)]));
  for (const std::string& Pin : C.Nets.PinsOnlyOld) Csv.Row("pin only in old", Pin, "");
  for (const std::string& Pin : C.Nets.PinsOnlyNew) Csv.Row("pin only in new", "", Pin);
  if (C.Wires) {
    const TConnectionRecs& Old = *C.Old.Records;
    const TConnectionRecs& New = *C.New.Records;
    for (const auto& [From, To] : C.Wires->Renamed) Csv.Row("renamed designation", From, To);
    for (const int I : C.Wires->Removed) {
      const TConnectionRec& R = Old[static_cast<size_t>(I)];
      Csv.Row("removed wire", PinsOf(R), "", R.WireName, "", PagesOf(R), "");
    }
    for (const int I : C.Wires->Added) {
      const TConnectionRec& R = New[static_cast<size_t>(I)];
      Csv.Row("added wire", "", PinsOf(R), "", R.WireName, "", PagesOf(R));
    }
    for (const auto& [I, J] : C.Wires->Changed) {
      const TConnectionRec& R = Old[static_cast<size_t>(I)];
      const TConnectionRec& S = New[static_cast<size_t>(J)];
      Csv.Row("changed wire", PinsOf(R), PinsOf(S), R.WireName, S.WireName, PagesOf(R), PagesOf(S));
    }
  }
  return Csv.Text();
}

}  // namespace wiremap
