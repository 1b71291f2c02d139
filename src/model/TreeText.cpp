#include "model/TreeText.h"

#include <algorithm>
#include <charconv>

#include "model/KeyValues.h"
#include "model/Wiremaps.h"

namespace wiremap {

const std::array<TSortOrderInfo, SortOrderCount> SortOrders{{
    {"Pin Name", TSortOrderInfo::Flat, akPin, "", true},
    // a page group needs no page behind each pin
    {"Page Number, then Pin Name", TSortOrderInfo::Grouped, akPage, "page ", false},
    {"Function, then Pin Name", TSortOrderInfo::Grouped, akFunction, "function ", true},
    {"Function, then Location, then Pin Name", TSortOrderInfo::NoTree, akPin, "", true},
    {"Location, then Pin Name", TSortOrderInfo::Grouped, akLocation, "location ", true},
    {"Location, then Page Number, then Pin Name", TSortOrderInfo::NoTree, akPin, "", true},
    {"Custom", TSortOrderInfo::NoTree, akPin, "", true},
}};

namespace {

constexpr std::string_view PinListRootPrefix = "List of pins in project [";

bool NeedsEscape(char AChar) {
  return AChar == '\n' || AChar == '\r';
}

// Whether a backslash in front of AChar would read back as the start of an escape.
bool EndsPlainBackslash(char AChar) {
  return AChar == 'n' || AChar == 'r' || AChar == '\\' || NeedsEscape(AChar);
}

// Whether EscapeName would change AName.
bool NameNeedsEscape(std::string_view AName) {
  for (const char Char : AName)
    if (Char == '\\' || NeedsEscape(Char)) return true;
  return false;
}

void AppendEscaped(std::string& AText, std::string_view AName) {
  if (NameNeedsEscape(AName))
    AText += EscapeName(AName);
  else
    AText += AName;
}

void AppendLine(std::string& AText, int ADepth, const std::string& ALine) {
  AText.append(static_cast<size_t>(ADepth), '\t');
  AText += ALine;
  AText += "\r\n";
}

void AppendNumber(std::string& AText, size_t ANumber) {
  char Digits[24];
  const auto Written = std::to_chars(Digits, Digits + sizeof Digits, ANumber);
  AText.append(Digits, Written.ptr);
}

void AppendNetText(std::string& AText, const TWiremaps& AGraph, const TNetlistRows& ARows,
                   int32_t ANet) {
  AText += NetPrefix;
  AppendEscaped(AText, AGraph.GetPinName(ARows.Pin(ANet, 0)));
  AText += PinCountMark;
  AppendNumber(AText, static_cast<size_t>(ARows.PinCount(ANet)));
  if (ARows.Linear[static_cast<size_t>(ANet)]) AText += LinearMark;
}

// Pins lie all over memory in name order: the writers ask for them this many steps ahead,
// so that a large project does not wait on memory at every pin.
constexpr int32_t PrefetchAhead = 32;

void Prefetch(const void* AAddress) {
  __builtin_prefetch(AAddress);
}

}  // namespace

const TSortOrderInfo* SortOrderInfo(int AOrder) {
  return AOrder >= 0 && AOrder < SortOrderCount ? &SortOrders[static_cast<size_t>(AOrder)]
                                                : nullptr;
}

std::string EscapeName(std::string_view AName) {
  if (!NameNeedsEscape(AName)) return std::string(AName);
  std::string Text;
  Text.reserve(AName.size() + 4);
  for (size_t I = 0; I < AName.size(); ++I) {
    const char Char = AName[I];
    if (Char == '\n')
      Text += "\\n";
    else if (Char == '\r')
      Text += "\\r";
    else if (Char == '\\' && I + 1 < AName.size() && EndsPlainBackslash(AName[I + 1]))
      Text += "\\\\";
    else
      Text += Char;
  }
  return Text;
}

std::string UnescapeName(std::string_view AText) {
  if (AText.find('\\') == std::string_view::npos) return std::string(AText);
  std::string Name;
  Name.reserve(AText.size());
  for (size_t I = 0; I < AText.size(); ++I) {
    const char Next = I + 1 < AText.size() ? AText[I + 1] : '\0';
    if (AText[I] == '\\' && (Next == 'n' || Next == 'r' || Next == '\\')) {
      Name += Next == 'n' ? '\n' : Next == 'r' ? '\r' : '\\';
      ++I;
    } else {
      Name += AText[I];
    }
  }
  return Name;
}

int32_t TNetlistRows::NetOfRow(int32_t ARow) const {
  return static_cast<int32_t>(std::upper_bound(Starts.begin(), Starts.end(), ARow) -
                              Starts.begin()) -
         1;
}

TNetlistRows NetlistRows(const TWiremaps& AGraph) {
  if (const TNetlistRows* Computed = AGraph.ComputedNets()) return *Computed;
  TNetlistRows Rows;
  const int32_t Count = AGraph.GetPinCount();
  Rows.Pins.reserve(static_cast<size_t>(Count));
  Rows.RowOf.assign(static_cast<size_t>(Count), -1);
  for (int32_t Position = 0; Position < Count; ++Position) {
    const TPinDescr* Head = AGraph.GetSortedPin(Position);
    if (!(Head->Flags & pfNetHead)) continue;
    Rows.Starts.push_back(static_cast<int32_t>(Rows.Pins.size()));
    bool Linear = true;
    int32_t Number = Head->Number;
    int32_t Walked = 0;
    // The count bounds the walk should a chain ever fail to close.
    do {
      const TPinDescr* Pin = AGraph.GetPin(Number);
      Rows.RowOf[static_cast<size_t>(Number)] = static_cast<int32_t>(Rows.Pins.size());
      Rows.Pins.push_back(Number);
      if (Pin->Links.size() > LinearLinkLimit) Linear = false;
      Number = Pin->NextInNet;
    } while (Number != Head->Number && ++Walked < Count);
    Rows.Linear.push_back(Linear ? 1 : 0);
  }
  Rows.Starts.push_back(static_cast<int32_t>(Rows.Pins.size()));
  return Rows;
}

// One pass counts the pins of every group, a second one puts them in place; each group
// keeps name order.
TPinListRows PinListRows(const TWiremaps& AGraph, const TKeyValues& AKeyValues, int AOrder) {
  TPinListRows Rows;
  const TSortOrderInfo* Order = SortOrderInfo(AOrder);
  const int32_t Count = AGraph.GetPinCount();
  if (!Order || Order->Shape == TSortOrderInfo::NoTree) {
    Rows.Starts.push_back(0);
  } else if (Order->Shape == TSortOrderInfo::Flat) {
    Rows.Positions.resize(static_cast<size_t>(Count));
    for (int32_t Position = 0; Position < Count; ++Position)
      Rows.Positions[static_cast<size_t>(Position)] = Position;
    Rows.Starts = {0, Count};
  } else {
    const int32_t Groups = AKeyValues.Lists[Order->Aspect].Count();
    const auto GroupOf = [&](int32_t APosition) {
      const int32_t Key = AGraph.GetSortedPin(APosition)->Keys[Order->Aspect];
      return Key >= 0 && Key < Groups ? Key : -1;
    };
    Rows.Starts.assign(static_cast<size_t>(Groups) + 1, 0);
    for (int32_t Position = 0; Position < Count; ++Position)
      if (const int32_t Group = GroupOf(Position); Group >= 0)
        ++Rows.Starts[static_cast<size_t>(Group) + 1];
    for (size_t G = 1; G < Rows.Starts.size(); ++G) Rows.Starts[G] += Rows.Starts[G - 1];
    Rows.Positions.resize(static_cast<size_t>(Rows.Starts.back()));
    std::vector<int32_t> Next(Rows.Starts.begin(), Rows.Starts.end() - 1);
    for (int32_t Position = 0; Position < Count; ++Position)
      if (const int32_t Group = GroupOf(Position); Group >= 0)
        Rows.Positions[static_cast<size_t>(Next[static_cast<size_t>(Group)]++)] = Position;
  }
  return Rows;
}

std::string NetlistRootText(const std::string& AProjectName) {
  return std::string(NetlistRootPrefix) + EscapeName(AProjectName) + "]";
}

std::string NetText(const TWiremaps& AGraph, const TNetlistRows& ARows, int32_t ANet) {
  std::string Text;
  AppendNetText(Text, AGraph, ARows, ANet);
  return Text;
}

std::string NetPinText(const TWiremaps& AGraph, int32_t ANumber) {
  return EscapeName(AGraph.GetPinName(ANumber));
}

std::string PinListRootText(const std::string& AProjectName) {
  return std::string(PinListRootPrefix) + EscapeName(AProjectName) + "]";
}

std::string GroupText(const TSortOrderInfo& AOrder, const TKeyValues& AKeyValues, int32_t AGroup) {
  return AOrder.GroupPrefix + EscapeName(AKeyValues.Lists[AOrder.Aspect][AGroup]);
}

std::string PinText(const TWiremaps& AGraph, int32_t APosition, bool AWithPage) {
  const TPinDescr* Pin = AGraph.GetSortedPin(APosition);
  std::string Text = "pin " + EscapeName(AGraph.GetSortedName(APosition));
  if (AWithPage) Text += "   page " + std::to_string(Pin->Page);
  Text += "   links " + std::to_string(Pin->LinkWires.size());
  return Text;
}

std::string LinkText(const TWiremaps& AGraph, const TPinDescr& APin, size_t ALink) {
  return "linked to " + EscapeName(AGraph.GetPinName(APin.Links[ALink])) + "   by wire " +
         EscapeName(APin.LinkWires[ALink]);
}

std::string WriteNetlistText(TWiremaps& AGraph, const std::string& AProjectName) {
  std::string Text;
  WriteNetlistText(AGraph, AProjectName, [&Text](std::string_view APiece) { Text += APiece; });
  return Text;
}

void WriteNetlistText(TWiremaps& AGraph, const std::string& AProjectName, const TTextSink& AWrite) {
  constexpr size_t PieceSize = size_t{1} << 20;
  // The graph's own rows need no copy.
  TNetlistRows Walked;
  const TNetlistRows* Computed = AGraph.ComputedNets();
  const TNetlistRows& Rows = Computed ? *Computed : (Walked = NetlistRows(AGraph));
  const auto RowCount = static_cast<int32_t>(Rows.Pins.size());
  const auto PinOfRow = [&](int32_t ARow) {
    return AGraph.GetPin(Rows.Pins[static_cast<size_t>(ARow)]);
  };
  // The pin first, its name's characters once the pin is there.
  const auto PrefetchRow = [&](int32_t ARow) {
    if (ARow + PrefetchAhead < RowCount)
      AGraph.PrefetchPin(Rows.Pins[static_cast<size_t>(ARow + PrefetchAhead)]);
    if (ARow + PrefetchAhead / 2 < RowCount)
      Prefetch(PinOfRow(ARow + PrefetchAhead / 2)->Name.data());
  };
  std::string Text;
  Text.reserve(PieceSize + 4096);
  AppendLine(Text, 0, NetlistRootText(AProjectName));
  for (int32_t Net = 0; Net < Rows.NetCount(); ++Net) {
    Text += '\t';
    AppendNetText(Text, AGraph, Rows, Net);
    Text += "\r\n";
    for (int32_t Row = Rows.Starts[static_cast<size_t>(Net)];
         Row < Rows.Starts[static_cast<size_t>(Net) + 1]; ++Row) {
      PrefetchRow(Row);
      Text += "\t\t";
      AppendEscaped(Text, PinOfRow(Row)->Name);
      Text += "\r\n";
    }
    if (Text.size() >= PieceSize) {
      AWrite(Text);
      Text.clear();
    }
  }
  AWrite(Text);
}

std::string WritePinListText(TWiremaps& AGraph, TKeyValues& AKeyValues, int AOrder,
                             const std::string& AProjectName) {
  std::string Text;
  AppendLine(Text, 0, PinListRootText(AProjectName));
  const TSortOrderInfo* Order = SortOrderInfo(AOrder);
  if (!Order) return Text;
  const TPinListRows Rows = PinListRows(AGraph, AKeyValues, AOrder);
  const bool Grouped = Order->Shape == TSortOrderInfo::Grouped;
  const int Depth = Grouped ? 2 : 1;
  for (int32_t Group = 0; Group < Rows.GroupCount(); ++Group) {
    if (Grouped) AppendLine(Text, 1, GroupText(*Order, AKeyValues, Group));
    for (int32_t I = 0; I < Rows.PinCount(Group); ++I) {
      const int32_t Position = Rows.Position(Group, I);
      const TPinDescr& Pin = *AGraph.GetSortedPin(Position);
      AppendLine(Text, Depth, PinText(AGraph, Position, Order->PinShowsPage));
      for (size_t K = 0; K < Pin.Links.size(); ++K)
        AppendLine(Text, Depth + 1, LinkText(AGraph, Pin, K));
    }
  }
  return Text;
}

}  // namespace wiremap
