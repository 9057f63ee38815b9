// Google Benchmark of the registry workloads on our store, in a store of its
// own in a temporary directory. Every benchmark also shows the same workload
// on a plain in-memory tree, measured at the start of the run (memory_items/s),
// and ours divided by it (of_memory): the share of the ceiling we reach. When
// ORVANE_WINE_RESULTS names the output of the Wine program (run.sh makes
// it), it shows Wine's figure (wine_items/s) and ours divided by it (ratio).
// Argument: /1 each step is one method group, as the control runs a method
// (RegistryMethodScope); /0 every registry call commits on its own; /2 all
// steps of a run are one group (its closing commit counts in the ratio, not
// in Google Benchmark's own time).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "bench_cases.h"
#include "memory_tree.h"
#include "store/registry_store.h"

namespace {

using orvane::platform::RegistryMethodScope;

std::map<std::string, double>& WineRates() {
  static std::map<std::string, double> rates;
  return rates;
}

std::map<std::string, double>& MemoryRates() {
  static std::map<std::string, double> rates;
  return rates;
}

void LoadWineRates(const char* file) {
  if (file == nullptr) return;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string workload;
    double rate = 0;
    if (fields >> workload >> rate && rate > 0) WineRates()[workload] = rate;
  }
}

// Wall-clock time of the measured parts of one benchmark run (the parts
// between PauseTiming and ResumeTiming excluded), for the ratio to Wine.
class Stopwatch {
 public:
  using Clock = std::chrono::steady_clock;
  void Start() { started_ = Clock::now(); }
  void Stop() { seconds_ += std::chrono::duration<double>(Clock::now() - started_).count(); }
  double seconds() const { return seconds_; }

 private:
  Clock::time_point started_;
  double seconds_ = 0;
};

// Adds `name`'s figure for `workload` and our rate divided by it, when known.
void Compare(benchmark::State& state, const std::map<std::string, double>& rates, const char* workload,
             double our_rate, const char* name, const char* ratio_name) {
  const auto other = rates.find(workload);
  if (other == rates.end() || our_rate <= 0) return;
  state.counters[name] = other->second;
  state.counters[ratio_name] = our_rate / other->second;
}

void Finish(benchmark::State& state, const char* workload, int64_t items, const Stopwatch& watch) {
  state.SetItemsProcessed(items);
  const double our_rate = watch.seconds() > 0 ? static_cast<double>(items) / watch.seconds() : 0;
  Compare(state, MemoryRates(), workload, our_rate, "memory_items/s", "of_memory");
  Compare(state, WineRates(), workload, our_rate, "wine_items/s", "ratio");
}

// Grouping of the measured calls, the benchmark's argument: kPerCall, every
// call commits on its own; kPerStep, each step is one method group (as the
// control runs each method); kPerRun, all steps of a run form one group (as
// a bulk method, e.g. an import, does).
enum Grouping : int64_t { kPerCall = 0, kPerStep = 1, kPerRun = 2 };

// A method group for as long as it lives, when the benchmark's grouping is
// `level`.
class MaybeGroup {
 public:
  MaybeGroup(const benchmark::State& state, Grouping level) {
    if (state.range(0) == level) scope_.emplace();
  }

 private:
  std::optional<RegistryMethodScope> scope_;
};

// Runs `step` once per iteration, each in its own group when grouped per
// step and all in one group when grouped per run; `step` returns the items
// it handled.
template <class Step>
void TimeSteps(benchmark::State& state, const char* workload, Step step) {
  int64_t items = 0;
  Stopwatch watch;
  watch.Start();
  std::optional<MaybeGroup> run_group(std::in_place, state, kPerRun);
  for (auto _ : state) {
    MaybeGroup group(state, kPerStep);
    items += step();
  }
  run_group.reset();
  watch.Stop();
  Finish(state, workload, items, watch);
}

// Runs `work` with Google Benchmark's timing paused; nothing when empty.
void Untimed(benchmark::State& state, const std::function<void()>& work) {
  if (!work) return;
  state.PauseTiming();
  work();
  state.ResumeTiming();
}

