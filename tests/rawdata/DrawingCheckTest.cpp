#include "rawdata/DrawingCheck.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "host/DemoDrawing.h"
#include "host/NetRead.h"
#include "host/SimHostFactory.h"
#include "model/TextCompare.h"
#include "rawdata/HostPinNames.h"
#include "rawdata/PointTable.h"
#include "rawdata/SegmentIndex.h"

namespace wiremap {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using K = TFindingKind;

constexpr int32_t kLayer = 1;

// A point given in drawing units (millimetres).
TRawPoint P(int32_t AX, int32_t AY, int32_t ALayer = kLayer, int32_t APage = 0) {
  return TRawPoint{AX * 1000, AY * 1000, 0, ALayer, APage};
}

TSymbol Sym(int32_t AHandle, std::vector<TRawPoint> APins, int32_t AType = st_Relay) {
  return TSymbol{AHandle, AType, APins.at(0).Page, APins.at(0).Layer, std::move(APins), ""};
}

TPolyline Line(std::vector<TRawPoint> AVertices) {
  return TPolyline{900,  AVertices.at(0).Page, AVertices.at(0).Layer, std::move(AVertices), false,
                   false};
}

// Pins named after their symbol's handle: "S<handle>:<index>".
std::string TestName(const TSymbol& ASymbol, int32_t APinIndex) {
  return PinNameOf("S" + std::to_string(ASymbol.Handle), std::to_string(APinIndex));
}

// A finding reduced to what the cases fix: kind, place, pins.
struct TBrief {
  K Kind;
  int32_t X, Y;  // millimetres
  std::vector<std::string> Pins;
  bool operator==(const TBrief&) const = default;
};

void PrintTo(const TBrief& A, std::ostream* AOut) {
  *AOut << static_cast<int>(A.Kind) << "@" << A.X << "," << A.Y << testing::PrintToString(A.Pins);
}

std::vector<TBrief> Briefs(const std::vector<TFinding>& AFindings) {
  std::vector<TBrief> Briefs;
  for (const TFinding& Finding : AFindings) {
    EXPECT_EQ(Finding.Page, Finding.Point.Page);
    Briefs.push_back({Finding.Kind, Finding.Point.X / 1000, Finding.Point.Y / 1000, Finding.Pins});
  }
  return Briefs;
}

struct TGeometryCase {
  const char* Name;
  TSymbols Symbols;
  TPolylines Lines;
  std::vector<TBrief> Expected;
};

// Two-pin parts A (handle 1) at x=0 and B (handle 2) at x=100, pins at y=0 and y=10, and
// what else a case adds; the lower pins are wired to each other in every case.
TSymbols Parts(std::vector<TSymbol> AMore = {}) {
  TSymbols Symbols{Sym(1, {P(0, 0), P(0, 10)}), Sym(2, {P(100, 0), P(100, 10)})};
  for (TSymbol& More : AMore) Symbols.push_back(std::move(More));
  return Symbols;
}

TPolylines Wired(std::vector<TPolyline> AMore) {
  TPolylines Lines{Line({P(0, 10), P(0, 50), P(100, 50), P(100, 10)})};
  for (TPolyline& More : AMore) Lines.push_back(std::move(More));
  return Lines;
}

// The upper pins wired over y=-20, with or without a vertex halfway.
TPolyline Top(bool AVertexHalfway = false) {
  if (AVertexHalfway) return Line({P(0, 0), P(0, -20), P(50, -20), P(100, -20), P(100, 0)});
  return Line({P(0, 0), P(0, -20), P(100, -20), P(100, 0)});
}

TSymbol Terminal(std::vector<TRawPoint> APins) {
  return Sym(3, std::move(APins), st_Terminal);
}

const TRawPoint OtherLayer = P(50, -20, 2), OtherPage = P(50, -20, kLayer, 1);

const std::vector<TGeometryCase>& GeometryCases() {
  static const std::vector<TGeometryCase> Cases = {
      {"pin to pin", Parts(), Wired({Top()}), {}},
      {"a wire that stops short",
       Parts(),
       Wired({Line({P(0, 0), P(0, -20), P(100, -20), P(100, -3)})}),
       {{K::OpenLineEnd, 100, -3, {}}, {K::UnconnectedPin, 100, 0, {"S2:0"}}}},
      {"T drawn with a vertex",
       Parts({Terminal({P(50, -40)})}),
       Wired({Top(true), Line({P(50, -20), P(50, -40)})}),
       {}},
      {"T drawn without a vertex",
       Parts({Terminal({P(50, -40)})}),
       Wired({Top(), Line({P(50, -20), P(50, -40)})}),
       {{K::OpenLineEnd, 50, -20, {}}}},
      {"T onto a line of another layer",
       Parts({Terminal({P(50, -40, 2)})}),
       Wired({Top(), Line({OtherLayer, P(50, -40, 2)})}),
       {{K::OpenLineEnd, 50, -20, {}}}},
      {"T onto a line of another page",
       Parts({Terminal({P(50, -40, kLayer, 1)})}),
       Wired({Top(), Line({OtherPage, P(50, -40, kLayer, 1)})}),
       {{K::OpenLineEnd, 50, -20, {}}}},
      {"line end on a vertex of another layer",
       Parts(),
       Wired({Line({P(0, 0), P(0, -20)}), Line({P(0, -20, 2), P(100, -20, 2), P(100, 0, 2)})}),
       {{K::OpenLineEnd, 0, -20, {}},
        {K::OpenLineEnd, 0, -20, {}},
        {K::OpenLineEnd, 100, 0, {}},
        {K::UnconnectedPin, 100, 0, {"S2:0"}}}},
      {"pin at a vertex", Parts({Terminal({P(50, -20)})}), Wired({Top(true)}), {}},
      {"pin dropped inside a segment",
       Parts({Terminal({P(50, -20)})}),
       Wired({Top()}),
       {{K::PinInsideLine, 50, -20, {"S3:0"}}, {K::UnconnectedPin, 50, -20, {"S3:0"}}}},
      {"pins inside an upright and a slanted segment",
       Parts({Terminal({P(0, -10), P(120, 70)})}),
       Wired({Top(), Line({P(100, 50), P(140, 90)})}),
       {{K::PinInsideLine, 0, -10, {"S3:0"}},
        {K::UnconnectedPin, 0, -10, {"S3:0"}},
        {K::PinInsideLine, 120, 70, {"S3:1"}},
        {K::UnconnectedPin, 120, 70, {"S3:1"}},
        {K::OpenLineEnd, 140, 90, {}}}},
      {"pins beyond a segment's end, on another layer, on another page",
       Parts({Terminal({P(0, -30), OtherLayer, OtherPage})}),
       Wired({Top()}),
       {{K::UnconnectedPin, 0, -30, {"S3:0"}},
        {K::UnconnectedPin, 50, -20, {"S3:1"}},
        {K::UnconnectedPin, 50, -20, {"S3:2"}}}},
      {"pins on one point; helpers that carry no wires",
       Parts({Terminal({P(200, 0)}), Sym(4, {P(200, 0)}), Sym(5, {P(300, 0)}, st_Signal),
              Sym(6, {P(300, 10)}, st_WireNumber),
              Sym(7, {P(300, 20), P(305, 20), P(310, 20)}, st_Branch | 1 << 8),
              Sym(8, {P(300, 30)}, st_Head)}),
       Wired({Top()}),
       {}},
      {"a line of one vertex",
       Parts(),
       Wired({Top(), Line({P(50, 200)})}),
       {{K::OpenLineEnd, 50, 200, {}}}},
  };
  return Cases;
}

TEST(DrawingCheckTest, FindsEachFaultAndNoneOfItsNearMisses) {
  for (const TGeometryCase& Case : GeometryCases()) {
    SCOPED_TRACE(Case.Name);
    EXPECT_THAT(Briefs(CheckDrawing(Case.Symbols, Case.Lines, TestName)),
                ElementsAreArray(Case.Expected));
  }
}

TEST(DrawingCheckTest, TextsTellWhetherAnOpenEndLooksJoined) {
  const auto& Cases = GeometryCases();
  const auto Texts = [&](size_t ACase) {
    std::vector<std::string> Lines;
    for (const TFinding& F : CheckDrawing(Cases[ACase].Symbols, Cases[ACase].Lines, TestName))
      Lines.push_back(F.Text);
    return Lines;
  };
  EXPECT_THAT(Texts(3), ElementsAre("Page 1, x=50.0 y=-20.0: line end lies on another line without "
                                    "a vertex there: they are not joined"));
  EXPECT_THAT(Texts(5),
              ElementsAre("Page 2, x=50.0 y=-20.0: line end meets no pin and no other line"));
}

// The segment index against the plain definition: a point strictly between the ends of
// a segment of the same page and layer, in three dimensions.
TEST(DrawingCheckTest, SegmentIndexFindsWhatTryingEverySegmentFinds) {
  std::mt19937 Random(20261209);
  const auto Coordinate = [&](int AMax) {
    return static_cast<int32_t>(std::uniform_int_distribution<int>(0, AMax)(Random));
  };
  const auto RandomPoint = [&] {
    return TRawPoint{Coordinate(6) * 1000, Coordinate(6) * 1000, Coordinate(8) / 8 * 1000,
                     Coordinate(1), Coordinate(1)};
  };
  const auto Holds = [](const TRawPoint& A, const TRawPoint& B, const TRawPoint& Q) {
    if (A.Page != B.Page || A.Layer != B.Layer || Q.Page != A.Page || Q.Layer != A.Layer)
      return false;
    if (A == B) return false;
    // Q = A + t (B - A) with 0 < t < 1, t = Num / Den read off an axis the segment moves on.
    const int64_t D[3] = {int64_t{B.X} - A.X, int64_t{B.Y} - A.Y, int64_t{B.Z} - A.Z};
    const int64_t R[3] = {int64_t{Q.X} - A.X, int64_t{Q.Y} - A.Y, int64_t{Q.Z} - A.Z};
    const int Axis = D[0] != 0 ? 0 : D[1] != 0 ? 1 : 2;
    const int64_t Num = R[Axis], Den = D[Axis];
    for (int J = 0; J < 3; ++J)
      if (R[J] * Den != D[J] * Num) return false;
    return Num * Den > 0 && std::abs(Num) < std::abs(Den);
  };
  for (int Round = 0; Round < 200; ++Round) {
    TPolylines Lines;
    for (int L = Coordinate(6); L >= 0; --L) {
      TPolyline& Line = Lines.emplace_back();
      TRawPoint At = RandomPoint();
      for (int V = Coordinate(3); V >= 0; --V) {
        Line.Vertices.push_back(At);
        // Mostly along an axis, as drawn; sometimes anywhere.
        const TRawPoint To = RandomPoint();
        if (Coordinate(3) == 0)
          At = To;
        else if (Coordinate(1) == 0)
          At.X = To.X;
        else
          At.Y = To.Y;
      }
    }
    const TSegmentIndex Index(Lines);
    for (int Query = 0; Query < 50; ++Query) {
      const TRawPoint Q = RandomPoint();
      const auto Except = static_cast<int32_t>(Coordinate(static_cast<int>(Lines.size())));
      std::vector<int32_t> Holding;
      for (size_t L = 0; L < Lines.size(); ++L)
        for (size_t V = 1; V < Lines[L].Vertices.size(); ++V)
          if (static_cast<int32_t>(L) != Except &&
              Holds(Lines[L].Vertices[V - 1], Lines[L].Vertices[V], Q))
            Holding.push_back(static_cast<int32_t>(L));
      const int32_t Found = Index.LineThrough(Q, Except);
      if (Holding.empty())
        EXPECT_EQ(Found, -1);
      else
        EXPECT_THAT(Holding, testing::Contains(Found));
    }
  }
}

TEST(DrawingCheckTest, HostNamesPinsOfItsOwnSymbolsOnly) {
  TSimDrawing Drawing;
  Drawing.Pages.emplace_back().Symbols = {{.Handle = 5,
                                           .SymbolType = TSimType::Relay,
                                           .Name = "-K1",
                                           .Pins = {{"A1", {0, 0, 0}}, {"A2", {0, 15000, 0}}}}};
  TSimHostFactory Hosts(Drawing);
  TSymbols Symbols;
  TPolylines Lines;
  RetrieveRawData(Symbols, Lines, nullptr);
  ASSERT_EQ(Symbols.size(), 1u);
  const TSymbol Moved{5, st_Relay, 0, 1, {P(0, 0), P(0, 20)}, ""};
  THostPinNames Names;
  EXPECT_EQ(Names.Name(Symbols[0], 1), "-K1:A2");
  EXPECT_EQ(Names.Name(Moved, 1), "-K1:A2");  // the first answer for a handle stands
  EXPECT_EQ(THostPinNames().Name(Moved, 1), "handle=5 pin_index=1");
  EXPECT_EQ(THostPinNames().Name(Symbols[0], 2), "handle=5 pin_index=2");
  EXPECT_EQ(Hosts.Attempts(), 4);  // retrieval, then one connection per name table
  // A host that knew none of many symbols holds another drawing: it is asked no more.
  THostPinNames Other;
  for (int32_t Handle = 100; Handle < 100 + THostPinNames::MaxMisses; ++Handle)
    EXPECT_EQ(Other.Name(Sym(Handle, {P(0, 0)}), 0), THostPinNames::FallbackName(Handle, 0));
  EXPECT_EQ(Other.Name(Symbols[0], 0), "handle=5 pin_index=0");
  Hosts.RefuseCreation = true;
  EXPECT_EQ(THostPinNames().Name(Symbols[0], 0), "handle=5 pin_index=0");
}

// The point table's limit holds for the check as for the raw data nets.
TEST(DrawingCheckTest, ChecksADrawingUpToThePointTablesLimit) {
  TSymbols Symbols;
  for (int32_t I = 0; I < TPointTable::FillLimit - 1; ++I)
    Symbols.push_back(Sym(I + 1, {P(I % 1000, I / 1000)}));
  EXPECT_EQ(CheckDrawing(Symbols, {}, TestName).size(), Symbols.size());
  EXPECT_THAT(CompareWithConnectionList(Symbols, {}, {}, TestName), testing::IsEmpty());
  Symbols.push_back(Sym(0, {P(-1, -1)}));
  EXPECT_THROW(
      {
        try {
          CheckDrawing(Symbols, {}, TestName);
        } catch (const EAssertionFailed& E) {
          EXPECT_THAT(E.Message(), testing::StartsWith("Hash table full"));
          throw;
        }
      },
      EAssertionFailed);
}

// The demo drawing read from the simulated host, with the host's own connection list.
class DrawingCheckDemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RetrieveRawData(Symbols, Lines, nullptr);
    RetrieveConnections(CoApplication::Create(), List, nullptr);
  }

  std::vector<TFinding> Compare(const TConnectionRecs& AList) const {
    return CompareWithConnectionList(Symbols, Lines, AList);
  }

  TSimHostFactory Hosts{DemoDrawing()};
  TSymbols Symbols;
  TPolylines Lines;
  TConnectionRecs List;
};

