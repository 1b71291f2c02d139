#include "model/Wiremaps.h"

#include <algorithm>

#include "model/Exception.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

constexpr const char* kAssertUnit = "Wiremap";

}  // namespace

TWiremaps::~TWiremaps() {
  Clear();
}

void TWiremaps::Clear() {
  FPins.clear();
  FKeyBytes.clear();
  FKeyEnds.clear();
  FIndex.Clear();
  FSorted.clear();
  FSortedCount = 0;
  FPositions.clear();
  FPositionsValid = false;
  NetCount = 0;
}

std::string_view TWiremaps::Key(int32_t ANumber) const {
  const size_t Begin = ANumber == 0 ? 0 : FKeyEnds[ANumber - 1];
  return std::string_view(FKeyBytes).substr(Begin, FKeyEnds[ANumber] - Begin);
}

TWiremaps::TFindResult TWiremaps::FindOrAdd(const std::string& AName, std::string_view AKey) {
  const uint64_t Hash = HashText(AKey);
  const int32_t Found = FIndex.Find(AKey, Hash);
  if (Found >= 0) return {Found, false};
  const int32_t Number = GetPinCount();
  TPinDescr& Pin = FPins.emplace_back(AName, Number);
  // Most pins carry one or two wires.
  Pin.Links.reserve(2);
  Pin.LinkWires.reserve(2);
  FKeyBytes.append(AKey);
  FKeyEnds.push_back(FKeyBytes.size());
  FIndex.Insert(Number, Hash);
  FPositionsValid = false;
  return {Number, true};
}

TPinDescr* TWiremaps::FindOrAddPin(const std::string& AName) {
  CollationKeyTo(AName, FKeyA);
  return &FPins[FindOrAdd(AName, FKeyA).Number];
}

void TWiremaps::AddConnection(const std::string& ANameA, const std::string& ANameB,
                              const std::string& AWire, int32_t APageA, int32_t APageB) {
  CollationKeyTo(ANameA, FKeyA);
  CollationKeyTo(ANameB, FKeyB);
  if (FKeyA == FKeyB) return;
  const int32_t A = FindOrAdd(ANameA, FKeyA).Number;
  const int32_t B = FindOrAdd(ANameB, FKeyB).Number;
  FPins[A].AddLink(B, APageA, AWire);
  FPins[B].AddLink(A, APageB, AWire);
  FPositionsValid = false;
}

void TWiremaps::AddConnections(const TConnectionRecs& ARecords) {
  std::string NameA, NameB;
  for (const TConnectionRec& R : ARecords) {
    NameA.assign(R.DesignationA).append(1, ':').append(R.PinA);
    NameB.assign(R.DesignationB).append(1, ':').append(R.PinB);
    AddConnection(NameA, NameB, R.WireName, R.PageA, R.PageB);
  }
}

bool TWiremaps::KeyLess(int32_t A, int32_t B) const {
  const int D = CompareKeyed(Key(A), FPins[A].Name, Key(B), FPins[B].Name);
  return D != 0 ? D < 0 : A < B;
}

namespace {

struct TChunkItem {
  uint64_t Chunk;
  int32_t Number;
};

// Eight key bytes from AOffset on as a big-endian number, zero-padded past the end, so
// that numbers order like the bytes and a shorter key comes first.
uint64_t LoadChunk(std::string_view AKey, size_t AOffset) {
  uint64_t Chunk = 0;
  for (size_t I = 0; I < 8; ++I) {
    Chunk <<= 8;
    if (AOffset + I < AKey.size()) Chunk |= static_cast<unsigned char>(AKey[AOffset + I]);
  }
  return Chunk;
}

}  // namespace

// Sorts pin numbers by key. Keys of one kind order bytewise, so they are sorted eight
// bytes at a time (runs of equal chunks again by the next eight), which keeps the work
// on small records instead of chasing every key through memory for each comparison.
void TWiremaps::SortByKey(std::vector<int32_t>::iterator AFirst,
                          std::vector<int32_t>::iterator ALast) const {
  if (ALast - AFirst < 2) return;
  const char Kind = Key(*AFirst)[0];
  const bool OneKind =
      std::all_of(AFirst, ALast, [&](int32_t ANumber) { return Key(ANumber)[0] == Kind; });
  if (!OneKind) {
    std::sort(AFirst, ALast, [this](int32_t A, int32_t B) { return KeyLess(A, B); });
    return;
  }
  std::vector<TChunkItem> Items;
  Items.reserve(ALast - AFirst);
  for (auto It = AFirst; It != ALast; ++It) Items.push_back({0, *It});
  struct TRange {
    size_t Begin, End, Offset;
  };
  std::vector<TRange> Pending{{0, Items.size(), 0}};
  while (!Pending.empty()) {
    const TRange Range = Pending.back();
    Pending.pop_back();
    for (size_t I = Range.Begin; I < Range.End; ++I)
      Items[I].Chunk = LoadChunk(Key(Items[I].Number), Range.Offset);
    std::sort(Items.begin() + Range.Begin, Items.begin() + Range.End,
              [](const TChunkItem& A, const TChunkItem& B) { return A.Chunk < B.Chunk; });
    for (size_t I = Range.Begin; I < Range.End;) {
      size_t J = I + 1;
      while (J < Range.End && Items[J].Chunk == Items[I].Chunk) ++J;
      // Equal chunks that hold the end of their keys would be equal keys: not possible.
      if (J - I > 1 && (Items[I].Chunk & 0xFF) != 0) Pending.push_back({I, J, Range.Offset + 8});
      I = J;
    }
  }
  for (size_t I = 0; I < Items.size(); ++I) AFirst[I] = Items[I].Number;
}

