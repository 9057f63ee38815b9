// Speed of SetValue with undo disabled and with undo enabled while the
// journal holds its full 20 records, and of Undo of one value write. Each
// benchmark times the operation and, in the same iteration, its baseline:
// the raw registry calls that write or restore the value, with no checks
// and no journal. "ratio" is operation time over baseline time; the
// recorded SetValue also reports "vs_unrecorded", its time over that of
// the same SetValue with undo disabled, measured in the same iterations.
// Runs on a private temporary store.
//
// Where a recorded write spends its time: the journal push. RecordUndo
// moves each of the 20 records one place (a subtree copy and a delete of
// the record and its saved old value) and drops the oldest, some 25 store
// calls per record against the few calls of the write itself and its
// parking of the old value. The limit for the recorded write is 50 times
// the unrecorded one ("vs_unrecorded").
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "bench/support/bench_store.h"
#include "undo/undo_enabled.h"
#include "orvane/quorvel.h"
#include "store/registry_store.h"
#include "undo/journal.h"

namespace orvane::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kKeyPath = "Software\\Bench";

// A private store for one benchmark; undo is switched off again before the
// store goes.
struct ValuesStore : BenchStore {
  ~ValuesStore() { SetUndoEnabledFlag(false); }
};

template <class F>
double Seconds(F&& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The raw calls of writing one string value, in one group as a method.
void RawSetString(const std::string& text) {
  platform::RegistryMethodScope scope;
  HKEY key = nullptr;
  DWORD disposition = 0;
  RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, 0x3F, nullptr, &key, &disposition);
  RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

// A control pointed at the benchmark's value, with a string to write.
struct Writer {
  NullContainer container;
  Quorvel control{container};
  Writer() {
    control.GlobalKeyPath(std::string("HKEY_CURRENT_USER\\") + kKeyPath);
    control.ValueName("v");
    control.Value(Variant::String("data"));
  }
  void Set() {
    int32_t mode = 0;
    control.SetValue(mode);
  }
};

// Times `operation` per iteration and the raw write of the value beside
// it, with untimed `before` and `after` work around them; reports
// "baseline_us" and "ratio" and gives the operation's total seconds.
template <class Before, class Op, class After>
double RunAgainstRawWrite(benchmark::State& state, Before before, Op operation, After after) {
  double operation_total = 0;
  double baseline_total = 0;
  for (auto _ : state) {
    before();
    const double seconds = Seconds(operation);
    state.SetIterationTime(seconds);
    operation_total += seconds;
    baseline_total += Seconds([] { RawSetString("data"); });
    after();
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["baseline_us"] = benchmark::Counter(baseline_total * 1e6 / iterations);
  state.counters["ratio"] = benchmark::Counter(baseline_total > 0 ? operation_total / baseline_total : 0);
  return operation_total;
}

void Nothing() {}

void BM_SetValueUndoDisabled(benchmark::State& state) {
  ValuesStore store;
  Writer writer;
  writer.Set();
  RunAgainstRawWrite(state, Nothing, [&] { writer.Set(); }, Nothing);
}
BENCHMARK(BM_SetValueUndoDisabled)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Each recorded write replaces the value: its record keeps the old value,
// and the push moves the 20 records present one place and drops the oldest.
void BM_SetValueUndoEnabled20Records(benchmark::State& state) {
  ValuesStore store;
  Writer writer;
  writer.control.UndoEnabled(true);
  for (int i = 0; i <= 20; ++i) writer.Set();
  double unrecorded = 0;
  const double operation = RunAgainstRawWrite(state, Nothing, [&] { writer.Set(); }, [&] {
    SetUndoEnabledFlag(false);  // the flag alone: the journal stays
    unrecorded += Seconds([&] { writer.Set(); });
    SetUndoEnabledFlag(true);
  });
  state.counters["vs_unrecorded"] = benchmark::Counter(unrecorded > 0 ? operation / unrecorded : 0);
}
BENCHMARK(BM_SetValueUndoEnabled20Records)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Undo of a value write that replaced a value (20 records before each
// write, 19 after its undo); the baseline writes the old value back.
void BM_UndoValueWrite(benchmark::State& state) {
  ValuesStore store;
  Writer writer;
  writer.control.UndoEnabled(true);
  for (int i = 0; i <= 20; ++i) writer.Set();
  int16_t one = 1;
  RunAgainstRawWrite(state, [&] { writer.Set(); }, [&] { writer.control.Undo(one); }, Nothing);
}
BENCHMARK(BM_UndoValueWrite)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvane::bench

BENCHMARK_MAIN();
