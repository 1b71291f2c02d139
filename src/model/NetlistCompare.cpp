#include "model/NetlistCompare.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>
#include <utility>

#include "model/ConnectionRec.h"
#include "model/KeySort.h"
#include "model/KeyTable.h"
#include "model/Project.h"
#include "model/SampleProjects.h"
#include "model/TextCompare.h"
#include "model/TreeText.h"
#include "model/Wiremaps.h"

namespace wiremap {

TNetlist NetlistOf(const TWiremaps& AGraph) {
  TNetlist Result;
  Result.ProjectName = ProjectName;
  const int32_t Count = AGraph.GetPinCount();
  for (int32_t Position = 0; Position < Count; ++Position) {
    const TPinDescr* Head = AGraph.GetSortedPin(Position);
    if (!(Head->Flags & pfNetHead)) continue;
    std::vector<std::string>& Net = Result.Nets.emplace_back();
    AGraph.ForEachInNet(Head->Number,
                        [&](int32_t AMember) { Net.push_back(AGraph.GetPinName(AMember)); });
  }
  return Result;
}

TNetlist SampleNetlist(int ANumber) {
  const TSampleProject* Sample = SampleProjectInfo(ANumber);
  if (Sample == nullptr) return {};
  TProject Project(SampleRecords(ANumber), Sample->Caption);
  TNetlist Result = NetlistOf(Project.Graph());
  Result.ProjectName = Sample->Caption;
  return Result;
}

// ---------------------------------------------------------------------------------------
// Reading a saved netlist

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The texts of the saved tree: a tab per depth before the node captions.
constexpr std::string_view kPinPrefix = "\t\t";

bool IsNetLine(std::string_view ALine) {
  return ALine.starts_with('\t') && ALine.substr(1).starts_with(NetPrefix);
}

[[noreturn]] void RaiseAtLine(size_t ALine) {
  throw EInvalidNetlist("Not a netlist file: line " + std::to_string(ALine));
}

// The lines of AText without their line ends (LF or CR LF). Empty lines at the end, as
// an editor may leave them, are not lines of the netlist.
std::vector<std::string_view> SplitLines(std::string_view AText) {
  std::vector<std::string_view> Lines;
  while (!AText.empty()) {
    const size_t End = AText.find('\n');
    std::string_view Line = AText.substr(0, End);
    if (!Line.empty() && Line.back() == '\r') Line.remove_suffix(1);
    Lines.push_back(Line);
    AText.remove_prefix(End == std::string_view::npos ? AText.size() : End + 1);
  }
  while (!Lines.empty() && Lines.back().empty()) Lines.pop_back();
  return Lines;
}

// The pin count of a net line ("\tnet <name>   pins N[   linear]"), or -1 when the line
// has none. Read from the end, so a name may itself contain the marks.
int PinCountOf(std::string_view ALine) {
  std::string_view Rest = ALine.substr(1 + NetPrefix.size());
  if (Rest.ends_with(LinearMark)) Rest.remove_suffix(LinearMark.size());
  const size_t Mark = Rest.rfind(PinCountMark);
  if (Mark == std::string_view::npos) return -1;
  const std::string_view Digits = Rest.substr(Mark + PinCountMark.size());
  if (Digits.empty() ||
      !std::all_of(Digits.begin(), Digits.end(), [](char C) { return C >= '0' && C <= '9'; }))
    return -1;
  int Count = 0;
  const auto [End, Error] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), Count);
  return Error == std::errc() ? Count : -1;
}

// Reads the net and pin lines one by one and remembers every pin seen, so that a pin
// listed twice is caught at its second line.
class TNetlistReader {
 public:
  explicit TNetlistReader(TNetlist& ANetlist) : FNetlist(ANetlist) {}

  void Read(const std::vector<std::string_view>& ALines) {
    for (size_t I = 1; I < ALines.size(); ++I) {
      const size_t Line = I + 1;
      if (ALines[I].starts_with(kPinPrefix))
        AddPin(ALines[I].substr(kPinPrefix.size()), Line);
      else if (IsNetLine(ALines[I]))
        StartNet(ALines[I], Line);
      else {
        EndNet();
        RaiseAtLine(Line);
      }
    }
    EndNet();
  }

 private:
  void StartNet(std::string_view ALine, size_t ALineNumber) {
    EndNet();
    FDeclared = PinCountOf(ALine);
    FNetLine = ALineNumber;
    if (FDeclared <= 0) RaiseAtLine(ALineNumber);
    FNetlist.Nets.emplace_back().reserve(static_cast<size_t>(std::min(FDeclared, 1 << 16)));
  }

