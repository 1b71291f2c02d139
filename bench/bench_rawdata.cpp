// The geometric netlist: the point table built from a large drawing and its nets found;
// the whole raw data run on the demo drawing, texts and window included.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include <QApplication>

#include "BenchMain.h"
#include "host/Dpscad_TLB.h"
#include "rawdata/PointTable.h"
#include "rawdata/RawDataReport.h"
#include "rawdata/RawDataRun.h"
#include "rawdata/ViewRawD.h"

namespace {

using namespace wiremap;

constexpr int32_t Grid = 2500;  // 2.5 drawing units, in thousandths
constexpr int32_t PageCount = 8;

struct TDrawing {
  TSymbols Symbols;
  TPolylines Lines;
};

// Pairs of two-pin symbols in columns on several pages, the lower pin of one joined to
// the upper pin of the next by a line with one bend: five distinct points a pair.
TDrawing MakeDrawing(int32_t APairs) {
  TDrawing Drawing;
  const int32_t PairsPerPage = (APairs + PageCount - 1) / PageCount;
  int32_t Handle = 1;
  for (int32_t I = 0; I < APairs; ++I) {
    const int32_t Page = I / PairsPerPage;
    const int32_t Slot = I % PairsPerPage;
    const int32_t X = (Slot % 60) * 8 * Grid;
    const int32_t Y = (Slot / 60) * 16 * Grid;
    auto Point = [&](int32_t AX, int32_t AY) { return TRawPoint{AX, AY, 0, 1, Page}; };
    const TRawPoint Top = Point(X, Y), Lower = Point(X, Y + 4 * Grid);
    const TRawPoint Upper = Point(X + 4 * Grid, Y + 8 * Grid),
                    Bottom = Point(X + 4 * Grid, Y + 12 * Grid);
    Drawing.Symbols.push_back(TSymbol{Handle++, st_Relay, Page, 1, {Top, Lower}, ""});
    Drawing.Symbols.push_back(TSymbol{Handle++, st_Terminal, Page, 1, {Upper, Bottom}, ""});
    Drawing.Lines.push_back(
        TPolyline{Handle++, Page, 1, {Lower, Point(X, Y + 8 * Grid), Upper}, false, false});
  }
  return Drawing;
}

void BM_PointTableBuildAndNets(benchmark::State& AState) {
  const TDrawing Drawing = MakeDrawing(static_cast<int32_t>(AState.range(0)) / 5);
  int32_t Points = 0, Collisions = 0;
  size_t Nets = 0;
  for (auto _ : AState) {
    AState.PauseTiming();
    auto Table = std::make_unique<TPointTable>();
    TNaiveNetlist Netlist;
    AState.ResumeTiming();
    Table->Build(Drawing.Symbols, Drawing.Lines);
    Table->ComputeNetlist(Netlist);
    benchmark::DoNotOptimize(Netlist.data());
    AState.PauseTiming();
    Points = Table->Count;
    Collisions = Table->Collisions;
    Nets = Netlist.size();
    Table.reset();
    AState.ResumeTiming();
  }
  AState.counters["points"] = Points;
  AState.counters["collisions"] = Collisions;
  AState.counters["nets"] = static_cast<double>(Nets);
}
BENCHMARK(BM_PointTableBuildAndNets)->Arg(38000)->Unit(benchmark::kMillisecond);

// The table's own cost: made and released empty.
void BM_PointTableCreate(benchmark::State& AState) {
  for (auto _ : AState) {
    auto Table = std::make_unique<TPointTable>();
    benchmark::DoNotOptimize(Table.get());
  }
}
BENCHMARK(BM_PointTableCreate)->Unit(benchmark::kMillisecond);

// Retrieval from the simulated host, table, nets and the three texts.
void BM_RawDataRunDemo(benchmark::State& AState) {
  size_t Lines = 0;
  for (auto _ : AState) {
    TRawDataRun Run;
    Run.Execute(nullptr);
    const TRawDataReport Report(CoApplication::Create(), ".");
    Lines = Report.SymbolLines(Run.Symbols).size() + Report.PolylineLines(Run.Polylines).size() +
            Report.NetlistLines(Run).size();
  }
  AState.counters["lines"] = static_cast<double>(Lines);
}
BENCHMARK(BM_RawDataRunDemo)->Unit(benchmark::kMillisecond);

// The same through the window's show handler, the memos filled (offscreen).
void BM_RawDataWindowDemo(benchmark::State& AState) {
  TForm5 Form;
  for (auto _ : AState) Form.FormShow();
}
BENCHMARK(BM_RawDataWindowDemo)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int AArgc, char** AArgv) {
  return RunWindowBenchmarks(AArgc, AArgv);
}
