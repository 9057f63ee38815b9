#!/bin/sh
# Builds the hive loader's fuzz target with clang-14's libFuzzer (address
# and undefined-behaviour sanitizers, leak detection on; libhivex itself is
# not instrumented) and runs it for a bounded time: run_fuzz.sh [SECONDS]
# (default 60). Exits non-zero on a crash, a timeout, a leak or a walk that
# does not end; the input that caused it is left in the build folder
# (crash-*, timeout-*, leak-*).
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${HIVE_FUZZ_DIR:-$root/build-fuzz-hive}
src=$root/store/hive
mkdir -p "$out/corpus"
# shellcheck disable=SC2046
clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" $(pkg-config --cflags hivex) "$root/fuzz/hive/hive_fuzz.cpp" \
  "$src/hive_file.cpp" "$src/hive_nodes.cpp" "$src/hive_text.cpp" \
  $(pkg-config --libs hivex) -o "$out/hive_fuzz"
cd "$out"
TMPDIR=$out ./hive_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  "$out/corpus" "$root/fuzz/hive/seeds"
