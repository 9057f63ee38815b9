// The editor's curses screen on standard output and input: raw keys, the
// keypad, mouse reports where the terminal offers them. Open while the
// object lives. While the screen is
// open, standard error (also the one of the programs the control starts)
// goes to a temporary file, read back with TakeErrors. One per process.
#pragma once

#include <cstdio>
#include <string>

struct screen;

namespace orvane::regedit::editor::screen {

class Terminal {
 public:
  Terminal();
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool ok() const { return screen_ != nullptr; }

  // What was written to standard error since the last call.
  std::string TakeErrors();

 private:
  void CaptureErrors();
  void RestoreErrors();

  ::screen* screen_ = nullptr;
  std::FILE* errors_ = nullptr;
  long errors_read_ = 0;
  int saved_stderr_ = -1;
};

}  // namespace orvane::regedit::editor::screen
