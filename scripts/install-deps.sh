#!/usr/bin/env bash
# Installs the Debian packages the build needs, and only those missing.
# Usage: scripts/install-deps.sh [--cross]   (--cross adds mingw-w64 with widl, Wine, Xvfb, clang and lintian for CI)
set -euo pipefail
packages=(cmake make g++ pkg-config libsqlite3-dev libhivex-dev libhivex-bin libcli11-dev libedit-dev
          libncurses-dev libgtest-dev libbenchmark-dev tmux
          python3-dev pybind11-dev python3-pytest zsh)
if [[ "${1:-}" == "--cross" ]]; then
  packages+=(mingw-w64 mingw-w64-tools wine wine64 xvfb clang-14 libclang-rt-14-dev lintian)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""; [[ $(id -u) -ne 0 ]] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