TEST_F(DrawingCheckDemoTest, FindsTheTwoFaultsAndThePinsTheyLeaveOpen) {
  std::vector<std::tuple<K, int32_t, std::vector<std::string>>> Found;
  const std::vector<TFinding> Findings = CheckDrawing(Symbols, Lines);
  for (const TFinding& F : Findings) Found.emplace_back(F.Kind, F.Page, F.Pins);
  const auto Open = [](const char* APin) {
    return std::tuple<K, int32_t, std::vector<std::string>>{K::UnconnectedPin, 1, {APin}};
  };
  const std::vector<std::string> Dropped{"=CV05+CAB1-X1:3"};
  EXPECT_THAT(
      Found,
      ElementsAre(
          Open("=PWR+CAB1-X0:L1"), Open("=PWR+CAB1-X0:L2"), Open("=PWR+CAB1-X0:L3"),
          Open("=PWR+CAB1-X0:N"),
          Open("=PWR+CAB1-X0:PE"),  // the feed from outside the cabinet
          std::tuple{K::OpenLineEnd, 3, std::vector<std::string>{}},
          std::tuple{K::UnconnectedPin, 3, std::vector<std::string>{"=CV04+CAB1-X1:2"}},
          std::tuple{K::PinInsideLine, 3, Dropped}, std::tuple{K::UnconnectedPin, 3, Dropped},
          std::tuple{K::PinInsideLine, 3, Dropped}, std::tuple{K::UnconnectedPin, 3, Dropped}));
  ASSERT_EQ(Findings.size(), 11u);
  EXPECT_EQ(Findings[5].Text, "Page 4, x=90.0 y=157.5: line end meets no pin and no other line");
  EXPECT_EQ(Findings[7].Text,
            "Page 4, x=210.0 y=160.0: pin =CV05+CAB1-X1:3 lies on a line without a vertex there: "
            "not joined");
  // The open end is the far end of the wire from the contactor's pin 4.
  THostPosition Pin4;
  for (const TSimSymbol& Symbol : DemoDrawing().Pages[3].Symbols)
    if (Symbol.Name == "=CV04+CAB1-K1") Pin4 = Symbol.Pins.at(3).Position;
  const auto Wire = std::find_if(Lines.begin(), Lines.end(), [&](const TPolyline& ALine) {
    return ALine.Vertices.front() == TRawPoint{Pin4.X, Pin4.Y, Pin4.Z, ALine.Layer, 3};
  });
  ASSERT_NE(Wire, Lines.end());
  EXPECT_EQ(Wire->Vertices.back(), Findings[5].Point);
}

