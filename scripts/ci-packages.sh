#!/usr/bin/env bash
# CI: builds the Debian packages (cpack -G DEB) from a Release build for
# /usr, checks that each holds the files it must, and runs lintian, which
# must report no error.
# Usage: scripts/ci-packages.sh [BUILD_DIR]   (default build-deb)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-deb}

echo "== Debian packages =="
# python3-orvane is for Debian's python3, whatever python3 comes first on PATH.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DPython3_EXECUTABLE=/usr/bin/python3 -DORVANE_BUILD_TESTS=OFF -DORVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)

# expect PACKAGE PATTERN...: each pattern (an extended regular expression)
# matches a line of the package's file list.
expect() {
  local package=$1; shift
  local deb
  deb=$(ls "$build/${package}_"*.deb)
  local list
  list=$(dpkg-deb -c "$deb")
  for pattern in "$@"; do
    if ! grep -Eq "$pattern" <<<"$list"; then
      echo "$package: no file matches $pattern" >&2
      echo "$list" >&2
      exit 1
    fi
  done
  echo "$package: $(wc -l <<<"$list") entries, as expected"
}
lib='\./usr/lib/([a-z0-9_]+-linux-gnu[a-z0-9_]*/)?'
expect liborvane1 "${lib}liborvane\.so\.1 -> " "${lib}liborvane\.so\.1\.6\.1$" \
  '\./usr/share/doc/liborvane1/copyright$' '\./usr/share/doc/liborvane1/changelog\.gz$'
expect liborvane-dev '\./usr/include/orvane/quorvel\.h$' '\./usr/include/orvane/version\.h$' \
  '\./usr/include/orvane/store\.h$' '\./usr/include/orvane/constants\.h$' "${lib}liborvane\.so -> " \
  "${lib}cmake/Orvane/OrvaneConfig\.cmake$" "${lib}cmake/Orvane/OrvaneConfigVersion\.cmake$" \
  "${lib}cmake/Orvane/OrvaneTargets\.cmake$" "${lib}pkgconfig/orvane\.pc$"
expect orvane-tools '\./usr/bin/quorvel$' '\./usr/bin/orvane-regedit$' '\./usr/bin/orvane-reg$' \
  '\./usr/bin/orvane-registry-admin$' '\./usr/share/man/man1/orvane-regedit\.1\.gz$' \
  '\./usr/share/man/man1/quorvel\.1\.gz$' '\./usr/share/doc/orvane-tools/copyright$' \
  '\./usr/share/bash-completion/completions/orvane-reg$' '\./usr/share/bash-completion/completions/quorvel$' \
  '\./usr/share/bash-completion/completions/orvane-regedit$' \
  '\./usr/share/bash-completion/completions/orvane-registry-admin$' '\./usr/share/zsh/vendor-completions/_orvane$'
expect python3-orvane '\./usr/lib/python3/dist-packages/orvane[.a-z0-9_-]*\.so$' \
  '\./usr/lib/python3/dist-packages/orvane-stubs/winreg\.pyi$' '\./usr/share/doc/python3-orvane/copyright$'
if ! dpkg-deb -f "$build"/python3-orvane_*.deb Depends | grep -Eq 'python3 \(>= 3\.[0-9]+\), python3 \(<< 3\.[0-9]+\)'; then
  echo "python3-orvane must declare the Python versions its module is for" >&2
  exit 1
fi
if dpkg-deb -c "$build"/orvane-tools_*.deb | grep -q '/regedit$'; then
  echo "orvane-tools must not install a program named regedit" >&2
  exit 1
fi

echo "== lintian =="
lintian --fail-on error "$build"/*.deb
