// The raw walks of the search benchmarks timed without Google Benchmark,
// built with mingw-w64 and run under Wine, so that Wine's registry is
// measured with the very calls our store is measured with. Output, one line
// per walk: "<walk> <milliseconds>"; lines starting with '#' are comments.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "bench/search/search_walks.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kTree = "Software\\OrvaneSearchBench";

double Milliseconds(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* walk, double milliseconds) {
  std::printf("%s %.1f\n", walk, milliseconds);
  std::fflush(stdout);
}

}  // namespace

int main() {
  using namespace orvane::bench;
  RegDeleteTreeA(HKEY_CURRENT_USER, kTree);
  const double built = Milliseconds([] { PutSearchTree(HKEY_CURRENT_USER, kTree, 100, 1000, 5, 1); });
  std::printf("# find tree built in %.0f ms\n", built);
  Report("find_walk", Milliseconds([] { RawSearchWalk(HKEY_CURRENT_USER, kTree); }));
  RegDeleteTreeA(HKEY_CURRENT_USER, kTree);
  PutSearchTree(HKEY_CURRENT_USER, kTree, 100, 100, 1, 1);
  Report("replace_walk", Milliseconds([] { RawRewriteWalk(HKEY_CURRENT_USER, kTree, "needle"); }));
  RegDeleteTreeA(HKEY_CURRENT_USER, kTree);
  return 0;
}
