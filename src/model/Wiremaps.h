#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "model/PinDescr.h"

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
  int32_t GetPinCount() const { return static_cast<int32_t>(FPins.size()); }

  // The pin whose name compares equal to AName; a new one when there is none.
  TPinDescr* FindOrAddPin(const std::string& AName);

  // One wire between two pins; names that compare equal add nothing.
  void AddConnection(const std::string& ANameA, const std::string& ANameB, const std::string& AWire,
                     int32_t APageA, int32_t APageB);

  void UpdatePositions();

  // Access by position (name order).
  const std::string& GetSortedName(int32_t APosition);
  TPinDescr* GetSortedPin(int32_t APosition);

  // Access by number (order of first appearance).
  const std::string& GetPinName(int32_t ANumber);
  TPinDescr* GetPin(int32_t ANumber);

  // Position of the pin with number ANumber.
  int32_t GetPosition(int32_t ANumber);

  void ClearVisited();
  void ComputeNets();

  void MarkPin(int32_t ANumber);
  void MarkNet(int32_t ANumber);
  void ClearMarks();

  int32_t NetCount = 0;

 private:
  struct TFindResult {
    int32_t Number;
    bool Added;
  };

  TFindResult FindOrAdd(const std::string& AName, std::string&& AKey);
  int32_t FindKey(std::string_view AKey, uint64_t AHash) const;
  void InsertIntoIndex(int32_t ANumber, uint64_t AHash);
  void GrowIndex();
  void EnsureSorted();
  bool KeyLess(int32_t A, int32_t B) const;
  void CollectNet(int32_t AStart, std::vector<int32_t>& ANet);

  // Pins by number; a deque keeps pin addresses stable while it grows.
  std::deque<TPinDescr> FPins;
  // Collation key and its hash for each pin number.
  std::vector<std::string> FKeys;
  std::vector<uint64_t> FHashes;
  // Open-addressing hash index over the keys: pin number + 1, 0 = empty slot.
  std::vector<int32_t> FSlots;
  // Pin numbers in name order; the first FSortedCount pins are in it.
  std::vector<int32_t> FSorted;
  int32_t FSortedCount = 0;
  // Position of each pin number; valid while FPositionsValid.
  std::vector<int32_t> FPositions;
  bool FPositionsValid = false;
};

}  // namespace wiremap
