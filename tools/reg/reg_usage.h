// The usage texts of orvane-reg: the whole program and each verb.
#pragma once

#include <string>
#include <string_view>

namespace orvane::reg {

// The program's usage (what --help and /? print).
std::string ProgramUsage();

// The usage of `verb` (lower case) with how keys are named, or the
// program's usage for an unknown verb.
std::string VerbUsage(std::string_view verb);

}  // namespace orvane::reg
