// The regedit command line: reading the options and arguments of the
// editor's actions from the arguments of a Windows-style command line.
// Stateless; every function is safe to call from any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/windows_command_line.h"

namespace orvane::regedit {

// The splitter and joiner are the platform's (platform/windows_command_line.h).
using platform::JoinWindowsCommandLine;
using platform::SplitWindowsCommandLine;

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

}  // namespace orvane::regedit
