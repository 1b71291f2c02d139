#include "rawdata/DrawingCheck.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <numeric>
#include <tuple>
#include <unordered_map>

#include "model/DisjointSets.h"
#include "model/TextCompare.h"
#include "rawdata/HostPinNames.h"
#include "rawdata/PointTable.h"
#include "rawdata/RawDataReport.h"
#include "rawdata/SegmentIndex.h"

namespace wiremap {

namespace {

int32_t TypeOf(const TSymbol& ASymbol) {
  return ASymbol.SymbolType & 0xFF;
}

// The symbols the raw data run keeps; a hand-made list may hold others.
bool IsKept(const TSymbol& ASymbol) {
  return !IsSkippedSymbolType(TypeOf(ASymbol));
}

// Pins that wires are drawn to, as opposed to the helpers that sit on wires.
bool CarriesWires(int32_t ASymbolType) {
  const int32_t Type = ASymbolType & 0xFF;
  return Type != st_Signal && Type != st_WireNumber && Type != st_Branch &&
         !IsSkippedSymbolType(Type);
}

// "Page 4, x=12.5 y=80.0": pages counted from 1 as the host shows them.
std::string PlaceText(const TRawPoint& APoint) {
  std::string Text = "Page " + std::to_string(int64_t{APoint.Page} + 1) +
                     ", x=" + TRawDataReport::CoordinateText(APoint.X, ".") +
                     " y=" + TRawDataReport::CoordinateText(APoint.Y, ".");
  if (APoint.Z != 0) Text += " z=" + TRawDataReport::CoordinateText(APoint.Z, ".");
  return Text + ": ";
}

std::string JoinedNames(const std::vector<std::string>& ANames) {
  std::string Text;
  for (const std::string& Name : ANames) {
    if (!Text.empty()) Text += ", ";
    Text += Name;
  }
  return Text;
}

TFinding MakeFinding(TFindingKind AKind, const TRawPoint& APoint, std::vector<std::string> APins,
                     const std::string& AText) {
  return TFinding{AKind, APoint.Page, APoint, std::move(APins), PlaceText(APoint) + AText};
}

void SortFindings(std::vector<TFinding>& AFindings) {
  std::stable_sort(AFindings.begin(), AFindings.end(), [](const TFinding& A, const TFinding& B) {
    return std::tie(A.Page, A.Point.Y, A.Point.X, A.Kind, A.Point.Layer, A.Point.Z, A.Text) <
           std::tie(B.Page, B.Point.Y, B.Point.X, B.Kind, B.Point.Layer, B.Point.Z, B.Text);
  });
}

// How many symbol pins and how many lines (with a vertex there) meet at a point.
struct TMeeting {
  int32_t Pins = 0, Lines = 0;
};

// What meets at every pin and every line end of the drawing, the points keyed by a point
// table: per kept symbol pin in drawing order, and per line its first and last vertex.
class TMeetings {
 public:
  TMeetings(const TSymbols& ASymbols, const TPolylines& ALines) {
    auto Table = std::make_unique<TPointTable>();
    std::vector<int32_t> Pins(TPointTable::TableSize), Lines(TPointTable::TableSize),
        LastLine(TPointTable::TableSize, -1);
    std::vector<int32_t> PinSlots, EndSlots;
    for (const TSymbol& Symbol : ASymbols) {
      if (!IsKept(Symbol)) continue;
      for (const TRawPoint& Pin : Symbol.Pins) {
        PinSlots.push_back(Table->FindOrAdd(Pin));
        ++Pins[Index(PinSlots.back())];
      }
    }
    for (size_t L = 0; L < ALines.size(); ++L) {
      const std::vector<TRawPoint>& Vertices = ALines[L].Vertices;
      for (size_t V = 0; V < Vertices.size(); ++V) {
        const int32_t Slot = Table->FindOrAdd(Vertices[V]);
        if (V == 0 || V + 1 == Vertices.size()) EndSlots.push_back(Slot);
        if (LastLine[Index(Slot)] == static_cast<int32_t>(L)) continue;
        LastLine[Index(Slot)] = static_cast<int32_t>(L);
        ++Lines[Index(Slot)];
      }
    }
    const auto MeetingAt = [&](int32_t ASlot) {
      return TMeeting{Pins[Index(ASlot)], Lines[Index(ASlot)]};
    };
    std::transform(PinSlots.begin(), PinSlots.end(), std::back_inserter(FAtPins), MeetingAt);
    std::transform(EndSlots.begin(), EndSlots.end(), std::back_inserter(FAtEnds), MeetingAt);
  }

