// Comparing two revisions of a large project: the pairing of nets alone, the whole
// command (reading the saved old netlist, taking the loaded project's, comparing), and the
// comparison wire by wire.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "SyntheticWiring.h"
#include "model/Wiremap.h"

namespace {

using namespace wiremap;

// The next revision: about one record in fifty rewired at one end, one in a hundred
// dropped, and as many new ones added.
TConnectionRecs Revise(const TConnectionRecs& ARecords, std::mt19937_64& ARandom) {
  TConnectionRecs Fresh = CabinetWiring(static_cast<int>(ARecords.size() / 100 + 1), ARandom);
  std::uniform_int_distribution<int> Percent(0, 99);
  TConnectionRecs Revised;
  Revised.reserve(ARecords.size() + Fresh.size());
  for (size_t I = 0; I < ARecords.size(); ++I) {
    const int Roll = Percent(ARandom);
    if (Roll == 0) continue;
    Revised.push_back(ARecords[I]);
    if (Roll <= 2) {
      const TConnectionRec& Other = ARecords[(I * 7919 + 13) % ARecords.size()];
      Revised.back().DesignationB = Other.DesignationA;
      Revised.back().PinB = Other.PinA;
    }
  }
  Revised.insert(Revised.end(), Fresh.begin(), Fresh.end());
  return Revised;
}

TNetlist NetlistOfRecords(const TConnectionRecs& ARecords) {
  TProject Project(ARecords, "");
  return NetlistOf(Project.Graph());
}

// The text Save Netlist writes for ANetlist (the linear mark left out: it is not read).
std::string NetlistText(const TNetlist& ANetlist) {
  std::string Text = "Netlist of project [" + ANetlist.ProjectName + "]\r\n";
  for (const auto& Net : ANetlist.Nets) {
    Text += "\tnet " + Net.front() + "   pins " + std::to_string(Net.size()) + "\r\n";
    for (const std::string& Pin : Net) Text += "\t\t" + Pin + "\r\n";
  }
  return Text;
}

struct TRevisions {
  TConnectionRecs OldRecords, NewRecords;
  TNetlist Old, New;
  std::string OldText;
};

const TRevisions& Revisions(int ACount) {
  static std::map<int, TRevisions> Cache;
  auto Found = Cache.find(ACount);
  if (Found != Cache.end()) return Found->second;
  std::mt19937_64 Random(7);
  TRevisions& R = Cache[ACount];
  R.OldRecords = CabinetWiring(ACount, Random);
  R.NewRecords = Revise(R.OldRecords, Random);
  R.Old = NetlistOfRecords(R.OldRecords);
  R.New = NetlistOfRecords(R.NewRecords);
  R.OldText = NetlistText(R.Old);
  return R;
}

void Report(benchmark::State& AState, const TNetlistDiff& ADiff) {
  AState.counters["unchanged"] = ADiff.Unchanged;
  AState.counters["changed"] = static_cast<double>(ADiff.Changed.size());
  AState.counters["only_old"] = static_cast<double>(ADiff.OnlyOld.size());
  AState.counters["only_new"] = static_cast<double>(ADiff.OnlyNew.size());
}

void BM_CompareNetlists(benchmark::State& AState) {
  SetCollationLocale("en_US");
  const TRevisions& R = Revisions(static_cast<int>(AState.range(0)));
  for (auto _ : AState) {
    const TNetlistDiff Diff = CompareNetlists(R.Old, R.New);
    benchmark::DoNotOptimize(Diff.Unchanged);
    Report(AState, Diff);
  }
}

// What "Compare with Saved Netlist" does once the file is in memory: the loaded project
// (its graph already built) against the saved revision.
void BM_CompareWithSavedNetlist(benchmark::State& AState) {
  SetCollationLocale("en_US");
  const TRevisions& R = Revisions(static_cast<int>(AState.range(0)));
  TProject Project(R.NewRecords, "");
  for (auto _ : AState) {
    const TNetlist Old = ReadNetlistText(R.OldText);
    const TNetlist New = NetlistOf(Project.Graph());
    const TNetlistDiff Diff = CompareNetlists(Old, New);
    benchmark::DoNotOptimize(Diff.Unchanged);
    Report(AState, Diff);
  }
}

// "Compare with Demo Data" on a sample of this size: both graphs are built as well.
void BM_CompareProjects(benchmark::State& AState) {
  SetCollationLocale("en_US");
  const TRevisions& R = Revisions(static_cast<int>(AState.range(0)));
  for (auto _ : AState) {
    const TNetlistDiff Diff =
        CompareNetlists(NetlistOfRecords(R.OldRecords), NetlistOfRecords(R.NewRecords));
    benchmark::DoNotOptimize(Diff.Unchanged);
    Report(AState, Diff);
  }
}

// The next revision renamed as well: about one device in two hundred gets a new name.
TConnectionRecs RenameDevices(TConnectionRecs ARecords) {
  const auto Rename = [](std::string& ADesignation) {
    if (std::hash<std::string>()(ADesignation) % 200 == 0) ADesignation += "'";
  };
  for (TConnectionRec& R : ARecords) {
    Rename(R.DesignationA);
    Rename(R.DesignationB);
  }
  return ARecords;
}

// Two projects of this size wire by wire: renames, then the pairing of the wires.
void BM_CompareWires(benchmark::State& AState) {
  SetCollationLocale("en_US");
  const TRevisions& R = Revisions(static_cast<int>(AState.range(0)));
  const TConnectionRecs New = RenameDevices(R.NewRecords);
  for (auto _ : AState) {
    const TWireDiff Diff = CompareWires(R.OldRecords, New);
    benchmark::DoNotOptimize(Diff.Unchanged);
    AState.counters["unchanged"] = Diff.Unchanged;
    AState.counters["changed"] = static_cast<double>(Diff.Changed.size());
    AState.counters["removed"] = static_cast<double>(Diff.Removed.size());
    AState.counters["added"] = static_cast<double>(Diff.Added.size());
    AState.counters["renamed"] = static_cast<double>(Diff.Renamed.size());
  }
}

BENCHMARK(BM_CompareNetlists)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareWithSavedNetlist)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareProjects)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareWires)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
