# Bash completion for quorvel, orvane-reg, orvane-regedit and
# orvane-registry-admin. Options, verbs and switches are read from the
# program's own help (--help, and `orvane-reg VERB /?`) when completing, so
# they follow the program; key names below a typed key come from
# `orvane-reg query KEY /k` on the store the command line names (at most one
# second). zsh uses this file through bashcompinit (see _orvane).

# The program being completed, as typed, with a leading "~/" expanded.
_orvane_program() {
  local program=${COMP_WORDS[0]}
  # shellcheck disable=SC2088  # the word as typed holds a literal "~/"
  [[ $program == "~/"* ]] && program=$HOME/${program#"~/"}
  printf '%s\n' "$program"
}

# The orvane-reg that reads key names: the one beside the program being
# completed when that was typed with its folder, else the one on the PATH.
_orvane_reg_program() {
  local program
  program=$(_orvane_program)
  if [[ $program == */* && -x ${program%/*}/orvane-reg ]]; then
    printf '%s\n' "${program%/*}/orvane-reg"
  else
    printf '%s\n' orvane-reg
  fi
}

# Runs the program with its arguments, for at most a second.
_orvane_run() {
  if command -v timeout >/dev/null 2>&1; then
    timeout 1 "$@" 2>/dev/null
  else
    "$@" 2>/dev/null
  fi
}

# The store option typed on the command line ("--registry FILE"), one word
# a line, so that keys are read from the same store.
_orvane_registry_words() {
  local i
  for ((i = 1; i < COMP_CWORD; i++)); do
    if [[ ${COMP_WORDS[i]} == --registry ]]; then
      printf '%s\n' --registry "${COMP_WORDS[i + 1]}"
      return
    fi
  done
}

# Adds the words of "$2..." that start with the word being completed $1.
_orvane_add_matching() {
  local current=$1 word
  shift
  for word in "$@"; do
    [[ $word == "$current"* ]] && COMPREPLY+=("$word")
  done
}

# Adds the files (and folders) that start with $1.
_orvane_add_files() {
  local file
  while IFS= read -r file; do COMPREPLY+=("$file"); done < <(compgen -f -- "$1")
}

# The options a program's --help names ("--name" and "-x" words).
_orvane_help_options() {
  _orvane_run "$@" --help | grep -oE -- '(^|[ ,|])--?[A-Za-z][A-Za-z-]*' | sed 's/^[ ,|]//' | sort -u
}

# Adds key names for the word $1: the root names, or the sub-keys of the key
# before its last backslash. A word that starts with a quote is completed
# inside the quote; otherwise backslashes and blanks are escaped.
_orvane_add_keys() {
  local word=$1 quote="" key
  shift
  if [[ $word == [\"\']* ]]; then
    quote=${word:0:1}
    key=${word:1}
  else
    key=${word//\\\\/\\}
    key=${key//\\ / }
  fi
  local -a names=()
  if [[ $key != *\\* ]]; then
    local root
    for root in HKLM HKCU HKCR HKU HKCC HKEY_LOCAL_MACHINE HKEY_CURRENT_USER HKEY_CLASSES_ROOT HKEY_USERS \
      HKEY_CURRENT_CONFIG; do
      names+=("$root\\")
    done
  else
    local parent=${key%\\*} line
    while IFS= read -r line; do
      [[ $line == HKEY_*\\* ]] && names+=("$parent\\${line##*\\}\\")
    done < <(_orvane_run "$@" query "$parent" /k)
  fi
  local name
  for name in "${names[@]}"; do
    [[ $name == "$key"* ]] || continue
    if [[ -n $quote ]]; then
      COMPREPLY+=("$quote$name")
    else
      COMPREPLY+=("$(printf '%q' "$name")")
    fi
  done
  # A key name goes on with a backslash: no blank after it.
  if ((${#COMPREPLY[@]})) && type compopt >/dev/null 2>&1; then compopt -o nospace 2>/dev/null; fi
}

_orvane_quorvel() {
  local current=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD - 1]}
  COMPREPLY=()
  case $previous in
    --platform) _orvane_add_matching "$current" nt 9x; return ;;
    --registry | --form) _orvane_add_files "$current"; return ;;
    -e) return ;;
  esac
  if [[ $current == -* ]]; then
    local -a options
    mapfile -t options < <(_orvane_help_options "$(_orvane_program)")
    _orvane_add_matching "$current" "${options[@]}"
  else
    _orvane_add_files "$current"
  fi
}

# orvane-reg: the verb, then its keys and files by position, then the
# switches of its usage line.
_orvane_reg() {
  local current=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD - 1]}
  local program
  program=$(_orvane_program)
  local -a registry
  mapfile -t registry < <(_orvane_registry_words)
  COMPREPLY=()
  if [[ $previous == --registry ]]; then
    _orvane_add_files "$current"
    return
  fi
  local first=$((1 + ${#registry[@]}))
  if ((COMP_CWORD == first)); then
    if [[ $current == -* ]]; then
      _orvane_add_matching "$current" --help --version --registry
    else
      local verbs
      verbs=$(_orvane_run "$program" --help | sed -n 's/^Verbs: //p' | tr -d ',.')
      # shellcheck disable=SC2086  # the verbs are one word each
      _orvane_add_matching "$current" $verbs
    fi
    return
  fi
  local verb=${COMP_WORDS[first],,} position=$((COMP_CWORD - first))
  case ${previous,,} in
    /t | -t)
      _orvane_add_matching "$current" REG_SZ REG_EXPAND_SZ REG_MULTI_SZ REG_DWORD REG_QWORD REG_BINARY REG_NONE
      return ;;
    /v | /d | /f | /s | /se | -v | -d | -f | -s | -se) return ;;
  esac
  local positional
  positional=$(_orvane_run "$program" "$verb" '/?' | head -n 1 | sed 's/ \[.*//' | wc -w)
  positional=$((positional - 2))
  if ((position <= positional)) && [[ $current != [/-]?* || $verb == import || $verb == export ]]; then
    if [[ $verb == import || ($verb == export && $position == 2) ]]; then
      _orvane_add_files "$current"
    else
      _orvane_add_keys "$current" "$program" "${registry[@]}"
    fi
    return
  fi
  local switches
  switches=$(_orvane_run "$program" "$verb" '/?' | head -n 1 | grep -oE '/[a-z:0-9]+' | sort -u)
  # shellcheck disable=SC2086  # the switches are one word each
  _orvane_add_matching "$current" $switches
}

# orvane-regedit: its switches and long options, files, and the key after
# an export's file or after /D.
_orvane_regedit() {
  local current=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD - 1]}
  local program before=""
  program=$(_orvane_program)
  ((COMP_CWORD >= 2)) && before=${COMP_WORDS[COMP_CWORD - 2]}
  local -a registry
  mapfile -t registry < <(_orvane_registry_words)
  COMPREPLY=()
  case ${previous,,} in
    /d | -d | --delete) _orvane_add_keys "$current" "$(_orvane_reg_program)" "${registry[@]}"; return ;;
    --registry) _orvane_add_files "$current"; return ;;
  esac
  case ${before,,} in
    /e | -e | --export) _orvane_add_keys "$current" "$(_orvane_reg_program)" "${registry[@]}"; return ;;
  esac
  if [[ $current == -* || $current == / || $current == /? ]]; then
    local help
    help=$(_orvane_run "$program" --help)
    local -a options
    mapfile -t options < <(grep -oE -- '(^|[ ,|\[])(--?[A-Za-z][A-Za-z-]*|/[A-Z?])\b' <<<"$help" | sed 's/^[ ,|[]//' | sort -u)
    _orvane_add_matching "$current" "${options[@]}"
  fi
  [[ $current == /? || $current == --* ]] && return
  _orvane_add_files "$current"
}

