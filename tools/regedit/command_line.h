// The regedit command line: splitting a Windows-style command line into
// arguments (double quotes group words, backslashes escape only quotes) and
// reading the options and arguments of the editor's actions.
// Stateless; every function is safe to call from any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::regedit {

// Splits the arguments part of a command line (after the program name) as
// Windows does: blanks separate words outside quotes; 2n backslashes before
// a quote give n backslashes and the quote opens or closes a group; 2n+1
// give n backslashes and a literal quote; a third quote in a row inside a
// group gives a literal quote; other backslashes are literal.
std::vector<std::string> SplitWindowsCommandLine(std::string_view line);

// The command line that SplitWindowsCommandLine splits back into `words`:
// the words joined by one blank, each one that is empty or holds a blank,
// tab, line break or double quote put in double quotes, with the
// backslashes before a quote and before the closing quote doubled.
std::string JoinWindowsCommandLine(const std::vector<std::string>& words);

enum class Action { kImport, kReplace, kExport, kDelete, kUsage, kVersion };

struct Command {
  Action action = Action::kImport;
  // Import: the files in order. Replace: the one file. Export: the file and
  // the key (empty for the whole registry). Delete: the key.
  std::vector<std::string> args;
};

// Reads options from the left while an argument is one. A Windows switch
// is "/" or "-" and a letter alone or followed by ":" and more, in any
// case: E exports, C replaces the registry, D deletes a key, ? and H ask
// for usage; S, V, L, M and R change nothing. A long option is "--" and a
// name: --export, --import, --replace-all, --delete, --help, --version.
// "-" alone or a longer word ("/tmp/x.reg") is a file name and ends the
// options; "--" alone ends them and is dropped, so every argument after it
// is a file name or key whatever it looks like. The words after /C are one
// path; --replace-all takes exactly one. Returns false with a one-line
// message in *error for an unknown option, two actions, or missing or
// extra arguments.
bool ParseCommand(const std::vector<std::string>& args, Command* command, std::string* error);

// The usage text that --help, -h and /? print.
extern const char kUsageText[];

}  // namespace orvane::regedit