  // At the next kept pin, and at the next line end, in the order above.
  TMeeting NextPin() { return FAtPins.at(FNextPin++); }
  TMeeting NextEnd() { return FAtEnds.at(FNextEnd++); }

 private:
  static size_t Index(int32_t ASlot) { return static_cast<size_t>(ASlot); }

  std::vector<TMeeting> FAtPins, FAtEnds;
  size_t FNextPin = 0, FNextEnd = 0;
};

// An end of line ALine, at APoint.
void CheckLineEnd(const TRawPoint& APoint, int32_t ALine, TMeeting AMeeting,
                  const TSegmentIndex& ASegments, std::vector<TFinding>& AFindings) {
  if (AMeeting.Pins > 0 || AMeeting.Lines > 1) return;
  const bool OnLine = ASegments.LineThrough(APoint, ALine) >= 0;
  AFindings.push_back(MakeFinding(
      TFindingKind::OpenLineEnd, APoint, {},
      OnLine ? "line end lies on another line without a vertex there: they are not joined"
             : "line end meets no pin and no other line"));
}

void CheckLineEnds(const TPolylines& ALines, TMeetings& AMeetings, const TSegmentIndex& ASegments,
                   std::vector<TFinding>& AFindings) {
  for (size_t L = 0; L < ALines.size(); ++L) {
    const std::vector<TRawPoint>& Vertices = ALines[L].Vertices;
    const auto Line = static_cast<int32_t>(L);
    if (Vertices.empty()) continue;
    CheckLineEnd(Vertices.front(), Line, AMeetings.NextEnd(), ASegments, AFindings);
    if (Vertices.size() > 1)
      CheckLineEnd(Vertices.back(), Line, AMeetings.NextEnd(), ASegments, AFindings);
  }
}

void CheckPins(const TSymbols& ASymbols, TMeetings& AMeetings, const TSegmentIndex& ASegments,
               const TPinNamer& ANamer, std::vector<TFinding>& AFindings) {
  for (const TSymbol& Symbol : ASymbols) {
    if (!IsKept(Symbol)) continue;
    for (size_t I = 0; I < Symbol.Pins.size(); ++I) {
      const TMeeting Meeting = AMeetings.NextPin();
      if (Meeting.Lines > 0) continue;
      const TRawPoint& Point = Symbol.Pins[I];
      const bool InsideLine = ASegments.LineThrough(Point) >= 0;
      const bool Unconnected = CarriesWires(Symbol.SymbolType) && Meeting.Pins < 2;
      if (!InsideLine && !Unconnected) continue;
      const std::string Name = ANamer(Symbol, static_cast<int32_t>(I));
      if (InsideLine)
        AFindings.push_back(
            MakeFinding(TFindingKind::PinInsideLine, Point, {Name},
                        "pin " + Name + " lies on a line without a vertex there: not joined"));
      if (Unconnected)
        AFindings.push_back(MakeFinding(TFindingKind::UnconnectedPin, Point, {Name},
                                        "pin " + Name + " is connected to nothing"));
    }
  }
}

// One pin of the drawing by name, with the nets it belongs to on both sides.
struct TNamedPin {
  std::string Name, Key;
  TRawPoint Point;           // the first place the drawing has it
  int32_t DrawingNode = -1;  // in the drawing's union-find
  int32_t ListNode = -1;     // in the list's union-find
};

class TNetComparison {
 public:
  TNetComparison(const TSymbols& ASymbols, const TPolylines& ALines, const TPinNamer& ANamer) {
    ReadDrawingNets(ASymbols, ALines, ANamer);
  }

  void ReadList(const TConnectionRecs& AConnections) {
    std::string Name;
    for (const TConnectionRec& Record : AConnections) {
      PinNameOf(Record.DesignationA, Record.PinA, Name);
      const int32_t A = ListNode(CollationKey(Name));
      PinNameOf(Record.DesignationB, Record.PinB, Name);
      FList.Join(A, ListNode(CollationKey(Name)));
    }
  }

