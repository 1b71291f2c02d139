// The drawing check: the geometry check and the list comparison on the demo drawing,
// and the geometry check on a generated drawing as large as the point table allows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "host/DemoDrawing.h"
#include "host/NetRead.h"
#include "host/SimHostFactory.h"
#include "rawdata/DrawingCheck.h"
#include "rawdata/PointTable.h"

namespace {

using namespace wiremap;

constexpr int32_t Grid = 2500;  // 2.5 drawing units, in thousandths
constexpr int32_t PageCount = 8;

struct TDrawing {
  TSymbols Symbols;
  TPolylines Lines;
  TConnectionRecs List;
};

TDrawing DemoRawData() {
  const TSimHostFactory Hosts(DemoDrawing());
  TDrawing Drawing;
  RetrieveRawData(Drawing.Symbols, Drawing.Lines, nullptr);
  RetrieveConnections(CoApplication::Create(), Drawing.List, nullptr);
  return Drawing;
}

// Chains of two-pin symbols in columns on several pages, each lower pin wired to the
// next symbol's upper pin with two bends: four distinct points a symbol. Every 100th wire
// stops short, and another has a terminal dropped onto its middle.
TDrawing MakeDrawing(int32_t APoints) {
  TDrawing Drawing;
  const int32_t Parts = APoints / 4 + 67;  // column ends have no bends: 38,000 points in all
  const int32_t PartsPerPage = (Parts + PageCount - 1) / PageCount;
  int32_t Handle = 1;
  for (int32_t I = 0; I < Parts; ++I) {
    const int32_t Page = I / PartsPerPage, Slot = I % PartsPerPage;
    const int32_t Column = Slot / 40, Row = Slot % 40;
    const int32_t X = Column * 8 * Grid + (Row % 2) * 4 * Grid, Y = Row * 8 * Grid;
    auto Point = [&](int32_t AX, int32_t AY) { return TRawPoint{AX, AY, 0, 1, Page}; };
    Drawing.Symbols.push_back(
        TSymbol{Handle++, st_Relay, Page, 1, {Point(X, Y), Point(X, Y + 4 * Grid)}, ""});
    if (Row == 39) continue;
    const int32_t NextX = Column * 8 * Grid + ((Row + 1) % 2) * 4 * Grid;
    if (I % 100 == 50)
      Drawing.Symbols.push_back(
          TSymbol{Handle++, st_Terminal, Page, 1, {Point((X + NextX) / 2, Y + 6 * Grid)}, ""});
    const int32_t Short = I % 100 == 0 ? Grid / 2 : 0;
    Drawing.Lines.push_back(
        TPolyline{Handle++,
                  Page,
                  1,
                  {Point(X, Y + 4 * Grid), Point(X, Y + 6 * Grid), Point(NextX, Y + 6 * Grid),
                   Point(NextX, Y + 8 * Grid - Short)},
                  false,
                  false});
  }
  return Drawing;
}

void BM_CheckDrawingDemo(benchmark::State& AState) {
  const TDrawing Drawing = DemoRawData();
  const TSimHostFactory Hosts(DemoDrawing());
  size_t Findings = 0;
  for (auto _ : AState) Findings = CheckDrawing(Drawing.Symbols, Drawing.Lines).size();
  AState.counters["findings"] = static_cast<double>(Findings);
}
BENCHMARK(BM_CheckDrawingDemo)->Unit(benchmark::kMillisecond);

void BM_CompareWithConnectionListDemo(benchmark::State& AState) {
  const TDrawing Drawing = DemoRawData();
  const TSimHostFactory Hosts(DemoDrawing());
  size_t Findings = 0;
  for (auto _ : AState)
    Findings = CompareWithConnectionList(Drawing.Symbols, Drawing.Lines, Drawing.List).size();
  AState.counters["findings"] = static_cast<double>(Findings);
}
BENCHMARK(BM_CompareWithConnectionListDemo)->Unit(benchmark::kMillisecond);

// The generated drawing is not the host's: every finding's pin is asked for and named by
// its handle.
void BM_CheckDrawingGenerated(benchmark::State& AState) {
  const TDrawing Drawing = MakeDrawing(static_cast<int32_t>(AState.range(0)));
  size_t Findings = 0;
  for (auto _ : AState) Findings = CheckDrawing(Drawing.Symbols, Drawing.Lines).size();
  AState.counters["findings"] = static_cast<double>(Findings);
  auto Table = std::make_unique<TPointTable>();
  Table->Build(Drawing.Symbols, Drawing.Lines);
  AState.counters["points"] = Table->Count;
}
BENCHMARK(BM_CheckDrawingGenerated)->Arg(38000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
