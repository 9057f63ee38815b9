// Speed of reading a value through the control, copying and deleting a
// 10,000-key subtree, and pushing a record onto a full journal. Each
// benchmark times the operation and, in the same iteration, its baseline:
// the raw registry calls the operation makes. The "ratio" counter is
// operation time over baseline time. Runs on a private temporary store.
#include <benchmark/benchmark.h>

#include "bench/keyops/raw_calls.h"
#include "bench/support/bench_store.h"
#include "bench/support/method_timing.h"
#include "undo/undo_enabled.h"
#include "keyops/key_create_delete.h"
#include "keyops/key_transfer.h"
#include "orvane/error.h"
#include "orvane/quorvel.h"
#include "store/registry_store.h"
#include "undo/journal.h"
#include "undo/record.h"

namespace orvane::bench {
namespace {

// Keys of the big subtree: the top, 100 children, 99 grandchildren each.
constexpr int kFanOut = 100;
constexpr int kFanOut2 = 99;

// Times `operation` per iteration and `baseline` beside it; `reset`
// (untimed) restores the starting state before each of them.
template <class Op, class Base, class Reset>
void RunAgainstBaseline(benchmark::State& state, Op operation, Base baseline, Reset reset) {
  double operation_total = 0;
  double baseline_total = 0;
  for (auto _ : state) {
    reset();
    const double seconds = Seconds(operation);
    operation_total += seconds;
    state.SetIterationTime(seconds);
    reset();
    baseline_total += Seconds(baseline);
  }
  state.counters["baseline_us"] =
      benchmark::Counter(baseline_total * 1e6 / static_cast<double>(state.iterations()));
  state.counters["ratio"] = benchmark::Counter(baseline_total > 0 ? operation_total / baseline_total : 0);
}

void BM_GetValueString(benchmark::State& state) {
  BenchStore store;
  BuildTree(HKEY_CURRENT_USER, "Software\\Bench", 0, 0);
  NullContainer container;
  Quorvel control(container);
  control.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Bench");
  control.ValueName("v");
  try {
    control.GetValue();
  } catch (const Error& error) {
    state.SkipWithError(error.what());
    return;
  }
  RunAgainstBaseline(
      state, [&] { control.GetValue(); },
      [&] { benchmark::DoNotOptimize(RawReadString(HKEY_CURRENT_USER, "Software\\Bench", "v")); }, [] {});
}
BENCHMARK(BM_GetValueString)->UseManualTime();

void ResetSubtree() {
  platform::RegistryMethodScope scope;
  for (const char* name : {"Src", "Dst"}) {
    RawDelete(HKEY_CURRENT_USER, std::string("Software\\") + name);
  }
  ClearTempUndo();
  BuildTree(HKEY_CURRENT_USER, "Software\\Src", kFanOut, kFanOut2);
}

void BM_CopyKey10k(benchmark::State& state) {
  BenchStore store;
  RunAgainstBaseline(
      state,
      [] {
        CopyOrMoveKey(HKEY_CURRENT_USER, "Software\\Src", HKEY_CURRENT_USER, "Software\\Dst",
                      TransferOperation::kCopy);
      },
      [] { RawCopy(HKEY_CURRENT_USER, "Software\\Src", "Software\\Dst"); }, ResetSubtree);
}
BENCHMARK(BM_CopyKey10k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// DeleteKey saves the subtree for undo before deleting it: its raw calls
// are a copy into the temporary undo key and a recursive delete.
void BM_DeleteKey10k(benchmark::State& state) {
  BenchStore store;
  RunAgainstBaseline(
      state, [] { RemoveKey(HKEY_CURRENT_USER, "Software\\Src", true); },
      [] {
        RawCopy(HKEY_CURRENT_USER, "Software\\Src", "Software\\Dst");
        RawDelete(HKEY_CURRENT_USER, "Software\\Src");
      },
      ResetSubtree);
}
BENCHMARK(BM_DeleteKey10k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The raw calls of one push onto a full journal: every record moved one
// place (copy and delete), the oldest dropped, the new record written.
void RawJournalPush(const std::string& journal) {
  const std::string base = journal + "\\Undo#";
  for (int i = kMaxJournalRecords - 1; i >= 0; --i) {
    RawCopy(HKEY_LOCAL_MACHINE, base + std::to_string(i), base + std::to_string(i + 1));
    RawDelete(HKEY_LOCAL_MACHINE, base + std::to_string(i));
  }
  RawDelete(HKEY_LOCAL_MACHINE, base + std::to_string(kMaxJournalRecords));
  BuildTree(HKEY_LOCAL_MACHINE, base + "0", 0, 0);
}

void BM_JournalPushFull(benchmark::State& state) {
  BenchStore store;
  SetUndoEnabledFlag(true);
  auto push = [] { RecordUndo(UndoActionCode::KeyCreated, {{"-2147483647", "Software\\Created", ""}}); };
  for (int i = 0; i < kMaxJournalRecords; ++i) push();
  RunAgainstBaseline(state, push, [] { RawJournalPush(JournalKeyPath()); }, [] {});
  SetUndoEnabledFlag(false);
}
BENCHMARK(BM_JournalPushFull)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvane::bench

BENCHMARK_MAIN();
