#include "tmux_pane.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace quorvel::testing {
namespace {

// Runs `args` (the program found on the PATH) and returns its standard
// output, or nothing when `output` is false (a tmux server started by the
// command must not hold the pipe open); throws when it cannot start or
// fails.
std::string Capture(const std::vector<std::string>& args, bool output) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output) {
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[1]);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_fds[1]);
  std::string out;
  char buffer[4096];
  for (ssize_t got; started == 0 && (got = read(pipe_fds[0], buffer, sizeof(buffer))) > 0;) {
    out.append(buffer, static_cast<size_t>(got));
  }
  close(pipe_fds[0]);
  int status = 0;
  if (started != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("tmux failed: " + args[5]);
  }
  return out;
}

}  // namespace

bool TmuxAvailable() {
  const char* path = std::getenv("PATH");
  const std::string dirs = path ? path : "";
  for (size_t start = 0; start <= dirs.size();) {
    const size_t end = std::min(dirs.find(':', start), dirs.size());
    if (access((dirs.substr(start, end - start) + "/tmux").c_str(), X_OK) == 0) return true;
    start = end + 1;
  }
  return false;
}

TmuxPane::TmuxPane(const std::filesystem::path& folder, const std::map<std::string, std::string>& environment)
    : socket_((folder / "tmux.sock").string()) {
  std::vector<std::string> args = {"new-session", "-d", "-x", "100", "-y", "30", "-c", folder.string(),
                                   "env", "-i", "TERM=screen"};
  for (const auto& [name, value] : environment) args.push_back(name + "=" + value);
  args.insert(args.end(), {"sh"});
  Tmux(args);
}

TmuxPane::~TmuxPane() {
  try {
    Tmux({"kill-server"});
  } catch (const std::exception&) {
  }
}

std::string TmuxPane::Tmux(std::vector<std::string> args, bool output) {
  args.insert(args.begin(), {"tmux", "-S", socket_, "-f", "/dev/null"});
  return Capture(args, output);
}

void TmuxPane::Type(const std::string& text) { Tmux({"send-keys", "-l", text}); }

void TmuxPane::Press(const std::vector<std::string>& keys) {
  std::vector<std::string> args = {"send-keys"};
  args.insert(args.end(), keys.begin(), keys.end());
  Tmux(args);
}

std::string TmuxPane::Screen() { return Tmux({"capture-pane", "-p"}, true); }

bool TmuxPane::WaitUntil(const std::function<bool(const std::string&)>& holds) {
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!holds(Screen())) {
    if (std::chrono::steady_clock::now() > give_up) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

bool TmuxPane::WaitFor(const std::string& text) {
  return WaitUntil([&](const std::string& screen) { return screen.find(text) != std::string::npos; });
}

bool TmuxPane::WaitForLastLine(const std::string& line) {
  return WaitUntil([&](const std::string& screen) {
    const size_t end = screen.find_last_not_of('\n');
    if (end == std::string::npos) return false;
    const size_t newline = screen.rfind('\n', end);
    const size_t start = newline == std::string::npos ? 0 : newline + 1;
    return screen.compare(start, end + 1 - start, line) == 0;
  });
}

}  // namespace quorvel::testing
