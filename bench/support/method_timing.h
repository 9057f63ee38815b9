// Timing a method against the raw registry walk it makes: the seconds of
// one piece of work inside one method group, as the control runs it, and
// the per-iteration loop that reports "walk_ms" and "ratio".
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

#include "store/registry_store.h"

namespace orvane::bench {

// Seconds taken by `work` inside one method group, as the control runs.
template <class F>
double Seconds(F&& work) {
  const auto start = std::chrono::steady_clock::now();
  {
    platform::RegistryMethodScope scope;
    work();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Times `method` per iteration and `walk` beside it; "ratio" is method
// time over walk time.
template <class Method, class Walk>
void RunAgainstWalk(benchmark::State& state, Method method, Walk walk) {
  double method_total = 0;
  double walk_total = 0;
  for (auto _ : state) {
    const double seconds = Seconds(method);
    method_total += seconds;
    state.SetIterationTime(seconds);
    walk_total += Seconds(walk);
  }
  state.counters["walk_ms"] = benchmark::Counter(walk_total * 1e3 / static_cast<double>(state.iterations()));
  state.counters["ratio"] = benchmark::Counter(walk_total > 0 ? method_total / walk_total : 0);
}

}  // namespace orvane::bench
