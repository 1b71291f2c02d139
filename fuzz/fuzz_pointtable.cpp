// A small drawing on a narrow grid, so that points coincide and probes collide: branches
// with every common pin (and malformed ones), signals whose names differ in letter case,
// lines of 0 to 5 vertices. The point table built from it must hold each distinct point
// once, chain its used slots newest first, and give exactly the nets of a plain
// reference: a map of points, a recursive walk, and union-find for the grouping.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "TableStorage.h"
#include "UnionFind.h"
#include "model/TextCompare.h"
#include "rawdata/PointTable.h"

namespace wiremap {
namespace {

using TPointKey = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>;

TPointKey KeyOf(const TRawPoint& P) {
  return {P.X, P.Y, P.Z, P.Layer, P.Page};
}

bool SamePins(const std::vector<TPinRef>& A, const std::vector<TPinRef>& B) {
  return std::equal(A.begin(), A.end(), B.begin(), B.end(), [](const TPinRef& P, const TPinRef& Q) {
    return P.Handle == Q.Handle && P.PinIndex == Q.PinIndex && P.SymbolType == Q.SymbolType;
  });
}

bool SameNets(const TNaiveNetlist& A, const TNaiveNetlist& B) {
  return std::equal(A.begin(), A.end(), B.begin(), B.end(), SamePins);
}

class TDrawingDecoder {
 public:
  explicit TDrawingDecoder(TFuzzInput& AInput) : FInput(AInput) {}

  TSymbols Symbols() {
    TSymbols Symbols;
    for (int N = FInput.Below(12); N > 0; --N) Symbols.push_back(Symbol(Symbols.size()));
    return Symbols;
  }

  TPolylines Polylines() {
    TPolylines Lines;
    for (int N = FInput.Below(8); N > 0; --N) {
      TPolyline& Line = Lines.emplace_back();
      Line.Handle = 1000 + static_cast<int32_t>(Lines.size());
      Line.Page = FInput.Below(2);
      Line.Layer = FInput.Below(2);
      for (int V = FInput.Below(6); V > 0; --V)
        Line.Vertices.push_back(Point(Line.Layer, Line.Page));
      Line.IsJumper = FInput.Bool();
      Line.IsCable = FInput.Bool();
    }
    return Lines;
  }

  // Any point at all, for the hash alone.
  TRawPoint AnyPoint() {
    const auto Any = [this] {
      int32_t Value = 0;
      for (int I = 0; I < 4; ++I)
        Value = static_cast<int32_t>(static_cast<uint32_t>(Value) << 8 | FInput.Byte());
      return Value;
    };
    return {Any(), Any(), Any(), Any(), Any()};
  }

 private:
  // Mostly a few grid places; now and then an X that differs only in its low 8 bits
  // (the same home slot), or a point off its owner's layer or page.
  TRawPoint Point(int32_t ALayer, int32_t APage) {
    TRawPoint P{256 * FInput.Below(3), 1000 * FInput.Below(3), 0, ALayer, APage};
    switch (FInput.Below(16)) {
      case 0:
        P.X += 1 + FInput.Below(255);
        break;
      case 1:
        P.Z = -1;
        break;
      case 2:
        P.Layer = 1 - ALayer;
        break;
      default:
        break;
    }
    return P;
  }

  TSymbol Symbol(size_t AIndex) {
    static const std::string Signals[] = {"L1", "l1", "L2", "", "É", "é", "+24V"};
    TSymbol S;
    S.Handle = 1 + static_cast<int32_t>(AIndex);
    S.Page = FInput.Below(2);
    S.Layer = FInput.Below(2);
    int Pins = FInput.Below(5);
    switch (FInput.Below(8)) {
      case 0:
      case 1: {
        static const int32_t Branches[] = {32, 288, 544, 800};
        S.SymbolType = Branches[FInput.Below(4)];
        if (FInput.Below(8) != 0) Pins = 3;
        break;
      }
      case 2:
      case 3:
        S.SymbolType = st_Signal;
        S.Name = Signals[FInput.Below(static_cast<int>(std::size(Signals)))];
        if (FInput.Below(8) != 0) Pins = 1;
        break;
      default:
        S.SymbolType = FInput.Below(35);
        // A branch type in the high bits of another type makes no branch.
        if (FInput.Below(16) == 0) S.SymbolType |= 256;
        if (S.SymbolType == st_Branch || S.SymbolType == st_Signal) S.SymbolType = st_Normal;
        break;
    }
    for (; Pins > 0; --Pins) S.Pins.push_back(Point(S.Layer, S.Page));
    return S;
  }

