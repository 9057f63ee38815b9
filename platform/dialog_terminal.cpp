// Curses dialogs: one screen for the outermost dialog, a window per dialog.
#include "platform/dialog_terminal.h"

#include <curses.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace orvane::platform {
namespace {

constexpr int kEscape = 27;

// The curses screen, opened by the outermost dialog and closed after it.
// When the host already shows a curses screen of its own (a full-screen
// program), the dialogs are drawn on that one, which stays the host's.
class CursesScreen {
 public:
  CursesScreen() {
    if (depth_++ > 0) return;
    if (stdscr != nullptr && !isendwin()) {
      borrowed_ = true;
      return;
    }
    screen_ = newterm(nullptr, stderr, stdin);
    if (!screen_) return;
    set_term(screen_);
    cbreak();
    noecho();
    curs_set(0);
    set_escdelay(25);  // Escape alone answers at once
  }
  ~CursesScreen() {
    if (--depth_ > 0) return;
    if (borrowed_) {
      borrowed_ = false;
      return;
    }
    if (!screen_) return;
    endwin();
    delscreen(screen_);
    screen_ = nullptr;
  }
  bool ok() const { return screen_ != nullptr || borrowed_; }
  static bool showing() { return depth_ > 0; }
  CursesScreen(const CursesScreen&) = delete;
  CursesScreen& operator=(const CursesScreen&) = delete;

 private:
  static inline int depth_ = 0;
  static inline SCREEN* screen_ = nullptr;
  static inline bool borrowed_ = false;
};

// One dialog window, centred on the screen, removed on destruction.
class DialogWindow {
 public:
  explicit DialogWindow(const DialogContent& content) : content_(content) {
    int width = static_cast<int>(ButtonRowWidth()) + 4;
    width = std::max(width, static_cast<int>(content.title.size()) + 6);
    for (const auto& line : content.lines) width = std::max(width, static_cast<int>(line.size()) + 4);
    int height = static_cast<int>(content.lines.size()) + 4;  // borders, a gap, the buttons
    width = std::min(width, COLS);
    window_ = newwin(std::min(height, LINES), width, std::max(0, (LINES - height) / 2),
                     std::max(0, (COLS - width) / 2));
    keypad(window_, TRUE);
  }
  ~DialogWindow() {
    delwin(window_);
    touchwin(stdscr);
    refresh();
  }
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  void Draw(size_t focus) {
    werase(window_);
    box(window_, 0, 0);
    mvwprintw(window_, 0, 2, " %s ", content_.title.c_str());
    for (size_t i = 0; i < content_.lines.size(); ++i) {
      mvwaddstr(window_, static_cast<int>(i) + 1, 2, content_.lines[i].c_str());
    }
    int x = 2;
    int y = static_cast<int>(content_.lines.size()) + 2;
    for (size_t i = 0; i < content_.buttons.size(); ++i) {
      std::string label = "< " + PlainCaption(content_.buttons[i]) + " >";
      if (i == focus) wattron(window_, A_REVERSE);
      mvwaddstr(window_, y, x, label.c_str());
      if (i == focus) wattroff(window_, A_REVERSE);
      x += static_cast<int>(label.size()) + 2;
    }
    wrefresh(window_);
  }

  int ReadKey() { return wgetch(window_); }

 private:
  size_t ButtonRowWidth() const {
    size_t width = 0;
    for (const auto& button : content_.buttons) width += PlainCaption(button).size() + 6;
    return width;
  }

  const DialogContent& content_;
  WINDOW* window_ = nullptr;
};

// The button a key chooses, or -1; moves `focus` for the movement keys.
int ButtonForKey(int key, const DialogContent& content, size_t& focus) {
  size_t count = content.buttons.size();
  if (key == KEY_RIGHT || key == '\t') focus = (focus + 1) % count;
  if (key == KEY_LEFT || key == KEY_BTAB) focus = (focus + count - 1) % count;
  if (key == '\n' || key == '\r' || key == ' ' || key == KEY_ENTER) return static_cast<int>(focus);
  if (key == kEscape) return static_cast<int>(content.default_button);
  for (size_t i = 0; i < count; ++i) {
    char access = AccessKey(content.buttons[i]);
    if (access != 0 && key < 256 && std::tolower(key) == access) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

uint32_t StartOnDialogTerminal(const std::function<uint32_t()>& start) {
  if (!CursesScreen::showing()) return start();
  def_prog_mode();
  endwin();
  const uint32_t pid = start();
  int status = 0;
  if (pid != 0) waitpid(static_cast<pid_t>(pid), &status, 0);
  reset_prog_mode();
  clearok(curscr, TRUE);
  refresh();
  return pid;
}

bool RunTerminalDialog(const DialogContent& content, const ButtonHandler& on_button) {
  if (content.buttons.empty()) return true;
  CursesScreen screen;
  if (!screen.ok()) return false;
  DialogWindow window(content);
  size_t focus = content.default_button;
  for (;;) {
    window.Draw(focus);
    int key = window.ReadKey();
    if (key == ERR) return true;  // input closed: nothing more can be chosen
    int chosen = ButtonForKey(key, content, focus);
    if (chosen >= 0 && on_button(static_cast<size_t>(chosen))) return true;
  }
}

}  // namespace orvane::platform
