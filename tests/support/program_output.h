// Runs a built program as a child process in this process's environment
// (so on the store the test selected), with `input` on standard input (a
// file, never a terminal), and captures standard output, standard error
// and the exit status whole. Linux only.
#pragma once

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

}  // namespace orvane::testing
