#include "model/Wiremaps.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

#include "model/DisjointSets.h"
#include "model/Exception.h"
#include "model/KeySort.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

constexpr const char* kAssertUnit = "Wiremap";

}  // namespace

TWiremaps::~TWiremaps() {
  Clear();
}

void TWiremaps::Clear() {
  FPins.Clear();
  FKeys.Clear();
  FSorted.clear();
  FSortedCount = 0;
  FPositions.clear();
  FPositionsValid = false;
  FNets = TNetlistRows();
  FNetsCurrent = false;
  NetCount = 0;
}

std::string_view TWiremaps::Key(int32_t ANumber) const {
  return FKeys.Key(ANumber);
}

int32_t TWiremaps::FindOrAdd(const std::string& AName, std::string_view AKey, uint64_t AHash) {
  const int32_t Found = FKeys.Find(AKey, AHash);
  if (Found >= 0) return Found;
  const int32_t Number = GetPinCount();
  TPinDescr& Pin = FPins.Add(AName, Number);
  // Most pins carry one or two wires.
  Pin.Links.reserve(2);
  Pin.LinkWires.reserve(2);
  FKeys.Add(AKey, AHash);
  FPositionsValid = false;
  FNetsCurrent = false;
  return Number;
}

TPinDescr* TWiremaps::FindOrAddPin(const std::string& AName) {
  CollationKeyTo(AName, FKeyA);
  return &FPins[FindOrAdd(AName, FKeyA, HashText(FKeyA))];
}

void TWiremaps::AddConnection(const std::string& ANameA, const std::string& ANameB,
                              const std::string& AWire, int32_t APageA, int32_t APageB) {
  CollationKeyTo(ANameA, FKeyA);
  CollationKeyTo(ANameB, FKeyB);
  if (FKeyA == FKeyB) return;
  const int32_t A = FindOrAdd(ANameA, FKeyA, HashText(FKeyA));
  const int32_t B = FindOrAdd(ANameB, FKeyB, HashText(FKeyB));
  Link(A, B, AWire, APageA, APageB);
}

void TWiremaps::Link(int32_t A, int32_t B, const std::string& AWire, int32_t APageA,
                     int32_t APageB) {
  FPins[A].AddLink(B, APageA, AWire);
  FPins[B].AddLink(A, APageB, AWire);
  FPositionsValid = false;
  FNetsCurrent = false;
}

namespace {

// One record made ready for the graph: both pin names with their keys and hashes.
struct TPreparedEnd {
  std::string Name, Key;
  uint64_t Hash = 0;

  void Prepare(const std::string& ADesignation, const std::string& APin) {
    PinNameOf(ADesignation, APin, Name);
    CollationKeyTo(Name, Key);
    Hash = HashText(Key);
  }
};

}  // namespace

// The same as AddConnection record by record. Records are prepared a few steps ahead and
// their index slots fetched early; half way, the pins the slots name (and their keys) are
// fetched too, so that a large project does not wait on memory for every lookup and link.
void TWiremaps::AddConnections(const TConnectionRecs& ARecords) {
  // Room for two new pins per record, so that the key index is never rehashed on the way.
  FKeys.Reserve(static_cast<size_t>(GetPinCount()) + 2 * ARecords.size());
  constexpr size_t Ahead = 16;
  std::array<std::array<TPreparedEnd, 2>, Ahead> Ring;
  const auto Prepare = [&](size_t AIndex) {
    const TConnectionRec& R = ARecords[AIndex];
    auto& Ends = Ring[AIndex % Ahead];
    Ends[0].Prepare(R.DesignationA, R.PinA);
    Ends[1].Prepare(R.DesignationB, R.PinB);
    FKeys.Prefetch(Ends[0].Hash);
    FKeys.Prefetch(Ends[1].Hash);
  };
  const auto FetchPins = [&](size_t AIndex) {
    for (const TPreparedEnd& End : Ring[AIndex % Ahead]) {
      const int32_t Number = FKeys.Candidate(End.Hash);
      if (Number < 0) continue;
      PrefetchPin(Number);
      FKeys.PrefetchKey(Number);
    }
  };
  for (size_t I = 0; I < std::min(Ahead, ARecords.size()); ++I) Prepare(I);
  for (size_t I = 0; I < std::min(Ahead / 2, ARecords.size()); ++I) FetchPins(I);
  for (size_t I = 0; I < ARecords.size(); ++I) {
    auto& [EndA, EndB] = Ring[I % Ahead];
    if (EndA.Key != EndB.Key) {
      const TConnectionRec& R = ARecords[I];
      const int32_t A = FindOrAdd(EndA.Name, EndA.Key, EndA.Hash);
      const int32_t B = FindOrAdd(EndB.Name, EndB.Key, EndB.Hash);
      Link(A, B, R.WireName, R.PageA, R.PageB);
    }
    if (I + Ahead < ARecords.size()) Prepare(I + Ahead);
    if (I + Ahead / 2 < ARecords.size()) FetchPins(I + Ahead / 2);
  }
}

bool TWiremaps::KeyLess(int32_t A, int32_t B) const {
  const int D = CompareKeyed(Key(A), FPins[A].Name, Key(B), FPins[B].Name);
  return D != 0 ? D < 0 : A < B;
}

// Brings the name order up to date: sorts the pins added since the last call and
// merges them in, so a batch of additions costs one sort.
void TWiremaps::EnsureSorted() const {
  const int32_t Count = GetPinCount();
  if (FSortedCount == Count) return;
  for (int32_t Number = FSortedCount; Number < Count; ++Number) FSorted.push_back(Number);
  const auto Middle = FSorted.begin() + FSortedCount;
  SortIdsByKey(
      Middle, FSorted.end(), [this](int32_t ANumber) { return Key(ANumber); },
      [this](int32_t ANumber) { return std::string_view(FPins[ANumber].Name); });
  std::inplace_merge(FSorted.begin(), Middle, FSorted.end(),
                     [this](int32_t A, int32_t B) { return KeyLess(A, B); });
  FSortedCount = Count;
}

