// Starting a program by a Windows-style command line, as the control starts
// the registry editor and the help viewer. The program runs on its own; the
// caller never waits for it here. Process-wide; one thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace orvane::platform {

// Starts the program that the first word of `command_line` names, with the
// rest of the line split into arguments by Windows rules, and returns its
// process identifier; 0 when the program cannot be found or started.
// Registry writes made so far are committed first, so the program sees them.
// The program is a child of this process: a caller may wait for it with
// waitpid; one nobody waits for is reaped when this process ends.
// "REGEDIT.EXE" in any letter case, with or without ".exe" and with any
// folder in front, is this system's `regedit` program, found on PATH or
// beside the running program. Any other name is looked up as written, then
// without a trailing ".exe": a name with a "/" as a path, else on PATH.
uint32_t StartProgram(std::string_view command_line);

// Where StartProgram finds the program named `name`; empty when nowhere.
std::filesystem::path FindProgram(std::string_view name);

}  // namespace orvane::platform
