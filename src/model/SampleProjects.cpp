#include "model/SampleProjects.h"

#include <utility>

namespace wiremap {

// Defined with their tables in samples/SampleProjectN.cpp.
extern const TSampleProject SampleProject1Info;
extern const TSampleProject SampleProject2Info;
extern const TSampleProject SampleProject3Info;
extern const TSampleProject SampleProject4Info;
extern const TSampleProject SampleProject5Info;
extern const TSampleProject SampleProject6Info;
extern const TSampleProject SampleProject7Info;
extern const TSampleProject SampleProject8Info;
extern const TSampleProject SampleProject9Info;

namespace {

// Addresses only: constant-initialised, nothing runs at start-up.
const TSampleProject* const SampleProjects[SampleProjectCount] = {
    &SampleProject1Info, &SampleProject2Info, &SampleProject3Info,
    &SampleProject4Info, &SampleProject5Info, &SampleProject6Info,
    &SampleProject7Info, &SampleProject8Info, &SampleProject9Info,
};

}  // namespace

const TSampleProject* SampleProjectInfo(int ANumber) {
  if (ANumber < 1 || ANumber > SampleProjectCount) return nullptr;
  return SampleProjects[ANumber - 1];
}

TConnectionRecs SampleRecords(int ANumber) {
  const TSampleProject* Sample = SampleProjectInfo(ANumber);
  if (Sample == nullptr) return {};
  TConnectionRecs Records;
  Records.reserve(Sample->Count);
  for (int32_t I = 0; I < Sample->Count; ++I) {
    const TSampleRecord& R = Sample->Records[I];
    Records.push_back(
        {R.DesignationA, R.PinA, R.PageA, R.DesignationB, R.PinB, R.PageB, R.WireName});
  }
  return Records;
}

void LoadSampleProject(TConnectionRecs& AConnections, int ANumber) {
  const TSampleProject* Sample = SampleProjectInfo(ANumber);
  if (Sample == nullptr) return;
  ProjectName = Sample->Caption;
  AConnections = SampleRecords(ANumber);
}

}  // namespace wiremap
