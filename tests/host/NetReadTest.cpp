#include "host/NetRead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <ostream>
#include <string>
#include <typeinfo>
#include <vector>

#include "SimTestDrawings.h"
#include "host/DemoDrawing.h"
#include "host/SimulatedHost.h"
#include "model/Project.h"
#include "model/TextCompare.h"
#include "model/Wiremaps.h"

namespace wiremap {
namespace {

// What a retrieval did: the error's class and message ("" when none), the records,
// the progress calls.
struct TOutcome {
  std::string Error;
  std::string Message;
  TConnectionRecs Records;
  std::vector<std::pair<int32_t, int32_t>> Progress;
};

TOutcome Retrieve(const std::shared_ptr<IPCsApplication>& AHost, int32_t AStopAt = 0) {
  TOutcome Outcome;
  Outcome.Records = {TConnectionRec{"old", "1", 1, "old", "2", 1, "w"}};
  try {
    RetrieveConnections(AHost, Outcome.Records, [&](int32_t APosition, int32_t ATotal) {
      Outcome.Progress.emplace_back(APosition, ATotal);
      return APosition != AStopAt;
    });
  } catch (const Exception& E) {
    Outcome.Error = E.ClassName();
    Outcome.Message = E.Message();
  }
  return Outcome;
}

class NetRead : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCollationLocale("C");
    ProjectName = "Sample";
  }
};

TEST_F(NetRead, ReadsEveryEntryByNameAndEmptiesTheProjectName) {
  TSimDrawing Drawing = WireList(3, true);
  Drawing.Pages[0].Symbols[2].Name = "";  // a wire number without text
  Drawing.Pages[0].Symbols.erase(Drawing.Pages[0].Symbols.begin() + 5);  // no wire number
  Drawing.ProjectHandle = 7;
  const auto Host = std::make_shared<TSimulatedHost>(Drawing);
  Host->Faults().LogCalls = true;
  const TOutcome Outcome = Retrieve(Host);
  EXPECT_EQ(Outcome.Error, "");
  EXPECT_EQ(Outcome.Records, (TConnectionRecs{{"=F0+L1-A0", "1", 1, "=F0+L1-B0", "1", 1, ""},
                                              {"=F0+L1-A1", "1", 1, "=F0+L1-B1", "1", 1, "unknown"},
                                              {"=F0+L1-A2", "1", 1, "=F0+L1-B2", "1", 1, "W2"}}));
  EXPECT_EQ(Outcome.Progress, (std::vector<std::pair<int32_t, int32_t>>{{1, 3}, {2, 3}, {3, 3}}));
  EXPECT_EQ(ProjectName, "");
  // The host's list is made for the open project, whole, read entry by entry with every
  // field, then released.
  std::vector<std::string> Services;
  for (const std::string& Call : Host->CallLog())
    if (Call.rfind("IHostServices.", 0) == 0) Services.push_back(Call.substr(14));
  EXPECT_EQ(Services, (std::vector<std::string>{"SelectProject(7)", "BuildConnectionList(0, -1)",
                                                "ConnectionCount()", "GetConnection(0, 31)",
                                                "GetConnection(1, 31)", "GetConnection(2, 31)",
                                                "ReleaseConnectionList()"}));
  EXPECT_EQ(Host->CallLog().front(), "IPCsApplication.Project()");
}

// A fault of the host (see TSimFaults) or a stop at record StopAt, and what the caller
// sees: the error's class, the records the progress callback heard of, the length of the
// caller's array afterwards (emptied once the host gave its count).
struct TFaultCase {
  const char* Name;
  const char* FailOperation;
  int32_t FailCall, BadEntry, BadElement;
  TVariant BadValue;
  int32_t GoneAfterEntries, StopAt;
  const char* Error;
  size_t Resolved, Length;
};

void PrintTo(const TFaultCase& ACase, std::ostream* AStream) {
  *AStream << ACase.Name;
}

class NetReadFaults : public ::testing::TestWithParam<TFaultCase> {};

// Whatever goes wrong, the error reaches the caller unchanged, the host's list is
// released once, and the caller's array holds no record of the broken retrieval.
TEST_P(NetReadFaults, ReleaseTheListAndKeepNoRecord) {
  const TFaultCase& Case = GetParam();
  const auto Host = std::make_shared<TSimulatedHost>(WireList(4));
  Host->Faults() = {Case.FailOperation, Case.FailCall, Case.BadEntry,
                    Case.BadElement,    Case.BadValue, Case.GoneAfterEntries};
  const TOutcome Outcome = Retrieve(Host, Case.StopAt);
  EXPECT_EQ(Outcome.Error, Case.Error);
  EXPECT_EQ(Outcome.Progress.size(), Case.Resolved);
  EXPECT_EQ(Host->ReleaseCount(), 1);
  if (*Case.Error) {
    EXPECT_EQ(Outcome.Records.size(), Case.Length);
    for (const TConnectionRec& Record : Outcome.Records)
      EXPECT_NE(Record.DesignationA.substr(0, 2), "=F");
  }
  if (Case.StopAt != 0) {
    EXPECT_EQ(Outcome.Message, "Retrieval interrupted by user.");
  }
}

