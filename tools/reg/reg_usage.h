// The usage texts of orvane-reg: the whole program and each verb.
#pragma once

#include <string_view>

namespace orvane::reg {

// The program's usage (what --help and /? print).
std::string_view ProgramUsage();

// The usage of `verb` (lower case), or the program's for an unknown verb.
std::string_view VerbUsage(std::string_view verb);

}  // namespace orvane::reg