  TFuzzInput& FInput;
};

// Would Build refuse the drawing? Branches need three pins and a common pin from 0 to 2,
// signals one pin.
bool Malformed(const TSymbols& ASymbols) {
  return std::any_of(ASymbols.begin(), ASymbols.end(), [](const TSymbol& S) {
    if ((S.SymbolType & 0xFF) == st_Branch)
      return S.Pins.size() != 3 || (S.SymbolType >> 8 & 3) == 3;
    return S.SymbolType == st_Signal && S.Pins.size() != 1;
  });
}

// The drawing's points and links as the rules give them, with a map for the points and
// the signal names compared as texts.
class TReferenceTable {
 public:
  TReferenceTable(const TSymbols& ASymbols, const TPolylines& ALines) {
    std::vector<std::pair<std::string, int32_t>> Signals;
    for (const TSymbol& S : ASymbols) {
      std::vector<int32_t> P;
      for (const TRawPoint& Pin : S.Pins) P.push_back(Point(Pin));
      if ((S.SymbolType & 0xFF) == st_Branch) {
        const int32_t M = S.SymbolType >> 8 & 3;
        const int32_t U = (M + 2) % 3, V = (M + 1) % 3;
        Join(P[M], P[U]);
        Join(P[M], P[V]);
      } else if (S.SymbolType == st_Signal) {
        const auto First = std::find_if(Signals.begin(), Signals.end(), [&](const auto& AEntry) {
          return SameText(AEntry.first, S.Name);
        });
        if (First == Signals.end())
          Signals.emplace_back(S.Name, P[0]);
        else
          Join(P[0], First->second);
      } else {
        for (size_t I = 0; I < P.size(); ++I)
          Pins[P[I]].push_back({S.Handle, static_cast<int32_t>(I), S.SymbolType});
      }
    }
    for (const TPolyline& L : ALines) {
      std::vector<int32_t> P;
      for (const TRawPoint& Vertex : L.Vertices) P.push_back(Point(Vertex));
      for (size_t K = 1; K < P.size(); ++K) Join(P[K - 1], P[K]);
    }
    SignalCount = static_cast<int32_t>(Signals.size());
  }

  // The nets: the insertion order walked newest first, each net collected by a plain
  // recursive walk along the links in the order they were made.
  TNaiveNetlist Nets() {
    TNaiveNetlist Nets;
    std::vector<bool> Seen(Keys.size(), false);
    for (size_t I = Keys.size(); I-- > 0;) {
      if (Seen[I]) continue;
      Collect(static_cast<int32_t>(I), Seen, Nets.emplace_back());
    }
    return Nets;
  }

  std::vector<TPointKey> Keys;  // in insertion order
  std::vector<std::vector<int32_t>> Links;
  std::vector<std::vector<TPinRef>> Pins;
  int32_t SignalCount = 0;

 private:
  int32_t Point(const TRawPoint& APoint) {
    const auto [It, Added] = FIndex.emplace(KeyOf(APoint), static_cast<int32_t>(Keys.size()));
    if (Added) {
      Keys.push_back(KeyOf(APoint));
      Links.emplace_back();
      Pins.emplace_back();
    }
    return It->second;
  }

  void Join(int32_t A, int32_t B) {
    Links[A].push_back(B);
    Links[B].push_back(A);
  }

  void Collect(int32_t APoint, std::vector<bool>& ASeen, std::vector<TPinRef>& ANet) {
    if (ASeen[APoint]) return;
    ASeen[APoint] = true;
    ANet.insert(ANet.end(), Pins[APoint].begin(), Pins[APoint].end());
    for (const int32_t Next : Links[APoint]) Collect(Next, ASeen, ANet);
  }

