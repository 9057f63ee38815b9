#!/usr/bin/env bash
# CI checks beyond the Linux unit tests: the Windows build (mingw-w64,
# through cmake/mingw-w64.cmake) with its tests run under Wine against the
# real registry API, and the Linux build's tests that need Wine (both CTest
# label "wine"), then bounded fuzz runs of the .reg reader, of the
# script language's parser and of the hive file loader. Skips a part,
# saying so, where its tools are missing; fails when a test or the fuzzer fails.
# Build directories: $ORVANE_WINDOWS_BUILD (default build-win) and the Linux
# build that scripts/test.sh made, $ORVANE_LINUX_BUILD (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${ORVANE_WINDOWS_BUILD:-build-win}
linux_build=${ORVANE_LINUX_BUILD:-build}

run_wine_tests() {
  echo "== Windows build (mingw-w64) =="
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORVANE_BUILD_BENCH=OFF >/dev/null
  # Only what the Wine tests run: the other test programs are Linux-only.
  cmake --build "$build" --target orvane_wine_tests -j"$(nproc)"

  echo "== Tests under Wine =="
  # Wine itself now and then loses a program's output while a new prefix is
  # set up (seen: an empty cscript run); a test that fails is run once more,
  # and a second failure fails CI.
  ctest --test-dir "$build" -L wine --output-on-failure --no-tests=error --repeat until-pass:2

  if [[ -f $linux_build/CTestTestfile.cmake ]]; then
    echo "== Linux tests that use Wine =="
    ctest --test-dir "$linux_build" -L wine --output-on-failure --no-tests=ignore --repeat until-pass:2
  fi
}

missing=()
for tool in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-widl wine wineserver xvfb-run; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
  echo "== Wine tests skipped: not installed: ${missing[*]} =="
else
  run_wine_tests
fi

if command -v clang++-14 >/dev/null; then
  echo "== Fuzzing the .reg reader (120 s) =="
  fuzz/regedit/run_fuzz.sh 120
  echo "== Fuzzing the script language's parser (60 s) =="
  fuzz/quorvel/run_fuzz.sh 60
  echo "== Fuzzing the hive file loader (60 s) =="
  fuzz/hive/run_fuzz.sh 60
else
  echo "== Fuzzing skipped: clang++-14 not installed =="
fi
