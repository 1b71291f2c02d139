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
#include "rawdata/HostPinNames.h"
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

TEST(DrawingCheckTest, TextsNamePlacePinAndWhetherAnEndLooksJoined) {
  const auto& Cases = GeometryCases();
  const auto Texts = [&](size_t ACase) {
    std::vector<std::string> Lines;
    for (const TFinding& F : CheckDrawing(Cases[ACase].Symbols, Cases[ACase].Lines, TestName))
      Lines.push_back(F.Text);
    return Lines;
  };
  EXPECT_THAT(Texts(1),
              ElementsAre("Page 1, x=100.0 y=-3.0: line end meets no pin and no other line",
                          "Page 1, x=100.0 y=0.0: pin S2:0 is connected to nothing"));
  EXPECT_THAT(Texts(3), ElementsAre("Page 1, x=50.0 y=-20.0: line end lies on another line without "
                                    "a vertex there: they are not joined"));
  EXPECT_THAT(Texts(5),
              ElementsAre("Page 2, x=50.0 y=-20.0: line end meets no pin and no other line"));
  EXPECT_EQ(Texts(8)[0],
            "Page 1, x=50.0 y=-20.0: pin S3:0 lies on a line without a vertex "
            "there: not joined");
}

}  // namespace
}  // namespace wiremap
