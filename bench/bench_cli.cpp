// The command line at scale: a connection list of a million wires read, its nets built and
// its netlist written to a file, as `wiremap-cli netlist big.csv -o netlist.txt` does.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "SyntheticWiring.h"
#include "cli/CommandLine.h"
#include "files/ProjectFile.h"

namespace {

using namespace wiremap;

std::string TempFile(const std::string& AName) {
  return (std::filesystem::temp_directory_path() / AName).string();
}

// The connection list file of ACount wires, written once for all repetitions and removed at
// the end of the run.
class TInputFile {
 public:
  explicit TInputFile(int ACount) : FPath(TempFile("bench_cli_input.csv")) {
    const std::string List = WriteConnectionList(CabinetWiring(ACount, 7));
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
