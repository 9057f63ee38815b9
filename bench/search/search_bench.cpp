// Speed of Find over a 100,000-key tree with 500,000 values (partial match
// on value data, with 10 matches and with 100,000 matches) and of Replace
// over a 10,000-key tree. Each benchmark times the method and, in the same
// iteration, the raw registry walk it makes; "ratio" is method time over
// walk time. Runs on a private temporary store. Where Wine is installed and
// the mingw-w64 build of the walks exists, the same walks are also timed
// through Wine's registry (in a private prefix, once per run) and shown as
// "wine_walk_ms"; ORVANE_BENCH_NO_WINE=1 skips that.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "bench/search/search_walks.h"
#include "bench/support/bench_store.h"
#include "bench/support/method_timing.h"
#include "orvane/container.h"
#include "orvane/quorvel.h"
#include "store/registry_store.h"

namespace orvane::bench {
namespace {

// Wine's walk times by walk name ("find_walk", "replace_walk"), in ms;
// empty when Wine or the Windows build of the walks is missing.
std::map<std::string, double> RunWineWalks() {
  std::map<std::string, double> times;
#ifdef ORVANE_SEARCH_WINE_WALKS
  const char* skip = getenv("ORVANE_BENCH_NO_WINE");
  if ((skip != nullptr && std::string(skip) == "1") || !std::filesystem::exists(ORVANE_SEARCH_WINE_WALKS) ||
      std::system("command -v wine >/dev/null 2>&1") != 0) {
    return times;
  }
  std::string prefix = (std::filesystem::temp_directory_path() / "orvane-search-wine-XXXXXX").string();
  if (mkdtemp(prefix.data()) == nullptr) return times;
  const std::string command = "WINEPREFIX=" + prefix + " WINEDEBUG=-all wine " + ORVANE_SEARCH_WINE_WALKS +
                              " 2>/dev/null; WINEPREFIX=" + prefix + " wineserver -k";
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char name[64];
    double ms = 0;
    char line[256];
    while (fgets(line, sizeof line, pipe) != nullptr) {
      if (line[0] != '#' && std::sscanf(line, "%63s %lf", name, &ms) == 2) times[name] = ms;
    }
    pclose(pipe);
  }
  std::error_code ignored;
  std::filesystem::remove_all(prefix, ignored);
#endif
  return times;
}

double WineWalkMs(const std::string& walk) {
  static const std::map<std::string, double> times = RunWineWalks();
  const auto found = times.find(walk);
  return found == times.end() ? 0 : found->second;
}

struct BenchControl {
  BenchControl() { control.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Bench"); }

  Variant Find(std::string text) {
    int32_t mode = 1;
    bool off = false;
    bool on = true;
    Variant reserved = Variant::Long(0);
    int32_t window = 0;
    return control.Find(text, mode, off, off, on, reserved, off, window);
  }
  int32_t Replace(std::string text, std::string with) {
    int32_t mode = 1;
    bool off = false;
    bool on = true;
    Variant reserved = Variant::Long(0);
    int32_t window = 0;
    return control.Replace(text, with, mode, off, off, on, reserved, off, window);
  }

  NullContainer container;
  Quorvel control{container};
};

// The 100,000-key tree with a needle in every `needle_every`-th key.
void RunFind(benchmark::State& state, int needle_every, int64_t expected) {
  BenchStore store;
  PutSearchTree(HKEY_CURRENT_USER, "Software\\Bench", 100, 1000, 5, needle_every);
  BenchControl bench;
  int64_t rows = 0;
  RunAgainstWalk(
      state,
      [&] {
        const Variant result = bench.Find("needle");
        rows = result.is_array() ? result.array().bound(1).count() : 0;
      },
      [] { benchmark::DoNotOptimize(RawSearchWalk(HKEY_CURRENT_USER, "Software\\Bench")); });
  if (rows != expected) state.SkipWithError("unexpected number of matches");
  state.counters["wine_walk_ms"] = benchmark::Counter(WineWalkMs("find_walk"));
  state.counters["matches"] = benchmark::Counter(static_cast<double>(rows));
}

void BM_FindFewMatches(benchmark::State& state) { RunFind(state, 10000, 10); }
void BM_FindManyMatches(benchmark::State& state) { RunFind(state, 1, 100000); }

void BM_Replace10k(benchmark::State& state) {
  BenchStore store;
  PutSearchTree(HKEY_CURRENT_USER, "Software\\Bench", 100, 100, 1, 1);
  BenchControl bench;
  bool forward = true;
  int32_t changed = 0;
  RunAgainstWalk(
      state,
      [&] {
        changed = forward ? bench.Replace("needle", "pin") : bench.Replace("pin", "needle");
        forward = !forward;
      },
      [&] { benchmark::DoNotOptimize(RawRewriteWalk(HKEY_CURRENT_USER, "Software\\Bench", forward ? "needle" : "pin")); });
  if (changed != 10000) state.SkipWithError("unexpected number of changes");
  state.counters["wine_walk_ms"] = benchmark::Counter(WineWalkMs("replace_walk"));
}

BENCHMARK(BM_FindFewMatches)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FindManyMatches)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Replace10k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace
}  // namespace orvane::bench

BENCHMARK_MAIN();
