// A program driven in a real terminal: a private tmux server (its own
// socket in the test's folder) with one 100 by 30 pane running a shell
// with the environment the test gives. Keys are sent as tmux key names or
// literal text; the screen is read back as text. The server is ended at
// destruction. Linux only; needs tmux on the PATH (TmuxAvailable).
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quorvel::testing {

// Whether tmux is on the PATH.
bool TmuxAvailable();

class TmuxPane {
 public:
  // Starts the server and its pane: `sh` with exactly `environment` (and
  // TERM=screen), in `folder`.
  TmuxPane(const std::filesystem::path& folder, const std::map<std::string, std::string>& environment);
  ~TmuxPane();
  TmuxPane(const TmuxPane&) = delete;
  TmuxPane& operator=(const TmuxPane&) = delete;

  // Types `text` as it is.
  void Type(const std::string& text);
  // Presses keys by tmux's names: "Enter", "Tab", "C-c", "C-d", "Up".
  void Press(const std::vector<std::string>& keys);
  // The screen as text, one line per row, trailing blanks removed.
  std::string Screen();
  // Waits until the screen holds `text`; false when it does not within a
  // generous bound (a hang, which fails the test instead of blocking it).
  bool WaitFor(const std::string& text);
  // Waits until the last line of the screen that is not empty is `line`.
  bool WaitForLastLine(const std::string& line);

 private:
  std::string Tmux(std::vector<std::string> args, bool output = false);
  bool WaitUntil(const std::function<bool(const std::string&)>& holds);

  std::string socket_;
};

}  // namespace quorvel::testing
