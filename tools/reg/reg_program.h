// The orvane-reg command line: `--help`/`/?`, `--version`, or a verb
// (query, add, delete, copy, compare, export, import; any letter case)
// followed by its words. Output and errors go to `console`.
#pragma once

#include <string>
#include <vector>

#include "tools/reg/reg_console.h"

namespace orvane::reg {

// Runs the words after the program name; returns the exit status (0 done,
// 1 failed or a usage error; compare 2 when the keys differ).
int RunReg(Console& console, const std::vector<std::string>& args);

}  // namespace orvane::reg
