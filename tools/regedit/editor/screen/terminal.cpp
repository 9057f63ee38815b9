// The curses screen of the editor.
#include "tools/regedit/editor/screen/terminal.h"

#include <curses.h>

#include <unistd.h>

#include <cstdio>

namespace orvane::regedit::editor::screen {

Terminal::Terminal() {
  errors_ = std::tmpfile();
  saved_stderr_ = dup(STDERR_FILENO);
  screen_ = newterm(nullptr, stdout, stdin);
  if (screen_ == nullptr) return;
  set_term(screen_);
  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  curs_set(0);
  set_escdelay(25);  // Escape alone answers at once
  mousemask(BUTTON1_CLICKED | BUTTON1_DOUBLE_CLICKED | BUTTON1_PRESSED, nullptr);
  CaptureErrors();
}

Terminal::~Terminal() {
  RestoreErrors();
  if (saved_stderr_ >= 0) close(saved_stderr_);
  if (errors_ != nullptr) std::fclose(errors_);
  if (screen_ == nullptr) return;
  endwin();
  delscreen(screen_);
}

void Terminal::CaptureErrors() {
  if (errors_ == nullptr || saved_stderr_ < 0) return;
  std::fflush(stderr);
  dup2(fileno(errors_), STDERR_FILENO);
}

void Terminal::RestoreErrors() {
  if (saved_stderr_ < 0) return;
  std::fflush(stderr);
  dup2(saved_stderr_, STDERR_FILENO);
}

std::string Terminal::TakeErrors() {
  if (errors_ == nullptr) return {};
  std::fflush(stderr);
  std::string text;
  char buffer[512];
  ssize_t got = 0;
  while ((got = pread(fileno(errors_), buffer, sizeof buffer, errors_read_)) > 0) {
    text.append(buffer, static_cast<size_t>(got));
    errors_read_ += got;
  }
  return text;
}


}  // namespace orvane::regedit::editor::screen