// Brings the name order up to date: sorts the pins added since the last call and
// merges them in, so a batch of additions costs one sort.
void TWiremaps::EnsureSorted() {
  const int32_t Count = GetPinCount();
  if (FSortedCount == Count) return;
  for (int32_t Number = FSortedCount; Number < Count; ++Number) FSorted.push_back(Number);
  const auto Middle = FSorted.begin() + FSortedCount;
  SortByKey(Middle, FSorted.end());
  std::inplace_merge(FSorted.begin(), Middle, FSorted.end(),
                     [this](int32_t A, int32_t B) { return KeyLess(A, B); });
  FSortedCount = Count;
}

void TWiremaps::UpdatePositions() {
  if (FPositionsValid) return;
  EnsureSorted();
  FPositions.resize(FSorted.size());
  for (int32_t Position = 0; Position < GetPinCount(); ++Position)
    FPositions[FSorted[Position]] = Position;
  FPositionsValid = true;
}

const std::string& TWiremaps::GetSortedName(int32_t APosition) {
  return GetSortedPin(APosition)->Name;
}

TPinDescr* TWiremaps::GetSortedPin(int32_t APosition) {
  WIREMAP_ASSERT(APosition >= 0 && APosition < GetPinCount());
  EnsureSorted();
  return &FPins[FSorted[APosition]];
}

const std::string& TWiremaps::GetPinName(int32_t ANumber) {
  return GetPin(ANumber)->Name;
}

TPinDescr* TWiremaps::GetPin(int32_t ANumber) {
  WIREMAP_ASSERT(ANumber >= 0 && ANumber < GetPinCount());
  UpdatePositions();
  TPinDescr* Pin = &FPins[ANumber];
  WIREMAP_ASSERT(Pin->Number == ANumber);
  return Pin;
}

int32_t TWiremaps::GetPosition(int32_t ANumber) {
  WIREMAP_ASSERT(ANumber >= 0 && ANumber < GetPinCount());
  UpdatePositions();
  return FPositions[ANumber];
}

void TWiremaps::ClearVisited() {
  UpdatePositions();
  for (TPinDescr& Pin : FPins) Pin.Flags &= ~pfVisited;
}

// Depth first from AStart, links in list order, with an explicit stack so that a net
// of any size fits; appends every newly reached pin to ANet.
void TWiremaps::CollectNet(int32_t AStart, std::vector<int32_t>& ANet) {
  std::vector<TFrame>& Stack = FStack;
  Stack.clear();
  const auto Visit = [&](int32_t ANumber) {
    FPins[ANumber].Flags |= pfVisited;
    ANet.push_back(ANumber);
    Stack.push_back({ANumber, 0});
  };
  if (FPins[AStart].Flags & pfVisited) return;
  Visit(AStart);
  while (!Stack.empty()) {
    TFrame& Top = Stack.back();
    const std::vector<int32_t>& Links = FPins[Top.Pin].Links;
    if (Top.NextLink == Links.size()) {
      Stack.pop_back();
      continue;
    }
    const int32_t Next = Links[Top.NextLink++];
    if (!(FPins[Next].Flags & pfVisited)) Visit(Next);
  }
}

void TWiremaps::ComputeNets() {
  UpdatePositions();
  ClearVisited();
  NetCount = 0;
  std::vector<int32_t> Net;
  std::vector<int32_t> Positions;
  for (int32_t Start = 0; Start < GetPinCount(); ++Start) {
    if (FPins[Start].Flags & pfVisited) continue;
    ++NetCount;
    Net.clear();
    CollectNet(Start, Net);
    // Positions are unique, so sorting them gives the net in name order.
    Positions.clear();
    for (const int32_t Number : Net) Positions.push_back(FPositions[Number]);
    std::sort(Positions.begin(), Positions.end());
    for (size_t J = 0; J < Positions.size(); ++J) {
      TPinDescr& Pin = FPins[FSorted[Positions[J]]];
      Pin.NextInNet = FSorted[Positions[(J + 1) % Positions.size()]];
      Pin.Flags = J == 0 ? (Pin.Flags | pfNetHead) : (Pin.Flags & ~pfNetHead);
    }
  }
}

void TWiremaps::MarkPin(int32_t ANumber) {
  WIREMAP_ASSERT(ANumber >= 0 && ANumber < GetPinCount());
  FPins[ANumber].Flags |= pfMarked;
}

void TWiremaps::MarkNet(int32_t ANumber) {
  MarkPin(ANumber);
  // A chain never holds more pins than the graph; the bound guards a broken chain.
  int32_t Number = FPins[ANumber].NextInNet;
  for (int32_t Steps = 0; Number != ANumber && Steps < GetPinCount(); ++Steps) {
    MarkPin(Number);
    Number = FPins[Number].NextInNet;
  }
}

void TWiremaps::ClearMarks() {
  for (TPinDescr& Pin : FPins) Pin.Flags &= ~pfMarked;
}

}  // namespace wiremap