  std::map<TPointKey, int32_t> FIndex;
};

void CheckHash(const TRawPoint& P) {
  const uint32_t Value = (static_cast<uint32_t>(P.X) >> 8) ^ static_cast<uint32_t>(P.Y) ^
                         (static_cast<uint32_t>(P.Z) << 8) ^
                         (static_cast<uint32_t>(P.Layer) << 16) ^
                         (static_cast<uint32_t>(P.Page) << 24);
  const int32_t Home = TPointTable::Hash(P);
  FUZZ_CHECK(Home >= 0 && Home < TPointTable::TableSize);
  FUZZ_CHECK(static_cast<uint32_t>(Home) == Value % 42737u);
  TRawPoint Twin = P;
  Twin.X = static_cast<int32_t>(static_cast<uint32_t>(P.X) ^ 0xFFu);
  FUZZ_CHECK(TPointTable::Hash(Twin) == Home);
}

// The table holds exactly the reference's points, chained newest first, each reachable
// from its home slot through used slots only.
void CheckSlots(const TPointTable& ATable, const TReferenceTable& AReference) {
  FUZZ_CHECK(ATable.Count == static_cast<int32_t>(AReference.Keys.size()));
  int32_t Used = 0;
  for (const TPointTableEntry& Entry : ATable.Entries)
    Used += (Entry.Flags & TPointTable::Used) != 0;
  FUZZ_CHECK(Used == ATable.Count);
  size_t Newest = AReference.Keys.size();
  for (int32_t Slot = ATable.Head; Slot != -1;
       Slot = ATable.Entries[static_cast<size_t>(Slot)].Next) {
    FUZZ_CHECK(Slot >= 0 && Slot < TPointTable::TableSize && Newest > 0);
    const TPointTableEntry& Entry = ATable.Entries[static_cast<size_t>(Slot)];
    FUZZ_CHECK((Entry.Flags & TPointTable::Used) != 0);
    FUZZ_CHECK(KeyOf(Entry.Key) == AReference.Keys[--Newest]);
    FUZZ_CHECK(SamePins(Entry.Pins, AReference.Pins[Newest]));
    for (int32_t Probe = TPointTable::Hash(Entry.Key); Probe != Slot;
         Probe = (Probe + TPointTable::ProbeStep) % TPointTable::TableSize)
      FUZZ_CHECK((ATable.Entries[static_cast<size_t>(Probe)].Flags & TPointTable::Used) != 0);
  }
  FUZZ_CHECK(Newest == 0);
  FUZZ_CHECK(ATable.Collisions >= 0);
}

// Every pin in exactly one net, and the nets the groups of union-find over the links.
void CheckGroups(const TNaiveNetlist& ANets, const TReferenceTable& AReference) {
  const size_t Points = AReference.Keys.size();
  TUnionFind Groups(Points);
  for (size_t P = 0; P < Points; ++P)
    for (const int32_t Q : AReference.Links[P]) Groups.Join(P, static_cast<size_t>(Q));
  FUZZ_CHECK(ANets.size() == Groups.GroupCount());
  std::map<std::pair<int32_t, int32_t>, size_t> NetOfPin;
  for (size_t N = 0; N < ANets.size(); ++N)
    for (const TPinRef& Pin : ANets[N])
      FUZZ_CHECK(NetOfPin.emplace(std::make_pair(Pin.Handle, Pin.PinIndex), N).second);
  std::map<size_t, size_t> NetOfGroup;
  for (size_t P = 0; P < Points; ++P)
    for (const TPinRef& Pin : AReference.Pins[P]) {
      const auto Net = NetOfPin.find({Pin.Handle, Pin.PinIndex});
      FUZZ_CHECK(Net != NetOfPin.end());
      FUZZ_CHECK(NetOfGroup.emplace(Groups.Find(P), Net->second).first->second == Net->second);
    }
}

}  // namespace
}  // namespace wiremap

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  using namespace wiremap;
  UseRootCollation();
  TFuzzInput Input(AData, ASize);
  TDrawingDecoder Decoder(Input);
  CheckHash(Decoder.AnyPoint());
  const TSymbols Symbols = Decoder.Symbols();
  const TPolylines Lines = Decoder.Polylines();

  const auto Table = FreshTable();
  if (Malformed(Symbols)) {
    bool Refused = false;
    try {
      Table->Build(Symbols, Lines);
    } catch (const EAssertionFailed&) {
      Refused = true;
    }
    FUZZ_CHECK(Refused);
    return 0;
  }
  Table->Build(Symbols, Lines);
  TReferenceTable Reference(Symbols, Lines);
  CheckSlots(*Table, Reference);
  FUZZ_CHECK(Table->SignalCount == Reference.SignalCount);

  TNaiveNetlist Nets;
  Table->ComputeNetlist(Nets);
  FUZZ_CHECK(SameNets(Nets, Reference.Nets()));
  CheckGroups(Nets, Reference);
  // The walk marks for good: a second one finds nothing.
  TNaiveNetlist Again;
  Table->ComputeNetlist(Again);
  FUZZ_CHECK(Again.empty());
  return 0;
}
