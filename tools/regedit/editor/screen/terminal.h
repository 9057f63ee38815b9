// The editor's curses screen on standard output and input: raw keys, the
// keypad, mouse reports where the terminal offers them. Open while the
// object lives; Suspend gives the terminal back for a while (for a dialog
// or program of its own) and Resume takes it again. One per process.
#pragma once

struct screen;

namespace orvane::regedit::editor::screen {

class Terminal {
 public:
  Terminal();
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool ok() const { return screen_ != nullptr; }
  void Suspend();
  void Resume();

 private:
  ::screen* screen_ = nullptr;
};

}  // namespace orvane::regedit::editor::screen
