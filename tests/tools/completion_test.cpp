// The bash and zsh completions of the programs, run in each shell on a
// private store: the words typed, and what completing the last one offers
// (as the shell would insert it, unquoted).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

// Sources the bash completion, completes "$@" and prints each reply
// unquoted in brackets.
constexpr char kBashDriver[] = R"(source "$COMPLETION_DIR/orvane.bash"
COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
$(complete -p "${1##*/}" | awk '{print $3}')
for reply in "${COMPREPLY[@]}"; do eval "printf '[%s]' $reply"; done)";

// Runs the zsh completion with compadd and _files standing in for the
// completion system's: prints each offered word that the typed word starts.
constexpr char kZshDriver[] = R"(setopt extendedglob
compadd() {
  local -a w; w=("$@")
  while [[ $w[1] == -* && $w[1] != -- ]]; do [[ $w[1] == -S ]] && shift w; shift w; done
  [[ $w[1] == -- ]] && shift w
  local x; for x in $w; do [[ $x == ${(Q)PREFIX}* ]] && printf '[%s]' $x; done
}
_files() { printf '<files>' }
words=("$@"); CURRENT=$#; PREFIX=$words[CURRENT]; service=${words[1]:t}
source $COMPLETION_DIR/_orvane)";

struct Case {
  std::string program;
  std::vector<std::string> words;  // after the program; the last is completed
  std::string offered;
};

TEST(Completion, OffersOptionsVerbsSwitchesAndKeysInBashAndZsh) {
  TempRegistry registry;
  ASSERT_EQ(RunProgram(REG_PROGRAM, {"add", "HKCU\\Software\\Alpha Beta", "/f"}).status, 0);
  ASSERT_EQ(RunProgram(REG_PROGRAM, {"add", "HKCU\\Software\\Also", "/f"}).status, 0);
  const std::vector<Case> cases = {
      {QUORVEL_PROGRAM, {"--p"}, "[--platform]"},
      {QUORVEL_PROGRAM, {"--platform", ""}, "[nt][9x]"},
      {REG_PROGRAM, {"co"}, "[copy][compare]"},
      {REG_PROGRAM, {"query", "HKC"}, "[HKCU\\][HKCR\\][HKCC\\]"},
      {REG_PROGRAM, {"query", "HKCU\\\\Software\\\\Al"}, "[HKCU\\Software\\Alpha Beta\\][HKCU\\Software\\Also\\]"},
      {REG_PROGRAM, {"query", "HKCU", "/s"}, "[/s][/se]"},
      {REG_PROGRAM, {"add", "HKCU\\\\X", "/t", "REG_D"}, "[REG_DWORD]"},
      {REGEDIT_PROGRAM, {"--rep"}, "[--replace-all]"},
      {REGEDIT_PROGRAM, {"/E", "x.reg", "HKCU\\\\Software\\\\Als"}, "[HKCU\\Software\\Also\\]"},
      {ADMIN_PROGRAM, {"re"}, "[recover][read-only]"},
      {ADMIN_PROGRAM, {"read-only", "o"}, "[on][off]"},
  };
  const std::string path = "PATH=" + std::string(REG_DIRECTORY) + ":$PATH; COMPLETION_DIR=" + COMPLETION_DIR + "\n";
  for (const auto& [shell, driver] : {std::pair{"bash", kBashDriver}, std::pair{"zsh", kZshDriver}}) {
    if (!OnPath(shell)) {
      ADD_FAILURE() << shell << " is not installed (scripts/install-deps.sh installs it)";
      continue;
    }
    for (const Case& c : cases) {
      std::vector<std::string> args = {shell == std::string("zsh") ? "-fc" : "-c", path + driver, shell, c.program};
      args.insert(args.end(), c.words.begin(), c.words.end());
      const ProgramOutput run = RunProgram(shell, args);
      EXPECT_EQ(run.out, c.offered) << shell << " " << c.program << " " << ::testing::PrintToString(c.words) << run.err;
    }
  }
}

}  // namespace
}  // namespace orvane::testing