void TWiremaps::UpdatePositions() {
  RefreshPositions();
}

void TWiremaps::RefreshPositions() const {
  if (FPositionsValid) return;
  EnsureSorted();
  FPositions.resize(FSorted.size());
  for (int32_t Position = 0; Position < GetPinCount(); ++Position)
    FPositions[FSorted[Position]] = Position;
  FPositionsValid = true;
}

const std::string& TWiremaps::GetSortedName(int32_t APosition) const {
  return GetSortedPin(APosition)->Name;
}

const TPinDescr* TWiremaps::GetSortedPin(int32_t APosition) const {
  WIREMAP_ASSERT(APosition >= 0 && APosition < GetPinCount());
  EnsureSorted();
  return &FPins[FSorted[APosition]];
}

TPinDescr* TWiremaps::GetSortedPin(int32_t APosition) {
  return const_cast<TPinDescr*>(std::as_const(*this).GetSortedPin(APosition));
}

const std::string& TWiremaps::GetPinName(int32_t ANumber) const {
  return GetPin(ANumber)->Name;
}

const TPinDescr* TWiremaps::GetPin(int32_t ANumber) const {
  WIREMAP_ASSERT(ANumber >= 0 && ANumber < GetPinCount());
  RefreshPositions();
  const TPinDescr* Pin = &FPins[ANumber];
  WIREMAP_ASSERT(Pin->Number == ANumber);
  return Pin;
}

TPinDescr* TWiremaps::GetPin(int32_t ANumber) {
  return const_cast<TPinDescr*>(std::as_const(*this).GetPin(ANumber));
}

int32_t TWiremaps::GetPosition(int32_t ANumber) const {
  WIREMAP_ASSERT(ANumber >= 0 && ANumber < GetPinCount());
  RefreshPositions();
  return FPositions[ANumber];
}

void TWiremaps::ClearVisited() {
  UpdatePositions();
  for (size_t Number = 0; Number < FPins.Count(); ++Number) FPins[Number].Flags &= ~pfVisited;
}

// The nets are the connected parts of the link graph, whatever order they are found in.
// Joining pins in number order reads the pins the way they lie in memory; passes over the
// name order then number the nets by their heads and list their pins, which are the
// netlist tree's rows and give every chain. A walk along the links instead jumped through
// the whole graph at every step.
void TWiremaps::ComputeNets() {
  RefreshPositions();
  const int32_t Count = GetPinCount();
  const auto Size = static_cast<size_t>(Count);
  TDisjointSets Parts(Size);
  for (int32_t Number = 0; Number < Count; ++Number) {
    if (Number + 8 < Count) __builtin_prefetch(FPins[Number + 8].Links.data());
    for (const int32_t Other : FPins[Number].Links) Parts.Join(Number, Other);
  }
  FNets = TNetlistRows();
  std::vector<int32_t>& Starts = FNets.Starts;
  TLargeVector<int32_t> NetOfRoot(Size, -1);
  for (int32_t Position = 0; Position < Count; ++Position) {
    int32_t& Net = NetOfRoot[Parts.Root(FSorted[Position])];
    if (Net < 0) {
      Net = static_cast<int32_t>(Starts.size());
      Starts.push_back(0);
    }
    ++Starts[Net];  // a count until the sums below
  }
  NetCount = static_cast<int32_t>(Starts.size());
  int32_t Sum = 0;
  for (int32_t& Start : Starts) Sum += std::exchange(Start, Sum);
  Starts.push_back(Sum);
  std::vector<int32_t> Fill(Starts.begin(), Starts.end() - 1);
  FNets.Pins.resize(Size);
  FNets.RowOf.resize(Size);
  for (int32_t Position = 0; Position < Count; ++Position) {
    const int32_t Number = FSorted[Position];
    const int32_t Row = Fill[NetOfRoot[Parts.Root(Number)]]++;
    FNets.Pins[Row] = Number;
    FNets.RowOf[Number] = Row;
  }
  FNets.Linear.assign(Starts.size() - 1, 1);
  for (int32_t Number = 0; Number < Count; ++Number) {
    const int32_t Net = NetOfRoot[Parts.Root(Number)];
    const int32_t Row = FNets.RowOf[Number];
    const bool Head = Row == Starts[Net];
    TPinDescr& Pin = FPins[Number];
    Pin.NextInNet = FNets.Pins[Row + 1 == Starts[Net + 1] ? Starts[Net] : Row + 1];
    Pin.Flags = (Pin.Flags & ~pfNetHead) | pfVisited | (Head ? pfNetHead : 0);
    if (Pin.Links.size() > LinearLinkLimit) FNets.Linear[Net] = 0;
  }
  FNetsCurrent = true;
}

void TWiremaps::MarkPin(int32_t ANumber) {
  WIREMAP_ASSERT(ANumber >= 0 && ANumber < GetPinCount());
  FPins[ANumber].Flags |= pfMarked;
}

void TWiremaps::MarkNet(int32_t ANumber) {
  ForEachInNet(ANumber, [this](int32_t AMember) { MarkPin(AMember); });
}

void TWiremaps::ClearMarks() {
  for (size_t Number = 0; Number < FPins.Count(); ++Number) FPins[Number].Flags &= ~pfMarked;
}

}  // namespace wiremap
