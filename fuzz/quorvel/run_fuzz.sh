#!/bin/sh
# Builds the script language's fuzz target (lexer and parser) with
# clang-14's libFuzzer (address and undefined-behaviour sanitizers, leak
# detection on) and runs it for a bounded time: run_fuzz.sh [SECONDS]
# (default 60). Exits non-zero on a crash, a timeout, a leak or a broken
# promise of the parser; the input that caused it is left in the build
# folder (crash-*, timeout-*, leak-*).
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${QUORVEL_FUZZ_DIR:-$root/build-fuzz-quorvel}
mkdir -p "$out/corpus" "$out/include/orvane"
# The version header the build generates, from the project's version.
version=$(sed -n 's/^project(Orvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
major=${version%%.*}
rest=${version#*.}
minor=${rest%%.*}
patch=${rest#*.}
sed -e "s/@PROJECT_VERSION@/$version/" -e "s/@PROJECT_VERSION_MAJOR@/$major/" \
  -e "s/@PROJECT_VERSION_MINOR@/$minor/" -e "s/@PROJECT_VERSION_PATCH@/$patch/" \
  "$root/cmake/version.h.in" > "$out/include/orvane/version.h"
clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
  -I"$root" -I"$root/include" -I"$out/include" -I"$root/tools/quorvel" "$root/fuzz/quorvel/script_fuzz.cpp" \
  "$root/tools/quorvel/lexer.cpp" "$root/tools/quorvel/parser.cpp" "$root/tools/quorvel/names.cpp" \
  "$root/tools/quorvel/builtins.cpp" "$root/control/dispatch_table.cpp" "$root/control/enum_constants.cpp" \
  "$root/platform/window_messages.cpp" "$root"/runtime/*.cpp \
  -o "$out/script_fuzz"
cd "$out"
./script_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
  -dict="$root/fuzz/quorvel/script.dict" "$out/corpus" "$root/fuzz/quorvel/seeds"
