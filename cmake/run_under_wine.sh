#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh private prefix, so that no
# test sees another's registry or the user's own Wine setup; the prefix and
# its wineserver are removed afterwards, also when the run is interrupted
# (e.g. by a CTest timeout). Exit status is the program's.
# Usage: run_under_wine.sh program.exe [arguments...]
set -uo pipefail
prefix=$(mktemp -d "${TMPDIR:-/tmp}/orvane-wine.XXXXXX")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
cleanup() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$prefix"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
# In the background, so that a signal interrupts the wait and the clean-up runs.
wine "$@" &
wait $!
