// Running other programs (Wine, regedit) from tests and benchmarks: whether
// a program is on the PATH, a run with its output discarded giving its exit
// code, a private Wine prefix, and a path as Wine sees it on its drive Z:.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace orvane::testing {

// Whether an executable named `program` is in one of the PATH folders.
inline bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  const std::string dirs = path != nullptr ? path : "";
  for (size_t start = 0; start <= dirs.size();) {
    const size_t end = std::min(dirs.find(':', start), dirs.size());
    if (access((dirs.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

// Runs `args` (found on the path) with its output discarded; the exit code,
// -1 when it could not start or did not exit normally.
inline int RunQuietly(const std::vector<std::string>& args) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int status = -1;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Points this process's Wine runs at a new private prefix, the folder
// `prefix` (created), with Wine's debug output off. False, changing
// nothing, when wine or wineserver is not installed. End it with
// EndWinePrefix.
inline bool UsePrivateWinePrefix(const std::filesystem::path& prefix) {
  if (!OnPath("wine") || !OnPath("wineserver")) return false;
  std::filesystem::create_directory(prefix);
  setenv("WINEPREFIX", prefix.c_str(), 1);
  setenv("WINEDEBUG", "-all", 1);
  return true;
}

// Stops the wineserver of the prefix in use.
inline void EndWinePrefix() { RunQuietly({"wineserver", "-k"}); }

// The same path as Wine sees it, on its drive Z: (the Unix root).
inline std::string WinePath(const std::filesystem::path& path) {
  std::string text = "Z:" + path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

}  // namespace orvane::testing