# orvane-registry-admin: options, the subcommand, then its arguments.
_orvane_registry_admin() {
  local current=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD - 1]}
  local program
  program=$(_orvane_program)
  COMPREPLY=()
  if [[ $previous == --registry ]]; then
    _orvane_add_files "$current"
    return
  fi
  local i subcommand=""
  for ((i = 1; i < COMP_CWORD; i++)); do
    [[ ${COMP_WORDS[i]} == --registry ]] && ((i++)) && continue
    [[ ${COMP_WORDS[i]} != -* ]] && subcommand=${COMP_WORDS[i]} && break
  done
  if [[ -z $subcommand ]]; then
    local help
    help=$(_orvane_run "$program" --help)
    if [[ $current == -* ]]; then
      local -a options
      mapfile -t options < <(_orvane_help_options "$program")
      _orvane_add_matching "$current" "${options[@]}"
    else
      # shellcheck disable=SC2046  # one subcommand a word
      _orvane_add_matching "$current" $(sed -n '/^Subcommands:/,$p' <<<"$help" | awk 'NR > 1 && NF {print $1}')
    fi
    return
  fi
  case $subcommand in
    read-only)
      if [[ $previous == read-only ]]; then
        _orvane_add_matching "$current" on off
      else
        local -a registry
        mapfile -t registry < <(_orvane_registry_words)
        _orvane_add_keys "$current" "$(_orvane_reg_program)" "${registry[@]}"
      fi ;;
    recover) _orvane_add_files "$current" ;;
  esac
}

complete -F _orvane_quorvel quorvel
complete -F _orvane_reg orvane-reg
complete -F _orvane_regedit orvane-regedit
complete -F _orvane_registry_admin orvane-registry-admin