  void AddPin(std::string_view AText, size_t ALineNumber) {
    if (FNetLine == 0) RaiseAtLine(ALineNumber);
    std::vector<std::string>& Net = FNetlist.Nets.back();
    if (Net.size() == static_cast<size_t>(FDeclared)) RaiseAtLine(FNetLine);
    std::string Name = UnescapeName(AText);
    CollationKeyTo(Name, FKey);
    const uint64_t Hash = HashText(FKey);
    if (FKeys.Find(FKey, Hash) >= 0) RaiseAtLine(ALineNumber);
    FKeys.Add(FKey, Hash);
    Net.push_back(std::move(Name));
  }

  // Checks the count of the net that ends here.
  void EndNet() {
    if (FNetLine != 0 && FNetlist.Nets.back().size() != static_cast<size_t>(FDeclared))
      RaiseAtLine(FNetLine);
  }

  TNetlist& FNetlist;
  int FDeclared = 0;
  size_t FNetLine = 0;  // 0: no net yet
  std::string FKey;
  TKeyTable FKeys;  // of every pin read so far
};

}  // namespace

TNetlist ReadNetlistText(const std::string& AText) {
  std::string_view Text = AText;
  if (Text.starts_with(kByteOrderMark)) Text.remove_prefix(kByteOrderMark.size());
  const std::vector<std::string_view> Lines = SplitLines(Text);
  if (Lines.empty() || !Lines[0].starts_with(NetlistRootPrefix) || !Lines[0].ends_with(']') ||
      Lines[0].size() <= NetlistRootPrefix.size())
    RaiseAtLine(1);
  TNetlist Result;
  Result.ProjectName = UnescapeName(
      Lines[0].substr(NetlistRootPrefix.size(), Lines[0].size() - NetlistRootPrefix.size() - 1));
  TNetlistReader(Result).Read(Lines);
  return Result;
}

// ---------------------------------------------------------------------------------------
// Comparing two netlists

namespace {

constexpr int kNone = -1;

// The pins of both sides under one numbering: names that compare equal share an id.
class TPinTable {
 public:
  int32_t IdOf(const std::string& AName) {
    CollationKeyTo(AName, FKey);
    const uint64_t Hash = HashText(FKey);
    const int32_t Found = FKeys.Find(FKey, Hash);
    if (Found >= 0) return Found;
    FNames.push_back(&AName);
    return FKeys.Add(FKey, Hash);
  }

  size_t Count() const { return FNames.size(); }

  // The name under which the pin was first seen.
  const std::string& Name(int32_t AId) const { return *FNames[static_cast<size_t>(AId)]; }

  std::string_view Key(int32_t AId) const { return FKeys.Key(AId); }

  // AIds in the name order of their pins.
  void SortByName(std::vector<int32_t>& AIds) const {
    SortIdsByKey(
        AIds.begin(), AIds.end(), [this](int32_t AId) { return Key(AId); },
        [this](int32_t AId) { return std::string_view(Name(AId)); });
  }

 private:
  std::vector<const std::string*> FNames;
  std::string FKey;
  TKeyTable FKeys;
};

// One netlist seen through the pin table: the id of every pin line (kNone for a pin
// repeated on this side), the net of every pin id, and the size of every net.
struct TSide {
  const TNetlist& List;
  std::vector<std::vector<int32_t>> Ids;
  std::vector<int32_t> NetOf;
  std::vector<int32_t> Sizes;
  std::vector<int32_t> Partner;

  TSide(const TNetlist& AList, TPinTable& ATable) : List(AList) {
    Ids.reserve(AList.Nets.size());
    for (const auto& Net : AList.Nets) {
      std::vector<int32_t>& NetIds = Ids.emplace_back();
      NetIds.reserve(Net.size());
      for (const std::string& Name : Net) NetIds.push_back(ATable.IdOf(Name));
    }
  }

  // Gives every pin id its net on this side; once the table is complete.
  void Claim(size_t APinCount) {
    NetOf.assign(APinCount, kNone);
    Sizes.assign(Ids.size(), 0);
    Partner.assign(Ids.size(), kNone);
    for (size_t Net = 0; Net < Ids.size(); ++Net)
      for (int32_t& Id : Ids[Net]) {
        int32_t& Owner = NetOf[static_cast<size_t>(Id)];
        if (Owner != kNone) {
          Id = kNone;
          continue;
        }
        Owner = static_cast<int32_t>(Net);
        ++Sizes[Net];
      }
  }

  // Pins of net ANet that net AOther of the other side lacks, in the order of ANet.
  std::vector<std::string> Missing(int32_t ANet, const TSide& AOther, int32_t AOtherNet) const {
    std::vector<std::string> Names;
    const auto& NetIds = Ids[static_cast<size_t>(ANet)];
    for (size_t I = 0; I < NetIds.size(); ++I)
      if (NetIds[I] != kNone && AOther.NetOf[static_cast<size_t>(NetIds[I])] != AOtherNet)
        Names.push_back(List.Nets[static_cast<size_t>(ANet)][I]);
    return Names;
  }

