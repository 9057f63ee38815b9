// Speed of the full-screen editor's model on a store of 100,000 keys:
// opening it (the roots and the first key's values) and expanding a key
// with 20,000 sub-keys. Each benchmark times the model and, in the same
// iteration, the raw registry walk of the same keys; "ratio" is model time
// over walk time. The target is under 100 ms for each. Runs on a private
// temporary store.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/enum/raw_walks.h"
#include "bench/support/bench_store.h"
#include "bench/support/method_timing.h"
#include "tools/regedit/editor/editor_commands.h"
#include "tools/regedit/editor/editor_control.h"
#include "tools/regedit/editor/editor_model.h"

namespace orvane::bench {
namespace {

using regedit::editor::EditorCommands;
using regedit::editor::EditorControl;
using regedit::editor::EditorModel;
using regedit::editor::KeyTree;

// 80 + 80 * 999 keys in a tree and 20,000 sub-keys of one key: 100,000.
void FillStore() {
  std::printf("filling the store: %.1f s\n", Seconds([] {
                PutTree(HKEY_CURRENT_USER, "Software\\Bench\\Tree", 80, 999);
                PutSubKeys(HKEY_CURRENT_USER, "Software\\Bench\\Big", 20000);
              }));
}

void BM_OpenEditorModel100k(benchmark::State& state) {
  BenchStore store;
  FillStore();
  EditorControl control;
  EditorCommands commands(control.control());
  RunAgainstWalk(
      state, [&] { benchmark::DoNotOptimize(EditorModel(commands).values().size()); },
      [] { benchmark::DoNotOptimize(RawKeyWalk(HKEY_CLASSES_ROOT, "")); });
}
BENCHMARK(BM_OpenEditorModel100k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ExpandKeyWith20kSubKeys(benchmark::State& state) {
  BenchStore store;
  FillStore();
  KeyTree tree;
  tree.Reveal("HKEY_CURRENT_USER\\Software\\Bench\\Big");
  const size_t row = tree.selected();
  double expand_total = 0;
  double walk_total = 0;
  for (auto _ : state) {
    const double seconds = Seconds([&] { tree.Expand(row); });
    expand_total += seconds;
    state.SetIterationTime(seconds);
    tree.Collapse(row);
    walk_total += Seconds([] { benchmark::DoNotOptimize(RawKeyWalk(HKEY_CURRENT_USER, "Software\\Bench\\Big")); });
  }
  state.counters["walk_ms"] = benchmark::Counter(walk_total * 1e3 / static_cast<double>(state.iterations()));
  state.counters["ratio"] = benchmark::Counter(walk_total > 0 ? expand_total / walk_total : 0);
}
BENCHMARK(BM_ExpandKeyWith20kSubKeys)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace orvane::bench

BENCHMARK_MAIN();