  // A net of one side whose pins lie in two or more nets of the other side.
  void Compare(std::vector<TFinding>& AFindings) {
    std::vector<size_t> Order(FPins.size());
    std::iota(Order.begin(), Order.end(), size_t{0});
    ReportSplits(Order, &TNetComparison::DrawingNet, &TNetComparison::ListNet,
                 TFindingKind::OnlyInDrawing, "the drawing joins ",
                 " that the connection list has in ", AFindings);
    ReportSplits(Order, &TNetComparison::ListNet, &TNetComparison::DrawingNet,
                 TFindingKind::OnlyInList, "the connection list joins ",
                 " that the drawing has in ", AFindings);
  }

 private:
  using TNetOf = int32_t (TNetComparison::*)(const TNamedPin&);

  void ReadDrawingNets(const TSymbols& ASymbols, const TPolylines& ALines,
                       const TPinNamer& ANamer) {
    std::unordered_map<int32_t, size_t> SymbolOf;
    for (size_t S = 0; S < ASymbols.size(); ++S) SymbolOf.try_emplace(ASymbols[S].Handle, S);
    auto Table = std::make_unique<TPointTable>();
    Table->Build(ASymbols, ALines);
    TNaiveNetlist Nets;
    Table->ComputeNetlist(Nets);
    Table.reset();
    for (const std::vector<TPinRef>& Net : Nets) {
      const int32_t Node = FDrawing.Add();
      for (const TPinRef& Ref : Net) {
        if (!CarriesWires(Ref.SymbolType)) continue;
        const TSymbol& Symbol = ASymbols[SymbolOf.at(Ref.Handle)];
        if (static_cast<size_t>(Ref.PinIndex) >= Symbol.Pins.size()) continue;  // a handle twice
        AddDrawingPin(ANamer(Symbol, Ref.PinIndex), Symbol.Pins[static_cast<size_t>(Ref.PinIndex)],
                      Node);
      }
    }
  }

  // Pins of one name are one pin of the list: their nets are joined.
  void AddDrawingPin(std::string AName, const TRawPoint& APoint, int32_t ANode) {
    std::string Key = CollationKey(AName);
    const auto [It, Added] = FPinOfKey.try_emplace(Key, FPins.size());
    if (Added) {
      FPins.push_back({std::move(AName), std::move(Key), APoint, ANode, FList.Add()});
      return;
    }
    TNamedPin& Pin = FPins[It->second];
    FDrawing.Join(Pin.DrawingNode, ANode);
    if (std::tie(APoint.Page, APoint.Y, APoint.X) <
        std::tie(Pin.Point.Page, Pin.Point.Y, Pin.Point.X))
      Pin.Point = APoint;
  }

  // The list's node of a pin name; names the drawing lacks get nodes of their own.
  int32_t ListNode(const std::string& AKey) {
    const auto It = FPinOfKey.find(AKey);
    if (It != FPinOfKey.end()) return FPins[It->second].ListNode;
    const auto [Other, Added] = FListOnly.try_emplace(AKey, 0);
    if (Added) Other->second = FList.Add();
    return Other->second;
  }

  int32_t DrawingNet(const TNamedPin& APin) { return FDrawing.Root(APin.DrawingNode); }
  int32_t ListNet(const TNamedPin& APin) { return FList.Root(APin.ListNode); }

  void ReportSplits(std::vector<size_t>& AOrder, TNetOf ANet, TNetOf AOtherNet, TFindingKind AKind,
                    const std::string& AJoins, const std::string& AHasIn,
                    std::vector<TFinding>& AFindings) {
    std::vector<std::pair<int32_t, int32_t>> Nets(FPins.size());
    for (size_t I = 0; I < FPins.size(); ++I)
      Nets[I] = {(this->*ANet)(FPins[I]), (this->*AOtherNet)(FPins[I])};
    std::sort(AOrder.begin(), AOrder.end(), [&](size_t A, size_t B) { return Nets[A] < Nets[B]; });
    for (size_t First = 0; First < AOrder.size();) {
      size_t Last = First;
      int32_t OtherNets = 1;
      while (Last + 1 < AOrder.size() &&
             Nets[AOrder[Last + 1]].first == Nets[AOrder[First]].first) {
        ++Last;
        if (Nets[AOrder[Last]].second != Nets[AOrder[Last - 1]].second) ++OtherNets;
      }
      if (OtherNets > 1)
        AFindings.push_back(NetFinding(AKind,
                                       {AOrder.begin() + static_cast<ptrdiff_t>(First),
                                        AOrder.begin() + static_cast<ptrdiff_t>(Last + 1)},
                                       AJoins, AHasIn, OtherNets));
      First = Last + 1;
    }
  }

