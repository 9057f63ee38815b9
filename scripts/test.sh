#!/usr/bin/env bash
# Builds everything and runs the unit tests (the README's test command).
# Warnings are errors here, as in CI.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build -L unit --output-on-failure -j"$(nproc)"
