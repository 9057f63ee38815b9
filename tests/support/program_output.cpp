#include "support/program_output.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace orvane::testing {
namespace {

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// A temporary folder for the child's three streams, removed at the end.
class StreamFolder {
 public:
  StreamFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
  }
  ~StreamFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  StreamFolder(const StreamFolder&) = delete;
  StreamFolder& operator=(const StreamFolder&) = delete;
  std::string operator/(const char* name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace

ProgramOutput RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input) {
  StreamFolder io;
  std::ofstream(io / "in", std::ios::binary) << input;
  std::vector<std::string> words = {program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, (io / "in").c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, (io / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, (io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) throw std::runtime_error("cannot start " + program);
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  ProgramOutput run;
  run.out = ReadWhole(io / "out");
  run.err = ReadWhole(io / "err");
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  return run;
}

std::string RunOnTerminal(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  termios raw{};
  cfmakeraw(&raw);
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, &raw, nullptr);
  if (child < 0) throw std::runtime_error("cannot open a terminal for " + program);
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  std::string screen;
  char buffer[4096];
  for (ssize_t got; (got = read(terminal, buffer, sizeof(buffer))) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;  // EIO: the program has closed the terminal
    screen.append(buffer, static_cast<size_t>(got));
  }
  close(terminal);
  waitpid(child, nullptr, 0);
  return screen;
}

int RunQuietly(const std::vector<std::string>& args) {
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

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  const std::string dirs = path != nullptr ? path : "";
  for (size_t start = 0; start <= dirs.size();) {
    const size_t end = std::min(dirs.find(':', start), dirs.size());
    if (access((dirs.substr(start, end - start) + "/" + program).c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

bool UsePrivateWinePrefix(const std::filesystem::path& prefix) {
  if (!OnPath("wine") || !OnPath("wineserver")) return false;
  std::filesystem::create_directory(prefix);
  setenv("WINEPREFIX", prefix.c_str(), 1);
  setenv("WINEDEBUG", "-all", 1);
  return true;
}

void EndWinePrefix() { RunQuietly({"wineserver", "-k"}); }

std::string WinePath(const std::filesystem::path& path) {
  std::string text = "Z:" + path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

}  // namespace orvane::testing
