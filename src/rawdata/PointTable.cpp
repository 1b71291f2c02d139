#include "rawdata/PointTable.h"

#include <limits>

namespace wiremap {

namespace {

constexpr const char* kAssertUnit = "ViewRawD";

int32_t SaturatingAdd(int32_t A, int32_t B) {
  return A > std::numeric_limits<int32_t>::max() - B ? std::numeric_limits<int32_t>::max() : A + B;
}

}  // namespace

int32_t TPointTable::Hash(const TRawPoint& APoint) {
  // Unsigned throughout, so that a negative coordinate or a high page still lands in
  // the table; the low 8 bits of X take no part.
  uint32_t Value = static_cast<uint32_t>(APoint.X) >> 8;
  Value ^= static_cast<uint32_t>(APoint.Y);
  Value ^= static_cast<uint32_t>(APoint.Z) << 8;
  Value ^= static_cast<uint32_t>(APoint.Layer) << 16;
  Value ^= static_cast<uint32_t>(APoint.Page) << 24;
  return static_cast<int32_t>(Value % static_cast<uint32_t>(TableSize));
}

int32_t TPointTable::FindOrAdd(const TRawPoint& APoint) {
  int32_t Slot = Hash(APoint);
  int32_t Moves = 0;
  for (;;) {
    TPointTableEntry& Entry = Entries[static_cast<size_t>(Slot)];
    if (!(Entry.Flags & Used)) {
      Collisions = SaturatingAdd(Collisions, Moves);
      Entry.Key = APoint;
      Entry.Flags |= Used;
      Entry.Next = Head;
      Head = Slot;
      ++Count;
      WIREMAP_ASSERT_MSG(Count < FillLimit, "Hash table full");
      return Slot;
    }
    if (Entry.Key == APoint) {
      Collisions = SaturatingAdd(Collisions, Moves);
      return Slot;
    }
    ++Moves;
    Slot += ProbeStep;
    if (Slot >= TableSize) Slot -= TableSize;
  }
}

void TPointTable::AddLink(int32_t AFrom, int32_t ATo) {
  Entries[static_cast<size_t>(AFrom)].Links.push_back(ATo);
}

void TPointTable::Build(const TSymbols& ASymbols, const TPolylines& APolylines) {
  FSignals.Clear();
  for (const TSymbol& Symbol : ASymbols) AddSymbol(Symbol);
  for (const TPolyline& Line : APolylines) AddPolyline(Line);
  SignalCount = FSignals.Count();
  FSignals.Clear();
}

void TPointTable::AddSymbol(const TSymbol& ASymbol) {
  if ((ASymbol.SymbolType & 0xFF) == st_Branch) {
    // A junction of lines: its three points are joined through the common one, and it is
    // no member of a net.
    WIREMAP_ASSERT(ASymbol.Pins.size() == 3);
    const int32_t Common = (ASymbol.SymbolType >> 8) & 3;
    WIREMAP_ASSERT(Common < 3);
    std::array<int32_t, 3> Points{};
    for (size_t I = 0; I < 3; ++I) Points[I] = FindOrAdd(ASymbol.Pins[I]);
    const int32_t M = Points[static_cast<size_t>(Common)];
    const int32_t U = Points[static_cast<size_t>((Common + 2) % 3)];
    const int32_t V = Points[static_cast<size_t>((Common + 1) % 3)];
    AddLink(M, U);
    AddLink(U, M);
    AddLink(M, V);
    AddLink(V, M);
  } else if (ASymbol.SymbolType == st_Signal) {
    // Every signal of one name, on whatever page, is joined through the point of the
    // first of them; a signal is no member of a net either.
    WIREMAP_ASSERT(ASymbol.Pins.size() == 1);
    const int32_t Point = FindOrAdd(ASymbol.Pins[0]);
    int Index = 0;
    if (FSignals.Find(ASymbol.Name, Index)) {
      const auto First = static_cast<int32_t>(FSignals.Data(Index));
      AddLink(Point, First);
      AddLink(First, Point);
    } else {
      const int Position = FSignals.Add(ASymbol.Name, Point);
      WIREMAP_ASSERT(Position == Index);
    }
  } else {
    for (size_t I = 0; I < ASymbol.Pins.size(); ++I) AddPin(ASymbol, static_cast<int32_t>(I));
  }
}

void TPointTable::AddPin(const TSymbol& ASymbol, int32_t APinIndex) {
  const int32_t Slot = FindOrAdd(ASymbol.Pins.at(static_cast<size_t>(APinIndex)));
  Entries[static_cast<size_t>(Slot)].Pins.push_back(
      TPinRef{ASymbol.Handle, APinIndex, ASymbol.SymbolType});
}

void TPointTable::AddPolyline(const TPolyline& APolyline) {
  FSlots.clear();
  for (const TRawPoint& Vertex : APolyline.Vertices) FSlots.push_back(FindOrAdd(Vertex));
  for (size_t K = 1; K < FSlots.size(); ++K) {
    AddLink(FSlots[K - 1], FSlots[K]);
    AddLink(FSlots[K], FSlots[K - 1]);
  }
}

void TPointTable::ComputeNetlist(TNaiveNetlist& ANets) {
  ANets.clear();
  for (int32_t Slot = Head; Slot != -1; Slot = Entries[static_cast<size_t>(Slot)].Next) {
    if (Entries[static_cast<size_t>(Slot)].Flags & Visited) continue;
    FNet.clear();
    CollectNet(Slot);
    ANets.emplace_back(FNet.begin(), FNet.end());
  }
}

void TPointTable::CollectNet(int32_t ASlot) {
  // Depth first with a stack of our own: the links of a slot go on in reverse, so the
  // first link is walked next, and a slot reached again later is passed over. That is
  // the visiting order of the plain recursive walk, without its depth limit.
  FStack.clear();
  FStack.push_back(ASlot);
  while (!FStack.empty()) {
    TPointTableEntry& Entry = Entries[static_cast<size_t>(FStack.back())];
    FStack.pop_back();
    if (Entry.Flags & Visited) continue;
    Entry.Flags |= Visited;
    FNet.insert(FNet.end(), Entry.Pins.begin(), Entry.Pins.end());
    for (auto Link = Entry.Links.rbegin(); Link != Entry.Links.rend(); ++Link)
      if (!(Entries[static_cast<size_t>(*Link)].Flags & Visited)) FStack.push_back(*Link);
  }
}

}  // namespace wiremap
