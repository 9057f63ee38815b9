// The program's help: its options and the keys of the full-screen editor,
// as entries (tools/common/help_entry.h) that make --help, the editor's
// help page and the manual page's generated sections. Stateless.
#pragma once

#include <string>
#include <vector>

#include "tools/common/help_entry.h"

namespace orvane::regedit {

// The command lines and options, each with what it does.
std::vector<tools::HelpEntry> OptionEntries();

// The keys of the full-screen editor, each with what it does.
std::vector<tools::HelpEntry> EditorKeyEntries();

// What --help, -h and /? print: the usage, the options and, where the
// program has the full-screen editor, its keys.
std::string UsageText();

}  // namespace orvane::regedit