TEST_F(DrawingCheckDemoTest, TheHostsListAgreesAndOneWireLessOrMoreDoesNot) {
  EXPECT_THAT(Compare(List), testing::IsEmpty());

  // Names compare as the net graph compares them; wires to pins the drawing lacks, and
  // wires drawn twice, change nothing.
  TConnectionRecs Same = List;
  for (char& C : Same[0].DesignationA) C = static_cast<char>(std::tolower(C));
  Same.push_back(List[7]);
  Same.push_back({"-NOWHERE", "1", 1, List[9].DesignationB, List[9].PinB, 1, "unknown"});
  EXPECT_THAT(Compare(Same), testing::IsEmpty());

  // Every single wire left out splits its net in the list: the drawing joins more.
  for (size_t I = 0; I < List.size(); ++I) {
    TConnectionRecs Less = List;
    Less.erase(Less.begin() + static_cast<ptrdiff_t>(I));
    const std::vector<TFinding> Findings = Compare(Less);
    ASSERT_EQ(Findings.size(), 1u) << I;
    EXPECT_EQ(Findings[0].Kind, K::OnlyInDrawing);
    EXPECT_THAT(Findings[0].Pins, testing::Contains(PinNameOf(List[I].DesignationA, List[I].PinA)));
    EXPECT_THAT(Findings[0].Pins, testing::Contains(PinNameOf(List[I].DesignationB, List[I].PinB)));
  }

  // One wire more joins two nets in the list that the drawing keeps apart.
  TConnectionRecs More = List;
  More.push_back({List[0].DesignationA, List[0].PinA, 1, List.back().DesignationB, List.back().PinB,
                  1, "W99"});
  const std::vector<TFinding> Findings = Compare(More);
  ASSERT_EQ(Findings.size(), 1u);
  EXPECT_EQ(Findings[0].Kind, K::OnlyInList);
  EXPECT_THAT(Findings[0].Pins,
              testing::IsSupersetOf({PinNameOf(List[0].DesignationA, List[0].PinA),
                                     PinNameOf(List.back().DesignationB, List.back().PinB)}));
  EXPECT_TRUE(std::is_sorted(Findings[0].Pins.begin(), Findings[0].Pins.end(),
                             [](const auto& A, const auto& B) { return CompareText(A, B) < 0; }));
  // Placed at the first pin by name.
  EXPECT_THAT(Findings[0].Text, testing::StartsWith("Page 7, x=315.0 y=230.0: the connection list "
                                                    "joins 47 pins that the drawing has in 2 nets: "
                                                    "=CTRL+CAB1-A1:M, =CTRL+CAB1-A2:M, "));
}

