#pragma once

#include <cstdint>

#include "model/ConnectionRec.h"

namespace wiremap {

// One record of a built-in sample table: constant data, nothing constructed at start-up.
struct TSampleRecord {
  const char* DesignationA;
  const char* PinA;
  int32_t PageA;
  const char* DesignationB;
  const char* PinB;
  int32_t PageB;
  const char* WireName;
};

// A built-in sample project: its caption (becomes ProjectName), the short label of its
// menu command, and its records.
struct TSampleProject {
  const char* Caption;
  const char* Label;
  const TSampleRecord* Records;
  int32_t Count;
};

constexpr int SampleProjectCount = 9;

extern const TSampleRecord SampleProject1[];
extern const TSampleRecord SampleProject2[];
extern const TSampleRecord SampleProject3[];
extern const TSampleRecord SampleProject4[];
extern const TSampleRecord SampleProject5[];
extern const TSampleRecord SampleProject6[];
extern const TSampleRecord SampleProject7[];
extern const TSampleRecord SampleProject8[];
extern const TSampleRecord SampleProject9[];

// Sample ANumber (1 to 9); nullptr for any other number.
const TSampleProject* SampleProjectInfo(int ANumber);

// The records of sample ANumber; none for numbers outside 1 to 9. Sets nothing else.
TConnectionRecs SampleRecords(int ANumber);

// Copies sample ANumber into AConnections and sets ProjectName to its caption.
// Numbers outside 1 to 9 change nothing.
void LoadSampleProject(TConnectionRecs& AConnections, int ANumber);

}  // namespace wiremap
