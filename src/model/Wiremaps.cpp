#include "model/Wiremaps.h"

#include <algorithm>
#include <functional>

#include "model/Exception.h"
#include "model/TextCompare.h"

namespace wiremap {
namespace {

constexpr const char* kAssertUnit = "Wiremap";

uint64_t HashKey(std::string_view AKey) {
  return std::hash<std::string_view>{}(AKey);
}

}  // namespace

TWiremaps::~TWiremaps() {
  Clear();
}

void TWiremaps::Clear() {
  FPins.clear();
  FKeys.clear();
  FHashes.clear();
  FSlots.clear();
  FSorted.clear();
  FSortedCount = 0;
  FPositions.clear();
  FPositionsValid = false;
  NetCount = 0;
}

int32_t TWiremaps::FindKey(std::string_view AKey, uint64_t AHash) const {
  if (FSlots.empty()) return -1;
  const size_t Mask = FSlots.size() - 1;
  for (size_t Slot = AHash & Mask;; Slot = (Slot + 1) & Mask) {
    const int32_t Entry = FSlots[Slot];
    if (Entry == 0) return -1;
    const int32_t Number = Entry - 1;
    if (FHashes[Number] == AHash && FKeys[Number] == AKey) return Number;
  }
}

void TWiremaps::InsertIntoIndex(int32_t ANumber, uint64_t AHash) {
  const size_t Mask = FSlots.size() - 1;
  size_t Slot = AHash & Mask;
  while (FSlots[Slot] != 0) Slot = (Slot + 1) & Mask;
  FSlots[Slot] = ANumber + 1;
}

void TWiremaps::GrowIndex() {
  FSlots.assign(std::max<size_t>(64, FSlots.size() * 2), 0);
  for (int32_t Number = 0; Number < GetPinCount(); ++Number)
    InsertIntoIndex(Number, FHashes[Number]);
}

TWiremaps::TFindResult TWiremaps::FindOrAdd(const std::string& AName, std::string&& AKey) {
  const uint64_t Hash = HashKey(AKey);
  const int32_t Found = FindKey(AKey, Hash);
  if (Found >= 0) return {Found, false};
  const int32_t Number = GetPinCount();
  FPins.emplace_back(AName, Number);
  FKeys.push_back(std::move(AKey));
  FHashes.push_back(Hash);
  if (FSlots.size() < 2 * FPins.size())
    GrowIndex();
  else
    InsertIntoIndex(Number, Hash);
  FPositionsValid = false;
  return {Number, true};
}

TPinDescr* TWiremaps::FindOrAddPin(const std::string& AName) {
  return &FPins[FindOrAdd(AName, CollationKey(AName)).Number];
}

void TWiremaps::AddConnection(const std::string& ANameA, const std::string& ANameB,
                              const std::string& AWire, int32_t APageA, int32_t APageB) {
  std::string KeyA = CollationKey(ANameA);
  std::string KeyB = CollationKey(ANameB);
  if (KeyA == KeyB) return;
  const int32_t A = FindOrAdd(ANameA, std::move(KeyA)).Number;
  const int32_t B = FindOrAdd(ANameB, std::move(KeyB)).Number;
  FPins[A].AddLink(B, APageA, AWire);
  FPins[B].AddLink(A, APageB, AWire);
  FPositionsValid = false;
}

bool TWiremaps::KeyLess(int32_t A, int32_t B) const {
  const int D = CompareKeyed(FKeys[A], FPins[A].Name, FKeys[B], FPins[B].Name);
  return D != 0 ? D < 0 : A < B;
}

// Brings the name order up to date: sorts the pins added since the last call and
// merges them in, so a batch of additions costs one sort.
void TWiremaps::EnsureSorted() {
  const int32_t Count = GetPinCount();
  if (FSortedCount == Count) return;
  const auto Less = [this](int32_t A, int32_t B) { return KeyLess(A, B); };
  for (int32_t Number = FSortedCount; Number < Count; ++Number) FSorted.push_back(Number);
  const auto Middle = FSorted.begin() + FSortedCount;
  std::sort(Middle, FSorted.end(), Less);
  std::inplace_merge(FSorted.begin(), Middle, FSorted.end(), Less);
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
  TPinDescr* Pin = &FPins[FSorted[FPositions[ANumber]]];
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
  struct TFrame {
    int32_t Pin;
    size_t NextLink;
  };
  std::vector<TFrame> Stack;
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