  std::vector<int> Unpaired() const {
    std::vector<int> Nets;
    for (size_t Net = 0; Net < Partner.size(); ++Net)
      if (Partner[Net] == kNone) Nets.push_back(static_cast<int>(Net));
    return Nets;
  }
};

// Two nets, one of each side, and the number of pins they have in common.
struct TOverlap {
  int32_t Old, New, Shared;
};

// Every pair of nets that share a pin, from one sort of the shared pins by their nets.
std::vector<TOverlap> Overlaps(const TSide& AOld, const TSide& ANew, size_t APinCount) {
  std::vector<uint64_t> Pairs;
  for (size_t Id = 0; Id < APinCount; ++Id)
    if (AOld.NetOf[Id] != kNone && ANew.NetOf[Id] != kNone)
      Pairs.push_back(static_cast<uint64_t>(AOld.NetOf[Id]) << 32 |
                      static_cast<uint32_t>(ANew.NetOf[Id]));
  std::sort(Pairs.begin(), Pairs.end());
  std::vector<TOverlap> Result;
  for (size_t I = 0; I < Pairs.size();) {
    size_t J = I + 1;
    while (J < Pairs.size() && Pairs[J] == Pairs[I]) ++J;
    Result.push_back({static_cast<int32_t>(Pairs[I] >> 32),
                      static_cast<int32_t>(Pairs[I] & 0xFFFFFFFFu), static_cast<int32_t>(J - I)});
    I = J;
  }
  return Result;
}

// Pairs the nets: first those with equal pins, then greedily by the most shared pins.
// A net with equal pins shares no pin with any other net, so the two steps never compete.
int PairNets(TSide& AOld, TSide& ANew, std::vector<TOverlap> AOverlaps) {
  int Unchanged = 0;
  std::vector<TOverlap> Candidates;
  for (const TOverlap& O : AOverlaps) {
    if (O.Shared == AOld.Sizes[static_cast<size_t>(O.Old)] &&
        O.Shared == ANew.Sizes[static_cast<size_t>(O.New)]) {
      AOld.Partner[static_cast<size_t>(O.Old)] = O.New;
      ANew.Partner[static_cast<size_t>(O.New)] = O.Old;
      ++Unchanged;
    } else {
      Candidates.push_back(O);
    }
  }
  std::sort(Candidates.begin(), Candidates.end(), [](const TOverlap& A, const TOverlap& B) {
    if (A.Shared != B.Shared) return A.Shared > B.Shared;
    return A.Old != B.Old ? A.Old < B.Old : A.New < B.New;
  });
  for (const TOverlap& O : Candidates) {
    int32_t& OldPartner = AOld.Partner[static_cast<size_t>(O.Old)];
    int32_t& NewPartner = ANew.Partner[static_cast<size_t>(O.New)];
    if (OldPartner != kNone || NewPartner != kNone) continue;
    OldPartner = O.New;
    NewPartner = O.Old;
  }
  return Unchanged;
}

// Names of the pins that lie in a net of ASide and in none of AOther, in name order.
std::vector<std::string> PinsOnlyIn(const TSide& ASide, const TSide& AOther,
                                    const TPinTable& ATable) {
  std::vector<int32_t> Ids;
  for (size_t Id = 0; Id < ATable.Count(); ++Id)
    if (ASide.NetOf[Id] != kNone && AOther.NetOf[Id] == kNone)
      Ids.push_back(static_cast<int32_t>(Id));
  ATable.SortByName(Ids);
  std::vector<std::string> Names;
  Names.reserve(Ids.size());
  for (const int32_t Id : Ids) Names.push_back(ATable.Name(Id));
  return Names;
}

}  // namespace

TNetlistDiff CompareNetlists(const TNetlist& AOld, const TNetlist& ANew) {
  TPinTable Table;
  TSide Old(AOld, Table);
  TSide New(ANew, Table);
  Old.Claim(Table.Count());
  New.Claim(Table.Count());

  TNetlistDiff Diff;
  Diff.Unchanged = PairNets(Old, New, Overlaps(Old, New, Table.Count()));
  for (size_t Net = 0; Net < New.Partner.size(); ++Net) {
    const int32_t Partner = New.Partner[Net];
    if (Partner == kNone) continue;
    const auto NewNet = static_cast<int32_t>(Net);
    std::vector<std::string> Added = New.Missing(NewNet, Old, Partner);
    std::vector<std::string> Removed = Old.Missing(Partner, New, NewNet);
    // Only the pairs with equal pins lack both; every other pair differs in a pin.
    if (Added.empty() && Removed.empty()) continue;
    Diff.Changed.push_back({Partner, NewNet, std::move(Added), std::move(Removed)});
  }
  Diff.OnlyOld = Old.Unpaired();
  Diff.OnlyNew = New.Unpaired();
  Diff.PinsOnlyOld = PinsOnlyIn(Old, New, Table);
  Diff.PinsOnlyNew = PinsOnlyIn(New, Old, Table);
  return Diff;
}

}  // namespace wiremap
