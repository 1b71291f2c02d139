// The main window's trees at scale: a large project loaded into both trees, a sort order
// change, Expand All, painting a screenful of rows, and at a million connections the
// trees' share of the whole load next to the model's own (with the peak memory).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <map>
#include <memory>
#include <string>

#include <QApplication>
#include <QTreeView>

#include "BenchMain.h"
#include "SyntheticWiring.h"
#include "host/ReadPCS.h"
#include "model/Wiremap.h"
#include "ui/Forms.h"
#include "ui/NetForm.h"
#include "ui/RadioGroup.h"

namespace {

using namespace wiremap;

TForms* Windows = nullptr;

const TConnectionRecs& Connections(int ACount) {
  static std::map<int, TConnectionRecs> Cache;
  auto Found = Cache.find(ACount);
  if (Found == Cache.end()) Found = Cache.emplace(ACount, StripWiring(ACount)).first;
  return Found->second;
}

TForm1& Main() {
  return *Windows->Form1;
}

// Through the retrieval flow, as a project read from the CAD application; the copy of
// the records is left out of the time.
void LoadWindow(benchmark::State& AState, int ACount) {
  AState.PauseTiming();
  Windows->Form4->Connections = Connections(ACount);
  AState.ResumeTiming();
  Main().LoadRetrievedConnections();
  QApplication::processEvents();
}

// The same outside the timed loop.
void LoadWindowOnce(int ACount) {
  Windows->Form4->Connections = Connections(ACount);
  Main().LoadRetrievedConnections();
  QApplication::processEvents();
}

void SetOrder(int AOrder) {
  if (Main().RadioGroup1->ItemIndex() != AOrder) Main().RadioGroup1->SetItemIndex(AOrder);
  QApplication::processEvents();
}

long PeakMemoryKB() {
  rusage Usage{};
  getrusage(RUSAGE_SELF, &Usage);
  return Usage.ru_maxrss;
}

void BM_LoadTrees(benchmark::State& AState) {
  SetOrder(0);
  for (auto _ : AState) LoadWindow(AState, static_cast<int>(AState.range(0)));
  AState.counters["peak_KB"] = static_cast<double>(PeakMemoryKB());
}

// The model's own part of the same load: graph, nets and key values.
void BM_LoadModel(benchmark::State& AState) {
  const TConnectionRecs& Records = Connections(static_cast<int>(AState.range(0)));
  std::unique_ptr<TProject> Project;
  for (auto _ : AState) {
    AState.PauseTiming();  // the copy and the last project's release are no part of a load
    Project.reset();
    TConnectionRecs Copy = Records;
    AState.ResumeTiming();
    Project = std::make_unique<TProject>(std::move(Copy), "bench");
    benchmark::DoNotOptimize(Project->Graph().NetCount);
  }
}

// What the trees add to a load: both trees built anew for the loaded project and shown.
void BM_BuildTrees(benchmark::State& AState) {
  SetOrder(0);
  LoadWindowOnce(static_cast<int>(AState.range(0)));
  for (auto _ : AState) {
    Main().BuildNetlistTree();
    Main().BuildPinListTree(0);
    Main().ShowReady();
    QApplication::processEvents();
  }
}

void BM_SortOrderChange(benchmark::State& AState) {
  SetOrder(0);
  LoadWindowOnce(100000);
  int Order = 0;
  for (auto _ : AState) {
    Order = Order == 0 ? 4 : 0;  // flat and grouped by location in turn
    SetOrder(Order);
  }
}

void BM_ExpandAllNetlist(benchmark::State& AState) {
  SetOrder(0);
  LoadWindowOnce(100000);
  for (auto _ : AState) {
    Main().Button2Click();
    QApplication::processEvents();
    AState.PauseTiming();
    Main().Button3Click();
    QApplication::processEvents();
    AState.ResumeTiming();
  }
}

void BM_LoadSample5(benchmark::State& AState) {
  SetOrder(4);
  for (auto _ : AState) {
    Main().OpenSampleProject(5);
    QApplication::processEvents();
  }
}

// One full repaint of both trees' visible rows, everything expanded.
void BM_PaintScreenful(benchmark::State& AState) {
  SetOrder(0);
  LoadWindowOnce(100000);
  Main().Button2Click();
  Main().Button4Click();
  QApplication::processEvents();
  for (auto _ : AState) {
    Main().TreeView1->viewport()->repaint();
    Main().TreeView2->viewport()->repaint();
  }
}

BENCHMARK(BM_LoadModel)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTrees)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildTrees)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortOrderChange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandAllNetlist)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSample5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintScreenful)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int AArgc, char** AArgv) {
  std::unique_ptr<TForms> Forms;
  return RunWindowBenchmarks(AArgc, AArgv, [&] {
    Forms = CreateForms();
    Windows = Forms.get();
    Main().show();
    QApplication::processEvents();
  });
}
