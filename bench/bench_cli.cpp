// The command line at scale: a connection list of a million wires read, its nets built and
// its netlist written to a file, as `wiremap-cli netlist big.csv -o netlist.txt` does.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "cli/CommandLine.h"
#include "files/ProjectFile.h"

namespace {

using namespace wiremap;

// Cabinet wiring: devices of eight terminals on a few hundred pages, wired at random so a
// pin carries about 1.3 wire ends.
TConnectionRecs MakeConnections(int ACount) {
  static const char* const Kinds[] = {"K", "Q", "X", "F", "A", "S", "H", "M"};
  static const char* const Terminals[] = {"A1", "A2", "13", "14", "1", "2", "PE", "+24V"};
  const int64_t PinPool = static_cast<int64_t>(ACount) * 364 / 100;
  std::mt19937_64 Random(7);
  std::uniform_int_distribution<int64_t> Pick(0, PinPool - 1);
  auto End = [&](std::string& ADesignation, std::string& ATerminal) {
    const int64_t Pin = Pick(Random);
    const int64_t Product = Pin / 8;
    ADesignation = "=F" + std::to_string(Product % 97) + "+L" + std::to_string(Product % 41) + "-" +
                   Kinds[Product % 8] + std::to_string(Product);
    ATerminal = Terminals[Pin % 8];
    return static_cast<int32_t>(Product % 300 + 1);
  };
  TConnectionRecs Records(static_cast<size_t>(ACount));
  for (size_t I = 0; I < Records.size(); ++I) {
    TConnectionRec& R = Records[I];
    R.PageA = End(R.DesignationA, R.PinA);
    R.PageB = End(R.DesignationB, R.PinB);
    R.WireName = I % 5 == 0 ? "unknown" : std::to_string(I);
  }
  return Records;
}

std::string TempFile(const std::string& AName) {
  return (std::filesystem::temp_directory_path() / AName).string();
}

// The connection list file of ACount wires, written once for all repetitions and removed at
// the end of the run.
class TInputFile {
 public:
  explicit TInputFile(int ACount) : FPath(TempFile("bench_cli_input.csv")) {
    const std::string List = WriteConnectionList(MakeConnections(ACount));
    std::FILE* File = std::fopen(FPath.c_str(), "wb");
    std::fwrite(List.data(), 1, List.size(), File);
    std::fclose(File);
  }
  ~TInputFile() { std::filesystem::remove(FPath); }
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
};

void BM_NetlistOfConnectionList(benchmark::State& AState) {
  static const TInputFile Input(static_cast<int>(AState.range(0)));
  const std::string Output = TempFile("bench_cli_netlist.txt");
  const char* const Args[] = {"wiremap-cli", "netlist", Input.Path().c_str(), "-o", Output.c_str()};
  for (auto _ : AState) {
    if (TCommandLine().Run(5, Args) != 0) AState.SkipWithError("wiremap-cli failed");
  }
  AState.counters["bytes"] = static_cast<double>(std::filesystem::file_size(Output));
  std::filesystem::remove(Output);
}
BENCHMARK(BM_NetlistOfConnectionList)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
