// Opening the product chart of the largest sample (842 groups) and painting it, as F12
// does: condensed graph, layout and one full paint of the window offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include "BenchMain.h"
#include "charts/ViewGrph.h"
#include "model/Wiremap.h"

namespace {

using namespace wiremap;

void OpenAndPaint(benchmark::State& AState, TAspectKind AAspect, const char* ACaption) {
  TProject Project(SampleRecords(5), "");
  TForm2 Chart;
  // A net over many groups, so that the highlight is drawn too.
  Project.Graph().MarkNet(0);
  for (auto _ : AState) {
    Chart.ShowChart(ACaption, Project.Graph(), AAspect, &Project.KeyValues());
    const QPixmap Picture = Chart.grab();
    benchmark::DoNotOptimize(Picture.cacheKey());
  }
  AState.counters["nodes"] = Chart.Condensed()->NodeCount;
}

void BM_OpenAndPaintProductChart5(benchmark::State& AState) {
  OpenAndPaint(AState, akProduct, "Product Chart");
}
void BM_OpenAndPaintPageChart5(benchmark::State& AState) {
  OpenAndPaint(AState, akPage, "Page Chart");
}

BENCHMARK(BM_OpenAndPaintProductChart5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAndPaintPageChart5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int AArgc, char** AArgv) {
  return RunWindowBenchmarks(AArgc, AArgv);
}
