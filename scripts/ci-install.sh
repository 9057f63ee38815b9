#!/usr/bin/env bash
# CI: installs the build in build/ into a temporary prefix, then builds the
# example consumer in examples/embed/ from that prefix alone (CMake package
# and pkg-config) and runs it and the Python example, each on a temporary
# store. Nothing of the source or build tree is on any include, link or
# module path of the consumers; only their own sources come from
# examples/embed/. The commands are the README's.
# Usage: scripts/ci-install.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

echo "== Install into $prefix =="
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name 'liborvane.so*' -print -quit)")
export PKG_CONFIG_PATH=$libdir/pkgconfig
export LD_LIBRARY_PATH=$libdir

echo "== C++ consumer, CMake package =="
cmake -S examples/embed -B "$work/build-embed" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/build-embed" >/dev/null
"$work/build-embed/embed" "$work/cmake.db"

echo "== C++ consumer, pkg-config =="
g++ examples/embed/embed.cpp $(pkg-config --cflags --libs orvane) -o "$work/embed"
"$work/embed" "$work/pkg-config.db"

echo "== Python example =="
# With the interpreter the module was built for, from where it was installed.
python=$(sed -n 's/^Python3_EXECUTABLE:[A-Z]*=//p' "$build/CMakeCache.txt")
pydir=$(sed -n 's/^ORVANE_PYTHON_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
PYTHONPATH=$prefix/$pydir "$python" examples/embed/embed.py "$work/python.db"

echo "== Installed programs =="
# quorvel starts the orvane-regedit beside it, with nothing of ours on PATH.
ORVANE_REGISTRY=$work/cmake.db PATH=/usr/bin:/bin "$prefix/bin/quorvel" \
  -e "GlobalKeyPath = \"HKEY_CURRENT_USER\\Software\\Embed\": Export \"$work/embed.reg\""
grep -q '"Answer"=dword:0000002a' "$work/embed.reg"
"$prefix/bin/orvane-reg" --version
ORVANE_REGISTRY=$work/cmake.db "$prefix/bin/orvane-reg" query 'HKCU\Software\Embed' /v Answer
