#pragma once

#include <benchmark/benchmark.h>

#include <functional>

#include <QApplication>

// The main function of a window benchmark: an application object on the offscreen
// platform (unless another is asked for), ASetUp, then the benchmarks.
inline int RunWindowBenchmarks(int AArgc, char** AArgv,
                               const std::function<void()>& ASetUp = nullptr) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(AArgc, AArgv);
  if (ASetUp) ASetUp();
  benchmark::Initialize(&AArgc, AArgv);
  if (benchmark::ReportUnrecognizedArguments(AArgc, AArgv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