// The two clamps of a feed-through terminal share one name: one pin in a list.
TEST(DrawingCheckTest, PinsOfOneNameAreOnePinOfTheList) {
  const TSymbols Symbols{Sym(1, {P(0, 0)}), Sym(2, {P(0, 10), P(0, 20)}, st_Terminal),
                         Sym(3, {P(0, 30)})};
  const TPolylines Lines{Line({P(0, 0), P(0, 10)}), Line({P(0, 20), P(0, 30)})};
  const auto Namer = [](const TSymbol& ASymbol, int32_t APinIndex) {
    return ASymbol.Handle == 2 ? std::string("X1:1") : TestName(ASymbol, APinIndex);
  };
  const auto Compare = [&](const TConnectionRecs& AList) {
    return Briefs(CompareWithConnectionList(Symbols, Lines, AList, Namer));
  };
  EXPECT_THAT(Compare({{"S1", "0", 1, "X1", "1", 1, ""}, {"X1", "1", 1, "S3", "0", 1, ""}}),
              testing::IsEmpty());
  // Straight from one end to the other: the list leaves the terminal open.
  EXPECT_THAT(Compare({{"S1", "0", 1, "S3", "0", 1, ""}}),
              ElementsAre(TBrief{K::OnlyInDrawing, 0, 0, {"S1:0", "S3:0", "X1:1"}}));
  // Without the terminal's second clamp, only the list joins S3 to the rest.
  const TSymbols OneClamp{Symbols[0], Sym(2, {P(0, 10)}, st_Terminal), Symbols[2]};
  EXPECT_THAT(Briefs(CompareWithConnectionList(
                  OneClamp, Lines,
                  {{"S1", "0", 1, "X1", "1", 1, ""}, {"X1", "1", 1, "S3", "0", 1, ""}}, Namer)),
              ElementsAre(TBrief{K::OnlyInList, 0, 0, {"S1:0", "S3:0", "X1:1"}}));
}

}  // namespace
}  // namespace wiremap
