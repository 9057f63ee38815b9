// The store workloads timed without Google Benchmark, which has no Windows
// build here: this program is built with mingw-w64 and run under Wine to
// measure Wine's registry with the very calls our store is measured with.
// Output, one line per workload: "<workload> <items per second>"; lines
// starting with '#' are comments.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "bench_cases.h"

namespace {

using Clock = std::chrono::steady_clock;

// Runs `step` `steps` times; returns items per second.
double Measure(int steps, const std::function<int64_t()>& step) {
  int64_t items = 0;
  const auto start = Clock::now();
  for (int i = 0; i < steps; ++i) items += step();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return static_cast<double>(items) / seconds;
}

void Report(const char* workload, double per_second) {
  std::printf("%s %.1f\n", workload, per_second);
  std::fflush(stdout);
}

// Copies and deletes the subtree `rounds` times; reports both rates.
void MeasureCopyAndDelete(bench::BenchData& data, int rounds) {
  double copy_seconds = 0, delete_seconds = 0;
  int64_t copied = 0, deleted = 0;
  for (int round = 0; round < rounds; ++round) {
    const std::string name = std::string("copy") + std::to_string(round);
    auto start = Clock::now();
    copied += bench::StepCopySubtree(data, name);
    copy_seconds += std::chrono::duration<double>(Clock::now() - start).count();
    start = Clock::now();
    deleted += bench::StepDeleteCopy(data, name);
    delete_seconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  Report("copy_subtree", static_cast<double>(copied) / copy_seconds);
  Report("delete_subtree", static_cast<double>(deleted) / delete_seconds);
}

}  // namespace

int main() {
  bench::BenchData& data = bench::Data();
  std::printf("# data built in %.1f s\n", data.build_seconds);
  bench::Sequence sequence(42);
  Report("open_query_close", Measure(50000, [&] { return bench::StepOpenQueryClose(data, sequence); }));
  Report("create_key_set_value", Measure(20000, [&] { return bench::StepCreateKeySetValue(data); }));
  Report("walk_tree", Measure(1, [&] { return bench::StepWalk(data); }));
  MeasureCopyAndDelete(data, 2);
  Report("enumerate_subkeys", Measure(10, [&] { return bench::StepEnumerateWide(data); }));
  return 0;
}
