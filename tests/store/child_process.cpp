#include "child_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char** environ;

namespace orvane::testing {
namespace {

std::vector<std::string> Environment(const std::map<std::string, std::string>& extra) {
  std::vector<std::string> entries;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text(*entry);
    if (extra.count(text.substr(0, text.find('='))) == 0) entries.push_back(text);
  }
  for (const auto& [name, value] : extra) entries.push_back(name + "=" + value);
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& text : strings) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts store_child with its standard output on a pipe; returns the pid.
pid_t Spawn(const std::vector<std::string>& args, const std::map<std::string, std::string>& env, int* output) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  std::vector<std::string> argv_strings{ORVANE_STORE_CHILD};
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  std::vector<std::string> env_strings = Environment(env);
  std::vector<char*> argv = Pointers(argv_strings);
  std::vector<char*> envp = Pointers(env_strings);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, ORVANE_STORE_CHILD, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  if (rc != 0) {
    close(pipe_ends[0]);
    throw std::runtime_error(std::string("cannot start store_child: ") + std::strerror(rc));
  }
  *output = pipe_ends[0];
  return pid;
}

int ExitCode(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

}  // namespace

ChildResult RunChild(const std::vector<std::string>& args, const std::map<std::string, std::string>& env) {
  int output = -1;
  const pid_t pid = Spawn(args, env, &output);
  ChildResult result;
  char buffer[4096];
  for (ssize_t n; (n = read(output, buffer, sizeof(buffer))) > 0;) result.output.append(buffer, n);
  close(output);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exit_code = ExitCode(status);
  return result;
}

RunningChild::RunningChild(const std::vector<std::string>& args) { pid_ = Spawn(args, {}, &output_); }

RunningChild::~RunningChild() {
  Kill();
  close(output_);
}

std::string RunningChild::ReadLine() {
  std::string line;
  char c;
  while (read(output_, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

bool RunningChild::Running() {
  if (reaped_) return false;
  if (waitpid(pid_, &status_, WNOHANG) == 0) return true;
  reaped_ = true;
  return false;
}

int RunningChild::Wait() {
  if (!reaped_) {
    waitpid(pid_, &status_, 0);
    reaped_ = true;
  }
  return ExitCode(status_);
}

void RunningChild::Kill() {
  if (reaped_) return;
  kill(pid_, SIGKILL);
  Wait();
}

}  // namespace orvane::testing
