// The curses screen of the editor.
#include "tools/regedit/editor/screen/terminal.h"

#include <curses.h>

#include <cstdio>

namespace orvane::regedit::editor::screen {

Terminal::Terminal() {
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
}

Terminal::~Terminal() {
  if (screen_ == nullptr) return;
  endwin();
  delscreen(screen_);
}

void Terminal::Suspend() {
  def_prog_mode();
  endwin();
  std::fflush(stdout);
}

void Terminal::Resume() {
  set_term(screen_);  // a dialog may have used a screen of its own meanwhile
  reset_prog_mode();
  clearok(stdscr, TRUE);
  refresh();
}

}  // namespace orvane::regedit::editor::screen
