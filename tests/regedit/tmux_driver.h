// A program driven in a real terminal: a private tmux server (its socket in
// a temporary folder) with one session running the program, keys sent to
// it and the screen read back as text. Waits are event-driven: the screen
// is polled until the text expected appears, up to a generous cap.
// One per test; the server is ended on destruction.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/program_output.h"

extern char** environ;

namespace orvane::testing {

class TmuxDriver {
 public:
  // The socket lives in `folder`; the session is `width` by `height`.
  TmuxDriver(const std::filesystem::path& folder, int width, int height)
      : socket_((folder / "tmux.sock").string()), width_(width), height_(height) {}
  ~TmuxDriver() { Tmux({"kill-server"}); }
  TmuxDriver(const TmuxDriver&) = delete;
  TmuxDriver& operator=(const TmuxDriver&) = delete;

  static bool Available() { return OnPath("tmux"); }

  // Starts `argv` in a new session with the environment entries `env`
  // ("NAME=value"); each argument reaches the program as it is.
  bool Start(const std::vector<std::string>& env, const std::vector<std::string>& argv) {
    std::vector<std::string> args = {"new-session", "-d", "-x", std::to_string(width_), "-y",
                                     std::to_string(height_)};
    for (const std::string& entry : env) args.insert(args.end(), {"-e", entry});
    args.insert(args.end(), argv.begin(), argv.end());
    // The pane stays, showing the program's last screen, after it ends.
    args.insert(args.end(), {";", "set-option", "-g", "remain-on-exit", "on"});
    return Tmux(args).status == 0;
  }

  // Sends tmux key names ("Down", "Enter", "C-d") or literal text (with `literal`).
  void Keys(const std::vector<std::string>& keys) {
    std::vector<std::string> args = {"send-keys"};
    args.insert(args.end(), keys.begin(), keys.end());
    Tmux(args);
  }
  void Type(const std::string& text) { Tmux({"send-keys", "-l", text}); }

  // Changes the terminal's size, as a user resizing the window does.
  void Resize(int width, int height) {
    Tmux({"resize-window", "-x", std::to_string(width), "-y", std::to_string(height)});
  }

  std::string Screen() { return Tmux({"capture-pane", "-p", "-N"}, true).output; }

  // Polls the screen until it holds `text`; false after the cap.
  bool WaitFor(const std::string& text, std::chrono::seconds cap = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + cap;
    while (std::chrono::steady_clock::now() < end) {
      if (Screen().find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  // The pane's title, as the program may set it (an OSC sequence).
  std::string PaneTitle() { return Tmux({"display-message", "-p", "#{pane_title}"}, true).output; }

  // Whether the program still runs.
  bool Running() { return Tmux({"display-message", "-p", "#{pane_dead}"}, true).output == "0\n"; }

 private:
  struct Result {
    int status = -1;
    std::string output;
  };

  // Runs tmux on the private socket with `args`; with `capture` its
  // standard output is read back (only for commands that never start the
  // server, which would keep the pipe open), else discarded.
  Result Tmux(const std::vector<std::string>& args, bool capture = false) {
    std::vector<std::string> words = {"tmux", "-S", socket_, "-f", "/dev/null"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int pipe_ends[2];
    Result result;
    if (pipe(pipe_ends) != 0) return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (capture) posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
    else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
    pid_t pid = 0;
    const bool started = posix_spawnp(&pid, "tmux", &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipe_ends[0], buffer, sizeof buffer)) > 0) result.output.append(buffer, static_cast<size_t>(got));
    close(pipe_ends[0]);
    int status = 0;
    if (started && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
  }

  std::string socket_;
  int width_;
  int height_;
};

}  // namespace orvane::testing
