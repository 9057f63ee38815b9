#!/usr/bin/env bash
# Measures the registry workloads on Wine's registry and on our store in one
# run, and prints each figure with Wine's and the ratio (ours / Wine's), and
# with the same workload on an in-memory tree (of_memory: ours / its).
# Wine runs first, in a fresh private prefix, with the program and its
# wineserver pinned to one core (Wine at its best); without mingw-w64 or
# Wine only our store is measured.
# Usage: bench/platform/run.sh [build-dir [google-benchmark options...]]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-bench}
shift || true

if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target store_bench -j2 >/dev/null

results=$(mktemp)
trap 'rm -f "$results"' EXIT
if command -v wine >/dev/null && command -v wineserver >/dev/null &&
   command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  cmake --build "$build" --target store_bench_wine >/dev/null
  echo "== Wine's registry (pinned to CPU 0) =="
  taskset -c 0 "$root/cmake/run_under_wine.sh" "$build/bench/platform/store_bench_wine.exe" \
    2> >(grep -v '^wine:' >&2) | tee "$results"
  export ORVANE_WINE_RESULTS=$results
else
  echo "mingw-w64 or Wine is missing: measuring our store only"
fi

echo "== Our store =="
"$build/bench/platform/store_bench" --benchmark_counters_tabular=true "$@"