  TFinding NetFinding(TFindingKind AKind, std::vector<size_t> APins, const std::string& AJoins,
                      const std::string& AHasIn, int32_t AOtherNets) const {
    std::sort(APins.begin(), APins.end(), [&](size_t A, size_t B) {
      return CompareKeyed(FPins[A].Key, FPins[A].Name, FPins[B].Key, FPins[B].Name) < 0;
    });
    std::vector<std::string> Names;
    for (size_t Pin : APins) Names.push_back(FPins[Pin].Name);
    const std::string Text = AJoins + std::to_string(Names.size()) + " pins" + AHasIn +
                             std::to_string(AOtherNets) + " nets: " + JoinedNames(Names);
    return MakeFinding(AKind, FPins[APins.front()].Point, std::move(Names), Text);
  }

  std::vector<TNamedPin> FPins;
  std::unordered_map<std::string, size_t> FPinOfKey;
  std::unordered_map<std::string, int32_t> FListOnly;
  TDisjointSets FDrawing, FList;
};

}  // namespace

TPinNamer HostPinNamer() {
  auto Names = std::make_shared<THostPinNames>();
  return [Names](const TSymbol& ASymbol, int32_t APinIndex) {
    return Names->Name(ASymbol, APinIndex);
  };
}

std::vector<TFinding> CheckDrawing(const TSymbols& ASymbols, const TPolylines& ALines) {
  return CheckDrawing(ASymbols, ALines, HostPinNamer());
}

std::vector<TFinding> CheckDrawing(const TSymbols& ASymbols, const TPolylines& ALines,
                                   const TPinNamer& ANamer) {
  TMeetings Meetings(ASymbols, ALines);
  const TSegmentIndex Segments(ALines);
  std::vector<TFinding> Findings;
  CheckLineEnds(ALines, Meetings, Segments, Findings);
  CheckPins(ASymbols, Meetings, Segments, ANamer, Findings);
  SortFindings(Findings);
  return Findings;
}

std::vector<TFinding> CompareWithConnectionList(const TSymbols& ASymbols, const TPolylines& ALines,
                                                const TConnectionRecs& AConnections) {
  return CompareWithConnectionList(ASymbols, ALines, AConnections, HostPinNamer());
}

std::vector<TFinding> CompareWithConnectionList(const TSymbols& ASymbols, const TPolylines& ALines,
                                                const TConnectionRecs& AConnections,
                                                const TPinNamer& ANamer) {
  TNetComparison Comparison(ASymbols, ALines, ANamer);
  Comparison.ReadList(AConnections);
  std::vector<TFinding> Findings;
  Comparison.Compare(Findings);
  SortFindings(Findings);
  return Findings;
}

std::string FindingKindCaption(TFindingKind AKind) {
  switch (AKind) {
    case TFindingKind::OpenLineEnd:
      return "Open line ends";
    case TFindingKind::PinInsideLine:
      return "Pins inside lines";
    case TFindingKind::UnconnectedPin:
      return "Unconnected pins";
    case TFindingKind::OnlyInDrawing:
      return "Joined only in the drawing";
    case TFindingKind::OnlyInList:
      return "Joined only in the connection list";
  }
  return "Findings";
}

std::string FindingGroupCaption(TFindingKind AKind, size_t ACount) {
  return FindingKindCaption(AKind) + " (" + std::to_string(ACount) + ")";
}

std::vector<std::string> FindingLines(const std::vector<TFinding>& AFindings) {
  if (AFindings.empty()) return {NoFindingsText};
  std::vector<std::string> Lines;
  for (TFindingKind Kind :
       {TFindingKind::OpenLineEnd, TFindingKind::PinInsideLine, TFindingKind::UnconnectedPin,
        TFindingKind::OnlyInDrawing, TFindingKind::OnlyInList}) {
    const auto Count = std::count_if(AFindings.begin(), AFindings.end(),
                                     [Kind](const TFinding& A) { return A.Kind == Kind; });
    if (Count == 0) continue;
    Lines.push_back(FindingGroupCaption(Kind, static_cast<size_t>(Count)));
    for (const TFinding& Finding : AFindings)
      if (Finding.Kind == Kind) Lines.push_back("\t" + Finding.Text);
  }
  return Lines;
}

}  // namespace wiremap
