// Runs the built quorvel program as a child process for transcript tests:
// arguments, working directory and standard input chosen by the test;
// standard output, standard error and exit status captured whole.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quorvel::testing {

// A fresh temporary directory, removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

struct ProgramRun {
  std::string out;
  std::string err;
  int status = -1;  // exit status; -1 when the program did not exit normally
};

// Runs quorvel with `args` in `directory`, feeding it `input` on standard
// input (a file, so never a terminal).
ProgramRun RunQuorvel(const std::vector<std::string>& args, const std::filesystem::path& directory,
                      const std::string& input = "");

// The run as one text: standard output, then "--- stderr" and standard
// error when there is any, then "--- exit N".
std::string Transcript(const ProgramRun& run);

// The whole content of a file; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

}  // namespace quorvel::testing