// As TimeSteps, with untimed work before and after each step: only the
// step (and the closing commit of a per-run group) is measured.
template <class Step>
void TimeStepsBetween(benchmark::State& state, const char* workload, const std::function<void()>& before, Step step,
                      const std::function<void()>& after) {
  int64_t items = 0;
  Stopwatch watch;
  std::optional<MaybeGroup> run_group(std::in_place, state, kPerRun);
  for (auto _ : state) {
    Untimed(state, before);
    watch.Start();
    {
      MaybeGroup group(state, kPerStep);
      items += step();
    }
    watch.Stop();
    Untimed(state, after);
  }
  watch.Start();
  run_group.reset();
  watch.Stop();
  Finish(state, workload, items, watch);
}

void BM_OpenQueryClose(benchmark::State& state) {
  bench::BenchData& data = bench::Data();
  bench::Sequence sequence(42);
  TimeSteps(state, "open_query_close", [&] { return bench::StepOpenQueryClose(data, sequence); });
}

void BM_CreateKeySetValue(benchmark::State& state) {
  bench::BenchData& data = bench::Data();
  TimeSteps(state, "create_key_set_value", [&] { return bench::StepCreateKeySetValue(data); });
}

void BM_WalkTree(benchmark::State& state) {
  bench::BenchData& data = bench::Data();
  TimeSteps(state, "walk_tree", [&] { return bench::StepWalk(data); });
}

void BM_CopySubtree(benchmark::State& state) {
  bench::BenchData& data = bench::Data();
  TimeStepsBetween(
      state, "copy_subtree", nullptr, [&] { return bench::StepCopySubtree(data, "copy"); },
      [&] { bench::StepDeleteCopy(data, "copy"); });
}

void BM_DeleteSubtree(benchmark::State& state) {
  bench::BenchData& data = bench::Data();
  TimeStepsBetween(
      state, "delete_subtree", [&] { bench::StepCopySubtree(data, "copy"); },
      [&] { return bench::StepDeleteCopy(data, "copy"); }, nullptr);
}

void BM_EnumerateSubKeys(benchmark::State& state) {
  bench::BenchData& data = bench::Data();
  TimeSteps(state, "enumerate_subkeys", [&] { return bench::StepEnumerateWide(data); });
}

BENCHMARK(BM_OpenQueryClose)->Arg(kPerStep)->Arg(kPerCall)->Arg(kPerRun)->UseRealTime();
BENCHMARK(BM_CreateKeySetValue)->Arg(kPerStep)->Arg(kPerCall)->Arg(kPerRun)->UseRealTime();
BENCHMARK(BM_WalkTree)->Arg(kPerStep)->Arg(kPerCall)->Arg(kPerRun)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopySubtree)->Arg(kPerStep)->Arg(kPerCall)->Arg(kPerRun)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DeleteSubtree)->Arg(kPerStep)->Arg(kPerCall)->Arg(kPerRun)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EnumerateSubKeys)->Arg(kPerStep)->Arg(kPerCall)->Arg(kPerRun)->UseRealTime()->Unit(benchmark::kMillisecond);

std::filesystem::path MakeTemporaryDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path dir = MakeTemporaryDirectory();
  if (dir.empty() || orvane::platform::SelectRegistryStore(dir / "registry.db") != 0) {
    std::fprintf(stderr, "cannot create a temporary registry store\n");
    return 1;
  }
  LoadWineRates(std::getenv("ORVANE_WINE_RESULTS"));
  benchmark::Initialize(&argc, argv);
  std::fprintf(stderr, "measuring the in-memory tree...\n");
  MemoryRates() = bench::MeasureMemoryRates(0.5);
  {
    RegistryMethodScope scope;  // the data is built in one group; not measured
    std::fprintf(stderr, "building %d + %d + %d keys...\n", bench::kTreeKeys, bench::kSubtreeKeys, bench::kWideKeys);
    bench::Data();
  }
  std::fprintf(stderr, "data built in %.1f s\n", bench::Data().build_seconds);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(dir);
  return 0;
}
