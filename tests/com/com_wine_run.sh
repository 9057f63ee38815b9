#!/usr/bin/env bash
# Runs one test of the COM server under Wine in a fresh private prefix that
# regsvr32, the scripts and the test programs of this run all share; the
# prefix and its wineserver are removed afterwards, also on interruption.
# Usage:
#   com_wine_run.sh SERVER scripts EXPECTED_DIR SCRIPT...
#       registers SERVER, runs each script with cscript and compares its
#       output (CR removed) with EXPECTED_DIR/<script name>.out
#   com_wine_run.sh SERVER program EXE [ARGUMENTS...]
#       registers SERVER, then runs EXE; all on a virtual display (xvfb-run)
#   com_wine_run.sh SERVER readme README.md NAME
#       registers SERVER and runs the indented block after the README's
#       "<!-- example: NAME -->" line as a VBScript file; its output must be
#       the indented block after "<!-- output: NAME -->"
#   com_wine_run.sh SERVER registration
#       registers for every user and for the current user; unregistering
#       must leave the whole registry as it was before
set -uo pipefail
server=$1 mode=$2
# Programs that make windows: the whole run, from the prefix's first Wine
# process on, on one virtual display (Wine picks its display when it starts).
if [[ $mode == program && -z ${ORVANE_COM_DISPLAY:-} ]]; then
  ORVANE_COM_DISPLAY=1 exec xvfb-run -a "$0" "$@"
fi
[[ $mode == program ]] || export DISPLAY=
shift 2
prefix=$(mktemp -d "${TMPDIR:-/tmp}/orvane-com.XXXXXX")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null
  wineserver -w 2>/dev/null
  rm -rf "$prefix"
}
trap cleanup EXIT
trap 'exit 143' TERM INT

winpath() { echo "Z:${1//\//\\}"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

# In the background, so that a signal interrupts the wait and the clean-up runs.
run_wine() { wine "$@" & wait $!; }

register() { run_wine regsvr32 /s "$@" "$(winpath "$server")" || fail "regsvr32 $* exited with $?"; }

# Every key below a Software\Classes (machine and users) with its values,
# as text: Wine's editor exports the whole registry in UTF-16. The rest of
# the registry is left out, as Wine's services change it while we run.
dump_registry() {
  local file=$prefix/dump.reg
  run_wine regedit /E "$(winpath "$file")" || fail "regedit /E exited with $?"
  iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' |
    awk '/^\[/ { keep = tolower($0) ~ /\\software\\classes(\\|\])/ } keep'
}

run_scripts() {
  local expected_dir=$1 status=0
  shift
  register
  # A new prefix is still being set up in the background after the first
  # Wine program; a script started meanwhile may print nothing. Wait for it.
  wineserver -w 2>/dev/null
  for script in "$@"; do
    local name output
    name=$(basename "$script")
    output=$(run_wine cscript //nologo "$(winpath "$script")" 2>&1 | tr -d '\r')
    if ! diff -u "$expected_dir/${name%.*}.out" <(printf '%s\n' "$output"); then
      echo "FAIL: $name differs from its expected output" >&2
      status=1
    fi
  done
  return $status
}

# The indented block (leading four blanks removed) after the line `marker`.
readme_block() {
  awk -v marker="$2" '$0 == marker { on = 1; next } on && /^    / { print substr($0, 5); seen = 1; next }
    on && seen && !/^$/ { exit }' "$1"
}

run_readme() {
  local readme=$1 name=$2 script=$prefix/example.vbs expected
  register
  readme_block "$readme" "<!-- example: $name -->" >"$script"
  [[ -s $script ]] || fail "no example $name in $readme"
  expected=$(readme_block "$readme" "<!-- output: $name -->")
  diff -u <(printf '%s\n' "$expected") \
    <(run_wine cscript //nologo "$(winpath "$script")" 2>&1 | tr -d '\r') || fail "the $name example's output differs"
}

check_registration() {
  local before after registered ours
  ours='D6DA5906-8F9F-40F5-8D2C-9C638E5A23C1|AB3BAD6D-3C1B-401D-A649-DAFE9D9988A3|RegistryEditor\.Quorvel'
  run_wine wineboot -i >/dev/null 2>&1
  before=$(dump_registry)
  register
  register /n /i:user
  registered=$(dump_registry)
  grep -Eq "^\[HKEY_LOCAL_MACHINE\\\\Software\\\\Classes\\\\CLSID\\\\\{($ours)" <<<"$registered" ||
    fail "no class key under HKEY_LOCAL_MACHINE after regsvr32"
  grep -Eq "^\[HKEY_(CURRENT_USER|USERS\\\\[^\\]+)\\\\Software\\\\Classes\\\\CLSID\\\\\{($ours)" <<<"$registered" ||
    fail "no class key under HKEY_CURRENT_USER after regsvr32 /n /i:user"
  register /u
  register /u /n /i:user
  after=$(dump_registry)
  diff -u <(printf '%s\n' "$before") <(printf '%s\n' "$after") || fail "unregistration left the registry changed"
  ! grep -Eiq "$ours" <<<"$after" || fail "a key of ours is left after unregistration"
}

case $mode in
  scripts) run_scripts "$@" ;;
  readme) run_readme "$@" ;;
  program) register && run_wine "$@" ;;
  registration) check_registration ;;
  *) fail "unknown mode $mode" ;;
esac
