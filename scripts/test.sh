#!/usr/bin/env bash
# Builds everything and runs the unit tests (the README's test command).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build -L unit --output-on-failure -j"$(nproc)"
