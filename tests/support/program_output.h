// Running other programs from tests and benchmarks, in this process's
// environment (so on the store the test selected): a built program with
// `input` on standard input (a file, never a terminal) and its standard
// output, standard error and exit status captured whole; a program on a
// terminal and what it wrote there; a program with its output discarded;
// whether a program is on the PATH; and Wine in a private prefix, with
// paths as Wine sees them. Linux only.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvane::testing {

struct ProgramOutput {
  std::string out;
  std::string err;
  int status = -1;  // the exit status; -1 when the program did not exit normally
};

// Runs `program` (a path, or a name found on PATH) with `args` and waits
// for it; throws when it cannot start.
ProgramOutput RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "");

// Runs `program` with `args`, its standard streams on a terminal (a
// pseudo-terminal that passes bytes as they are), and returns what reached
// the terminal, output and errors as they came.
std::string RunOnTerminal(const std::string& program, const std::vector<std::string>& args);

// Runs `args` (args[0] found on the PATH) with its output discarded; the
// exit code, -1 when it could not start or did not exit normally.
int RunQuietly(const std::vector<std::string>& args);

// Whether an executable named `program` is in one of the PATH folders.
bool OnPath(const std::string& program);

// Points this process's Wine runs at a new private prefix, the folder
// `prefix` (created), with Wine's debug output off. False, changing
// nothing, when wine or wineserver is not installed. End it with
// EndWinePrefix.
bool UsePrivateWinePrefix(const std::filesystem::path& prefix);

// Stops the wineserver of the prefix in use.
void EndWinePrefix();

// The same path as Wine sees it, on its drive Z: (the Unix root).
std::string WinePath(const std::filesystem::path& path);

}  // namespace orvane::testing
