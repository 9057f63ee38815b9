#!/usr/bin/env bash
# Builds everything and runs the unit tests (the README's test command).
# Warnings are errors here, as in CI. The build type and flags are those of
# the README's first command (warnings as errors reach the compiler through
# a response file, not the flags), so what that command built in build/ is
# not compiled again.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build -L unit --output-on-failure -j"$(nproc)"