const TVariant kText = std::string("n/a");

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Cases, NetReadFaults,
    ::testing::Values(
        TFaultCase{"StopAtTheFirstRecord", "", 0, -1, 0, 0, -1, 1, "EUserAborted", 1, 0},
        TFaultCase{"StopAtTheLastRecord", "", 0, -1, 0, 0, -1, 4, "EUserAborted", 4, 0},
        TFaultCase{"FailingCount", "IHostServices.ConnectionCount", 1, -1, 0, 0, -1, 0, "EOleException", 0, 1},
        TFaultCase{"FailingLookup", "IHostDocument.SymbolByHandle", 5, -1, 0, 0, -1, 0, "EOleException", 2, 0},
        TFaultCase{"TextForAPinIndex", "", 0, 2, 5, kText, -1, 0, "EVariantTypeCastError", 2, 0},
        TFaultCase{"OutOfRangePinIndex", "", 0, 0, 1, int32_t{7}, -1, 0, "EOleException", 0, 0},
        TFaultCase{"UnknownWireHandle", "", 0, 3, 8, 99999.0, -1, 0, "EOleException", 3, 0},
        TFaultCase{"HostGoneMidList", "", 0, -1, 0, 0, 2, 0, "EOleException", 1, 0},
        TFaultCase{"TheFirstErrorWinsOverAFailingRelease", "IHostServices.ReleaseConnectionList", 1,
                   1, 0, kText, -1, 0, "EVariantTypeCastError", 1, 0},
        TFaultCase{"UnreadElementsMayHoldAnything", "", 0, 1, 7, kText, -1, 0, "", 4, 4}),
    [](const ::testing::TestParamInfo<TFaultCase>& AInfo) { return AInfo.param.Name; });
// clang-format on

// Answers with no object where a project belongs.
class TProjectlessHost : public TSimulatedHost {
 public:
  TProjectlessHost() : TSimulatedHost(WireList(1)) {}
  std::shared_ptr<IHostProject> Project() override { return nullptr; }
};

// Claims more connections than any memory holds, and has two.
class TBoastingHost : public TSimulatedHost {
 public:
  TBoastingHost() : TSimulatedHost(WireList(2)) {}
  int32_t ConnectionCount() override {
    TSimulatedHost::ConnectionCount();
    return std::numeric_limits<int32_t>::max();
  }
};

// Hosts with nothing to give or nothing to show for what they claim: the error, the
// records heard of, the caller's records kept, and the list released once. A claimed
// count sizes nothing before the entries arrive.
TEST_F(NetRead, EmptyBoastingAndProjectlessHosts) {
  struct TCase {
    std::shared_ptr<TSimulatedHost> Host;
    const char* Error;
    size_t Resolved, Kept;
  };
  for (const TCase& Case : {TCase{std::make_shared<TSimulatedHost>(TSimDrawing{}), "", 0, 0},
                            TCase{std::make_shared<TBoastingHost>(), "EOleException", 2, 0},
                            TCase{std::make_shared<TProjectlessHost>(), "EOleException", 0, 1}}) {
    const TSimulatedHost& Host = *Case.Host;
    SCOPED_TRACE(typeid(Host).name());
    const TOutcome Outcome = Retrieve(Case.Host);
    EXPECT_EQ(Outcome.Error, Case.Error);
    EXPECT_EQ(Outcome.Progress.size(), Case.Resolved);
    EXPECT_EQ(Outcome.Records.size(), Case.Kept);
    EXPECT_EQ(Case.Host->ReleaseCount(), 1);
  }
}

TEST_F(NetRead, TheDemoDrawingLoadsIntoTheNetGraph) {
  const auto Host = std::make_shared<TSimulatedHost>(DemoDrawing());
  const TOutcome Outcome = Retrieve(Host);
  ASSERT_EQ(Outcome.Error, "");
  const std::vector<std::string> Expected = DescribeConnections(*Host);
  ASSERT_EQ(Outcome.Records.size(), Expected.size());
  for (size_t I = 0; I < Expected.size(); ++I) {
    const TConnectionRec& R = Outcome.Records[I];
    std::string Line = R.DesignationA + ":" + R.PinA + "@" + std::to_string(R.PageA) + " " +
                       R.DesignationB + ":" + R.PinB + "@" + std::to_string(R.PageB);
    if (R.WireName != "unknown") Line += " " + R.WireName;
    EXPECT_EQ(Line, Expected[I]);
  }

  TProject Project(Outcome.Records, "");
  TWiremaps& Graph = Project.Graph();
  const auto NetOf = [&Graph](const std::string& AName) {
    std::vector<std::string> Names;
    const int32_t Start = Graph.FindOrAddPin(AName)->Number;
    int32_t N = Start;
    do {
      Names.push_back(Graph.GetPinName(N));
      N = Graph.GetPin(N)->NextInNet;
    } while (N != Start);
    std::sort(Names.begin(), Names.end());
    return Names;
  };
  // A feed-through terminal carries one name on both sides, so the graph joins the
  // field wire and the cabinet wire into one net.
  EXPECT_EQ(
      NetOf("=CTRL+CAB1-X2:1"),
      (std::vector<std::string>{"=CTRL+CAB1-A1:I0.0", "=CTRL+CAB1-X2:1", "=CV01+DESK-S1:14"}));
  const std::vector<std::string> ZeroVolt = NetOf("=PWR+CAB1-T1:0V");
  EXPECT_NE(std::find(ZeroVolt.begin(), ZeroVolt.end(), "=CTRL+CAB1-X3:24"), ZeroVolt.end());
  const int32_t Pins = Graph.GetPinCount();
  Graph.FindOrAddPin("=CV05+CAB1-X1:3");
  EXPECT_EQ(Graph.GetPinCount(), Pins + 1) << "the dropped terminal is connected";
}

}  // namespace
}  // namespace wiremap
