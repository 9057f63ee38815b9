#!/usr/bin/env bash
# Builds the Windows dispatch benchmark and the server (RelWithDebInfo, as CI) and
# runs it under Wine in a private prefix.
# Usage: bench/com/run.sh [windows-build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-win-bench}
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
fi
cmake --build "$build" --target com_dispatch_bench -j2 >/dev/null
cd "$build/bin"
"$root/cmake/run_under_wine.sh" ./com_dispatch_bench.exe 2> >(grep -v '^wine:' >&2)
