// Starting the store tests' second process (store_child) and talking to it:
// run it to completion and collect its output, or start it, wait for its
// first line and kill it. The child inherits this process's environment,
// so it uses the store that the test selected.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace orvane::testing {

struct ChildResult {
  int exit_code = -1;  // -1 when it did not exit normally
  std::string output;
};

// Runs store_child with `args` (and `env` added to the environment) and
// waits for it.
ChildResult RunChild(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {});

// A running store_child, killed (SIGKILL) and reaped at destruction.
class RunningChild {
 public:
  explicit RunningChild(const std::vector<std::string>& args);
  ~RunningChild();
  RunningChild(const RunningChild&) = delete;
  RunningChild& operator=(const RunningChild&) = delete;

  // Reads the child's output up to the end of its first line.
  std::string ReadLine();
  // True while the child has not exited.
  bool Running();
  // Waits for the child to exit; returns its exit code (-1 if killed).
  int Wait();
  void Kill();
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  int status_ = 0;
  bool reaped_ = false;
};

}  // namespace orvane::testing
