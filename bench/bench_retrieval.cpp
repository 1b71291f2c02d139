// Live retrieval from the simulated host: every entry resolved through the host objects
// and, after each record, the retrieval window's progress step (bar, pending events,
// Abort check), as in the running program. The plain variant leaves the window out to
// show what the events cost.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include "../tests/host/SimTestDrawings.h"
#include "BenchMain.h"
#include "host/NetRead.h"
#include "host/ReadPCS.h"
#include "host/SimulatedHost.h"

namespace {

using namespace wiremap;

wiremap::TForm4* Window = nullptr;

void Retrieve(benchmark::State& AState, bool AWithWindow) {
  const int32_t Count = static_cast<int32_t>(AState.range(0));
  const auto Host = std::make_shared<TSimulatedHost>(WireList(Count, true));
  const TRetrievalProgress Step = [](int32_t APosition, int32_t ATotal) {
    return Window->ProgressStep(APosition, ATotal);
  };
  const TRetrievalProgress Plain = [](int32_t, int32_t) { return true; };
  for (auto _ : AState) {
    TConnectionRecs Records;
    RetrieveConnections(Host, Records, AWithWindow ? Step : Plain);
    benchmark::DoNotOptimize(Records.data());
  }
  AState.counters["per_record"] =
      benchmark::Counter(static_cast<double>(Count), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}

void BM_RetrieveWithProgressStep(benchmark::State& AState) {
  Retrieve(AState, true);
}
void BM_RetrieveWithoutEvents(benchmark::State& AState) {
  Retrieve(AState, false);
}

BENCHMARK(BM_RetrieveWithProgressStep)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_RetrieveWithoutEvents)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int AArgc, char** AArgv) {
  std::unique_ptr<wiremap::TForm4> Form;
  return RunWindowBenchmarks(AArgc, AArgv, [&] {
    Form = std::make_unique<wiremap::TForm4>();
    Window = Form.get();
    Form->show();
    Form->Timer1->stop();
    QApplication::processEvents();
  });
}
