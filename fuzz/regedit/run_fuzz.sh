#!/bin/sh
# Builds the registration-file reader's fuzz target with clang-14's libFuzzer
# (address and undefined-behaviour sanitizers, leak detection on) and runs it
# for a bounded time: run_fuzz.sh [SECONDS] (default 60). Exits non-zero on a
# crash, a timeout, a leak or a failed round trip; the input that caused it
# is left in the build folder (crash-*, timeout-*, leak-*).
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${REGEDIT_FUZZ_DIR:-$root/build-fuzz-regedit}
src=$root/tools/regedit
mkdir -p "$out/corpus"
clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" "$root/fuzz/regedit/regfile_fuzz.cpp" \
  "$src/reg_parser.cpp" "$src/reg_data.cpp" "$src/reg_writer.cpp" "$src/code_page.cpp" "$src/root_keys.cpp" \
  -o "$out/regfile_fuzz"
cd "$out"
./regfile_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -dict="$root/fuzz/regedit/regfile.dict" "$out/corpus" "$root/fuzz/regedit/seeds"
