#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/ConnectionRec.h"
#include "model/KeyTable.h"
#include "model/LargeAllocator.h"
#include "model/NetlistRows.h"
#include "model/PinDescr.h"
#include "model/PinStore.h"

namespace wiremap {

// The net graph of one project: the distinct pins (by number, in order of first
// appearance, and by position, in name order), their links, and the nets, each a
// circular NextInNet chain through its pins in name order whose first pin is the head.
class TWiremaps {
 public:
  TWiremaps() = default;
  TWiremaps(const TWiremaps&) = delete;
  TWiremaps& operator=(const TWiremaps&) = delete;
  ~TWiremaps();

  void Clear();
  int32_t GetPinCount() const { return static_cast<int32_t>(FPins.Count()); }

  // The pin whose name compares equal to AName; a new one when there is none.
  TPinDescr* FindOrAddPin(const std::string& AName);

  // One wire between two pins; names that compare equal add nothing.
  void AddConnection(const std::string& ANameA, const std::string& ANameB, const std::string& AWire,
                     int32_t APageA, int32_t APageB);

  // AddConnection for every record in order, the pin names built as designation, ":"
  // and terminal.
  void AddConnections(const TConnectionRecs& ARecords);

  void UpdatePositions();

  // Access by position (name order). Reading brings the name order up to date first,
  // which is why the const readers may still sort.
  const std::string& GetSortedName(int32_t APosition) const;
  TPinDescr* GetSortedPin(int32_t APosition);
  const TPinDescr* GetSortedPin(int32_t APosition) const;

  // Access by number (order of first appearance).
  const std::string& GetPinName(int32_t ANumber) const;
  TPinDescr* GetPin(int32_t ANumber);
  const TPinDescr* GetPin(int32_t ANumber) const;

  // Asks the processor to fetch pin ANumber (a valid number) without waiting for it: for
  // loops over many pins that know a few steps ahead which pin they will read.
  void PrefetchPin(int32_t ANumber) const {
    const TPinDescr& Pin = FPins[static_cast<size_t>(ANumber)];
    __builtin_prefetch(&Pin.Name);
    __builtin_prefetch(&Pin.Links);
  }

  // Position of the pin with number ANumber.
  int32_t GetPosition(int32_t ANumber) const;

  void ClearVisited();
  void ComputeNets();

  void MarkPin(int32_t ANumber);
  void MarkNet(int32_t ANumber);

  // Calls AVisit with the number of every pin in the net of pin AStart (a valid number):
  // AStart first, then along the NextInNet chain. The walk every reader of a net shares;
  // a chain that failed to close is cut after as many pins as the graph holds.
  template <class TVisit>
  void ForEachInNet(int32_t AStart, TVisit AVisit) const {
    int32_t Number = AStart;
    for (int32_t Steps = 1;; ++Steps) {
      AVisit(Number);
      Number = FPins[static_cast<size_t>(Number)].NextInNet;
      if (Number == AStart || Steps >= GetPinCount()) return;
    }
  }
  void ClearMarks();

  // The nets as the last ComputeNets found them, in the netlist tree's order; nullptr when
  // pins or links were added since.
  const TNetlistRows* ComputedNets() const { return FNetsCurrent ? &FNets : nullptr; }

  int32_t NetCount = 0;

 private:
  // Number of the pin with key AKey, created under AName when there is none.
  int32_t FindOrAdd(const std::string& AName, std::string_view AKey, uint64_t AHash);
  void Link(int32_t A, int32_t B, const std::string& AWire, int32_t APageA, int32_t APageB);
  std::string_view Key(int32_t ANumber) const;
  void EnsureSorted() const;
  void RefreshPositions() const;
  bool KeyLess(int32_t A, int32_t B) const;

  // Pins by number, at addresses that stay while the graph grows.
  TPinStore FPins;
  // The collation key of every pin, by pin number.
  TKeyTable FKeys;
  // Pin numbers in name order; the first FSortedCount pins are in it. Brought up to
  // date lazily, also by the const readers.
  mutable TLargeVector<int32_t> FSorted;
  mutable int32_t FSortedCount = 0;
  // Position of each pin number; valid while FPositionsValid.
  mutable TLargeVector<int32_t> FPositions;
  mutable bool FPositionsValid = false;
  TNetlistRows FNets;
  bool FNetsCurrent = false;
  // Scratch space kept between calls.
  std::string FKeyA, FKeyB;
};

}  // namespace wiremap
