// Loading a project into the net graph: connections, nets and key values, against a
// byte-exact baseline that does the same job with a hash map, union-find and byte order.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "SyntheticWiring.h"
#include "model/Wiremap.h"

namespace {

using namespace wiremap;

const TConnectionRecs& Connections(int ACount) {
  static std::map<int, TConnectionRecs> Cache;
  auto Found = Cache.find(ACount);
  if (Found == Cache.end()) Found = Cache.emplace(ACount, CabinetWiring(ACount)).first;
  return Found->second;
}

// A project of ARecords; copying the records is the caller's, not the load's, so it is
// left out of the time.
void LoadProject(benchmark::State& AState, const TConnectionRecs& ARecords,
                 std::unique_ptr<TProject>& AProject) {
  AState.PauseTiming();
  AProject.reset();
  TConnectionRecs Copy = ARecords;
  AState.ResumeTiming();
  AProject = std::make_unique<TProject>(std::move(Copy), "");
}

void BM_Wiremap(benchmark::State& AState) {
  SetCollationLocale("en_US");
  const TConnectionRecs& Records = Connections(static_cast<int>(AState.range(0)));
  std::unique_ptr<TProject> Project;
  for (auto _ : AState) {
    LoadProject(AState, Records, Project);
    benchmark::DoNotOptimize(Project->KeyValues().Lists[akProduct].Count());
    AState.counters["pins"] = Project->Graph().GetPinCount();
    AState.counters["nets"] = Project->Graph().NetCount;
  }
}

// The same job, byte-exact: names hashed as they are, nets by union-find, byte order.
struct TBaseline {
  std::unordered_map<std::string, int32_t> Index;
  std::vector<std::string> Names;
  std::vector<std::vector<int32_t>> Links;
  std::vector<std::vector<std::string>> Wires;
  std::vector<int32_t> Pages, Parent, Order, Position, Next;
  std::vector<std::vector<std::string>> Values;
  std::vector<std::vector<int32_t>> Keys;

  int32_t Pin(std::string&& AName) {
    const auto [Found, Added] = Index.try_emplace(AName, static_cast<int32_t>(Names.size()));
    if (Added) {
      Names.push_back(std::move(AName));
      Links.emplace_back();
      Wires.emplace_back();
      Pages.push_back(0);
    }
    return Found->second;
  }

  int32_t Root(int32_t A) {
    while (Parent[A] != A) A = Parent[A] = Parent[Parent[A]];
    return A;
  }

  void Load(const TConnectionRecs& ARecords) {
    for (const TConnectionRec& R : ARecords) {
      std::string A = PinNameOf(R.DesignationA, R.PinA), B = PinNameOf(R.DesignationB, R.PinB);
      if (A == B) continue;
      const int32_t PA = Pin(std::move(A)), PB = Pin(std::move(B));
      Links[PA].push_back(PB);
      Wires[PA].push_back(R.WireName);
      Pages[PA] = R.PageA;
      Links[PB].push_back(PA);
      Wires[PB].push_back(R.WireName);
      Pages[PB] = R.PageB;
    }
    const int32_t Count = static_cast<int32_t>(Names.size());
    Parent.resize(Count);
    std::iota(Parent.begin(), Parent.end(), 0);
    for (int32_t P = 0; P < Count; ++P)
      for (const int32_t Q : Links[P]) Parent[Root(P)] = Root(Q);
    Order.resize(Count);
    std::iota(Order.begin(), Order.end(), 0);
    std::sort(Order.begin(), Order.end(),
              [&](int32_t A, int32_t B) { return Names[A] < Names[B]; });
    Position.resize(Count);
    for (int32_t I = 0; I < Count; ++I) Position[Order[I]] = I;
    std::unordered_map<int32_t, std::vector<int32_t>> Nets;
    for (int32_t P = 0; P < Count; ++P) Nets[Root(P)].push_back(Position[P]);
    Next.resize(Count);
    for (auto& [Root, Net] : Nets) {
      std::sort(Net.begin(), Net.end());
      for (size_t J = 0; J < Net.size(); ++J)
        Next[Order[Net[J]]] = Order[Net[(J + 1) % Net.size()]];
    }
    BuildKeys();
  }

  void BuildKeys() {
    const int32_t Count = static_cast<int32_t>(Names.size());
    Values.assign(AspectCount, {});
    Keys.assign(AspectCount, std::vector<int32_t>(Count));
    std::vector<std::unordered_map<std::string, int32_t>> Seen(AspectCount);
    std::vector<std::vector<int32_t>> PinValue(AspectCount, std::vector<int32_t>(Count));
    std::array<std::string, AspectCount> Parts;
    for (int32_t P = 0; P < Count; ++P) {
      SplitPinName(Names[P], Parts);
      Parts[akPage] = std::to_string(Pages[P]);
      for (int K = 0; K < AspectCount; ++K) {
        const auto [Found, Added] =
            Seen[K].try_emplace(Parts[K], static_cast<int32_t>(Values[K].size()));
        if (Added) Values[K].push_back(Parts[K]);
        PinValue[K][P] = Found->second;
      }
    }
    for (int K = 0; K < AspectCount; ++K) {
      std::vector<int32_t> Sorted(Values[K].size());
      std::iota(Sorted.begin(), Sorted.end(), 0);
      std::sort(Sorted.begin(), Sorted.end(),
                [&](int32_t A, int32_t B) { return Values[K][A] < Values[K][B]; });
      std::vector<int32_t> Rank(Sorted.size());
      for (size_t I = 0; I < Sorted.size(); ++I) Rank[Sorted[I]] = static_cast<int32_t>(I);
      for (int32_t P = 0; P < Count; ++P) Keys[K][P] = Rank[PinValue[K][P]];
    }
  }
};

void BM_Baseline(benchmark::State& AState) {
  const TConnectionRecs& Records = Connections(static_cast<int>(AState.range(0)));
  for (auto _ : AState) {
    TBaseline Baseline;
    Baseline.Load(Records);
    benchmark::DoNotOptimize(Baseline.Keys[akProduct].data());
    AState.counters["pins"] = static_cast<double>(Baseline.Names.size());
  }
}

// The largest built-in sample: load, nets and key values.
void BM_Sample5(benchmark::State& AState) {
  SetCollationLocale("en_US");
  TConnectionRecs Records;
  LoadSampleProject(Records, 5);
  std::unique_ptr<TProject> Project;
  for (auto _ : AState) {
    LoadProject(AState, Records, Project);
    benchmark::DoNotOptimize(Project->KeyValues().Lists[akProduct].Count());
  }
  AState.counters["pins"] = Project->Graph().GetPinCount();
}
BENCHMARK(BM_Sample5)->Unit(benchmark::kMillisecond);

void Sizes(benchmark::internal::Benchmark* ABenchmark) {
  ABenchmark->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_Wiremap)->Apply(Sizes);
BENCHMARK(BM_Baseline)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
