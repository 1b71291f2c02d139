// The whole sample load of the main window, both trees included, as the user starts it
// from the File menu: records, net graph, key values, statistics, netlist tree and pin
// list tree, and the event processing that lays out and paints the shown window.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "BenchMain.h"
#include "ui/Forms.h"
#include "ui/NetForm.h"
#include "ui/RadioGroup.h"

namespace {

using namespace wiremap;

TForm1* MainWindow = nullptr;

void LoadSample(benchmark::State& AState, int ASample, int AOrder) {
  MainWindow->RadioGroup1->SetItemIndex(AOrder);
  QApplication::processEvents();
  for (auto _ : AState) {
    MainWindow->OpenSampleProject(ASample);
    QApplication::processEvents();
  }
}

void BM_LoadSample5_PinName(benchmark::State& AState) {
  LoadSample(AState, 5, 0);
}
void BM_LoadSample5_Location(benchmark::State& AState) {
  LoadSample(AState, 5, 4);
}

BENCHMARK(BM_LoadSample5_PinName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadSample5_Location)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int AArgc, char** AArgv) {
  std::unique_ptr<TForms> Forms;
  return RunWindowBenchmarks(AArgc, AArgv, [&] {
    Forms = CreateForms();
    MainWindow = Forms->Form1;
    MainWindow->show();
    QApplication::processEvents();
  });
}
