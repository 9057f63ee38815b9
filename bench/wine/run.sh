#!/usr/bin/env bash
# A Wine prefix as the store: orvane-reg and quorvel on the prefix that
# `wineboot -i` makes, beside the same work through Wine's own reg, each
# from a cold process (Wine's with its server started, as a user meets it:
# no server runs before a Wine command). Each figure is the best of three
# runs, in milliseconds, with the ratio (Wine's / ours).
# Usage: bench/wine/run.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
command -v wine >/dev/null && command -v wineserver >/dev/null || { echo "Wine is not installed"; exit 1; }
cmake --build "$build" --target orvane-reg quorvel -j2 >/dev/null
reg=$build/tools/reg/orvane-reg
quorvel=$build/tools/quorvel/quorvel

work=$(mktemp -d "${TMPDIR:-/tmp}/orvane-wine-bench.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; rm -rf "$work"' EXIT
wineboot -i >/dev/null 2>&1
wineserver -w
echo "prefix: system.reg $(stat -c %s "$WINEPREFIX/system.reg") bytes"

# The 1,000 changes: one quorvel script, and the same values in one .reg file.
{
  echo 'GlobalKeyPath = "HKEY_CURRENT_USER\Software\OrvaneBench"'
  echo 'ValueType = DWordType'
  for i in $(seq 1 1000); do echo "ValueName = \"v$i\" : Value = $i : SetValue"; done
} >"$work/thousand.qv"
{
  printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\OrvaneBench]\r\n'
  for i in $(seq 1 1000); do printf '"v%d"=dword:%08x\r\n' "$i" "$i"; done
} >"$work/thousand.reg"

# Milliseconds of the best of three runs of a command, each started with no
# Wine server running (ours refuses to write while one does).
best_ms() {
  local best= start elapsed
  for _ in 1 2 3; do
    wineserver -k 2>/dev/null || true
    wineserver -w
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    elapsed=$((($(date +%s%N) - start) / 1000000))
    if [[ -z $best || $elapsed -lt $best ]]; then best=$elapsed; fi
  done
  echo "$best"
}

row() {
  local name=$1 ours=$2 wines=$3
  awk -v n="$name" -v o="$ours" -v w="$wines" \
    'BEGIN { printf "%-40s ours %7d ms   wine reg %7d ms   %6.1fx\n", n, o, w, (o > 0 ? w / o : 0) }'
}

key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
row "open and one query" \
  "$(best_ms "$reg" --registry "$WINEPREFIX" query "$key" /v ProductName)" \
  "$(best_ms wine reg query "$key" /v ProductName)"
row "one add" \
  "$(best_ms "$reg" --registry "$WINEPREFIX" add 'HKCU\Software\OrvaneBench' /v one /d 1 /f)" \
  "$(best_ms wine reg add 'HKCU\Software\OrvaneBench' /v one /d 1 /f)"
row "1,000 SetValue in one script (reg import)" \
  "$(best_ms "$quorvel" --registry "$WINEPREFIX" --quiet "$work/thousand.qv")" \
  "$(best_ms wine reg import "Z:${work//\//\\}\\thousand.reg")"
row "whole-registry Find (reg query /s)" \
  "$(best_ms "$quorvel" --registry "$WINEPREFIX" --quiet -e \
    'bar = 0 : Print Find("OrvaneNeedle", PartialString, True, True, True, 0, True, bar)')" \
  "$(best_ms wine reg query HKLM /s)"
