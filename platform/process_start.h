// Starting a program, by its argument list (as the control starts the
// registry editor) or by a Windows-style command line (the help viewer).
// The program runs on its own; the caller never waits for it here.
// Process-wide; one thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

// Starts the program that the first word of `command_line` names, with the
// rest of the line split into arguments by Windows rules, and returns its
// process identifier; 0 when the program cannot be found or started.
// Registry writes made so far are committed first, so the program sees them.
// The program is a child of this process: a caller may wait for it with
// waitpid; one nobody waits for is reaped when this process ends.
// "REGEDIT.EXE" in any letter case, with or without ".exe" and with any
// folder in front, is this system's registry editor `orvane-regedit`,
// found beside the running program, then on PATH (a program named
// `regedit` there, such as Wine's, is never taken). Any other name is looked up as written, then
// without a trailing ".exe": a name with a "/" as a path, else on PATH.
uint32_t StartProgram(std::string_view command_line);

// The same with the program name in `argv[0]` and each later element
// handed to the program as exactly one argument, whatever characters it
// holds (on Windows each is quoted by the rules the command line is split
// by). 0 for an empty `argv`.
uint32_t StartProgram(const std::vector<std::string>& argv);

// Where StartProgram finds the program named `name`; empty when nowhere.
std::filesystem::path FindProgram(std::string_view name);

}  // namespace orvane::platform
