// Speed of GetAllValues on a key with 10,000 values, GetAllKeys on a key
// with 50,000 sub-keys and Count with IncludeSubKeys over a 100,000-key
// tree. Each benchmark times the method and, in the same iteration, the
// raw registry walk it makes; the "ratio" counter is method time over
// walk time. Runs on a private temporary store.
#include <benchmark/benchmark.h>

#include "bench/enum/raw_walks.h"
#include "bench/support/bench_store.h"
#include "bench/support/method_timing.h"
#include "orvane/container.h"
#include "orvane/quorvel.h"
#include "store/registry_store.h"

namespace orvane::bench {
namespace {

// A control on HKEY_CURRENT_USER\Software\Bench.
struct BenchControl {
  BenchControl() { control.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Bench"); }
  NullContainer container;
  Quorvel control{container};
};

void BM_GetAllValues10k(benchmark::State& state) {
  BenchStore store;
  Seconds([] { PutValues(HKEY_CURRENT_USER, "Software\\Bench", 10000); });
  BenchControl bench;
  RunAgainstWalk(
      state, [&] { benchmark::DoNotOptimize(bench.control.GetAllValues()); },
      [] { benchmark::DoNotOptimize(RawValueWalk(HKEY_CURRENT_USER, "Software\\Bench")); });
}
BENCHMARK(BM_GetAllValues10k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

void BM_GetAllKeys50k(benchmark::State& state) {
  BenchStore store;
  Seconds([] { PutSubKeys(HKEY_CURRENT_USER, "Software\\Bench", 50000); });
  BenchControl bench;
  RunAgainstWalk(
      state, [&] { benchmark::DoNotOptimize(bench.control.GetAllKeys()); },
      [] { benchmark::DoNotOptimize(RawKeyWalk(HKEY_CURRENT_USER, "Software\\Bench")); });
}
BENCHMARK(BM_GetAllKeys50k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// 1 + 100 + 100 * 999 keys: the starting key and 100,000 below it.
void BM_CountTree100k(benchmark::State& state) {
  BenchStore store;
  Seconds([] { PutTree(HKEY_CURRENT_USER, "Software\\Bench", 100, 999); });
  BenchControl bench;
  int32_t sub_keys = 1;
  int32_t include = 1;
  RunAgainstWalk(
      state, [&] { benchmark::DoNotOptimize(bench.control.Count(sub_keys, include)); },
      [] { benchmark::DoNotOptimize(RawCountWalk(HKEY_CURRENT_USER, "Software\\Bench")); });
}
BENCHMARK(BM_CountTree100k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace orvane::bench

BENCHMARK_MAIN();
