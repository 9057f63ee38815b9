// The usage texts of orvane-reg: the whole program and each verb, and the
// entries (tools/common/help_entry.h) the manual page is generated from.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/common/help_entry.h"

namespace orvane::reg {

// The program's usage (what --help and /? print).
std::string ProgramUsage();

// The program's options, as --help lists them.
std::vector<tools::HelpEntry> OptionEntries();

// Each verb's command line (the first line of its usage) and what it does
// (the rest, as one line).
std::vector<tools::HelpEntry> VerbEntries();

// The usage of `verb` (lower case) with how keys are named, or the
// program's usage for an unknown verb.
std::string VerbUsage(std::string_view verb);

}  // namespace orvane::reg
