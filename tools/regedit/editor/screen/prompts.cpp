// Modal questions drawn with curses.
#include "tools/regedit/editor/screen/prompts.h"

#include <curses.h>

#include <algorithm>

#include "tools/regedit/editor/screen/screen_text.h"

namespace orvane::regedit::editor::screen {
namespace {

constexpr int kEscape = 27;
constexpr int kCtrlD = 4;
constexpr int kCtrlU = 21;
constexpr int kCtrlV = 22;

bool IsEnter(int key) { return key == '\n' || key == '\r' || key == KEY_ENTER; }
bool IsBackspace(int key) { return key == KEY_BACKSPACE || key == 127 || key == 8; }
bool IsText(int key) { return key >= 32 && key < 256 && key != 127; }

// A window centred on the screen, framed and titled; removed with the object.
class Frame {
 public:
  Frame(const std::string& title, int height, int width) {
    height_ = std::min(height, LINES);
    width_ = std::min(width, COLS);
    window_ = newwin(height_, width_, (LINES - height_) / 2, (COLS - width_) / 2);
    keypad(window_, TRUE);
    title_ = title;
  }
  ~Frame() {
    delwin(window_);
    touchwin(stdscr);
  }
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  WINDOW* get() const { return window_; }
  int rows() const { return height_ - 2; }
  int columns() const { return width_ - 2; }
  void Clear() {
    werase(window_);
    box(window_, 0, 0);
    DrawText(window_, 0, 2, " " + title_ + " ", width_ - 4);
  }
  void Line(int row, const std::string& text, bool highlight = false) {
    if (highlight) wattron(window_, A_REVERSE);
    std::string shown = text.substr(0, static_cast<size_t>(std::max(0, columns())));
    shown.resize(static_cast<size_t>(std::max(0, columns())), ' ');
    DrawText(window_, row + 1, 1, shown, columns());
    if (highlight) wattroff(window_, A_REVERSE);
  }

 private:
  WINDOW* window_ = nullptr;
  int height_ = 0;
  int width_ = 0;
  std::string title_;
};

// Moves `top` so that `row` is inside a view of `rows` lines.
int Scrolled(int top, int row, int rows) {
  if (row < top) return row;
  if (row >= top + rows) return row - rows + 1;
  return top;
}

// The frame width that holds the title and every line drawn as a blank,
// the line and a blank between the two borders.
int WidestOf(const std::vector<std::string>& lines, const std::string& title) {
  int widest = static_cast<int>(title.size()) + 6;
  for (const auto& line : lines) widest = std::max(widest, static_cast<int>(line.size()) + 4);
  return widest;
}

// A line being typed that starts as an old text, selected: the first key
// that types or deletes replaces the whole of it, a cursor key keeps it to
// edit, and Up brings it back, selected again.
struct TypedLine {
  std::string text;
  size_t cursor = 0;
  bool selected = false;

  void Select(const std::string& old) { text = old, cursor = old.size(), selected = !old.empty(); }
  void Replace(const std::string& with) { text = with, cursor = with.size(), selected = false; }
  void Key(int key, const std::string& old, const std::string& paste);
};

void TypedLine::Key(int key, const std::string& old, const std::string& paste) {
  const bool deletes = IsBackspace(key) || key == KEY_DC || key == kCtrlU;
  if (selected && (deletes || IsText(key) || key == kCtrlV)) Replace("");
  selected = false;
  if (key == KEY_UP)
    Select(old);
  else if (IsBackspace(key) && cursor > 0)
    text.erase(--cursor, 1);
  else if (key == KEY_DC && cursor < text.size())
    text.erase(cursor, 1);
  else if (key == KEY_LEFT && cursor > 0)
    --cursor;
  else if (key == KEY_RIGHT && cursor < text.size())
    ++cursor;
  else if (key == KEY_HOME)
    cursor = 0;
  else if (key == KEY_END)
    cursor = text.size();
  else if (key == kCtrlU)
    Replace("");
  else if (key == kCtrlV)
    text.insert(cursor, paste), cursor += paste.size();
  else if (IsText(key))
    text.insert(cursor++, 1, static_cast<char>(key));
}

}  // namespace

std::optional<std::string> PromptLine(const std::string& label, const std::string& initial,
                                      const std::string& paste) {
  TypedLine line;
  line.Select(initial);
  curs_set(1);
  for (;;) {
    const int row = LINES - 1;
    const int room = std::max(1, COLS - static_cast<int>(label.size()) - 1);
    const size_t first = line.cursor >= static_cast<size_t>(room) ? line.cursor - static_cast<size_t>(room) + 1 : 0;
    move(row, 0);
    clrtoeol();
    DrawText(stdscr, row, 0, label, COLS - 1);
    if (line.selected) attron(A_REVERSE);
    DrawText(stdscr, row, std::min(COLS - 1, static_cast<int>(label.size())), std::string_view(line.text).substr(first),
             room);
    attroff(A_REVERSE);
    move(row, std::min(COLS - 1, static_cast<int>(label.size() + line.cursor - first)));
    refresh();
    int key = getch();
    if (key == kEscape || key == ERR) {
      curs_set(0);
      return std::nullopt;
    }
    if (IsEnter(key)) break;
    line.Key(key, initial, paste);
  }
  curs_set(0);
  return line.text;
}

bool Confirm(const std::string& question) {
  move(LINES - 1, 0);
  clrtoeol();
  attron(A_BOLD);
  DrawText(stdscr, LINES - 1, 0, question + " (y/n)", COLS - 1);
  attroff(A_BOLD);
  refresh();
  int key = getch();
  return key == 'y' || key == 'Y';
}

std::optional<size_t> ChooseFromList(const std::string& title, const std::vector<std::string>& items,
                                     size_t initial) {
  if (items.empty()) return std::nullopt;
  Frame frame(title, static_cast<int>(items.size()) + 2, WidestOf(items, title));
  int selected = static_cast<int>(std::min(initial, items.size() - 1));
  int top = 0;
  const int count = static_cast<int>(items.size());
  for (;;) {
    top = Scrolled(top, selected, frame.rows());
    frame.Clear();
    for (int row = 0; row < frame.rows() && top + row < count; ++row) {
      frame.Line(row, " " + items[static_cast<size_t>(top + row)], top + row == selected);
    }
    wrefresh(frame.get());
    int key = wgetch(frame.get());
    if (key == kEscape || key == ERR) return std::nullopt;
    if (IsEnter(key)) return static_cast<size_t>(selected);
    if (key == KEY_UP) selected = std::max(0, selected - 1);
    if (key == KEY_DOWN) selected = std::min(count - 1, selected + 1);
    if (key == KEY_PPAGE) selected = std::max(0, selected - frame.rows());
    if (key == KEY_NPAGE) selected = std::min(count - 1, selected + frame.rows());
    if (key == KEY_HOME) selected = 0;
    if (key == KEY_END) selected = count - 1;
  }
}

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (char c : text) {
    if (c == '\n') lines.emplace_back();
    else lines.back() += c;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + lines[i];
  return text;
}

// One key of the line box applied to its lines and cursor.
void EditKey(int key, std::vector<std::string>& lines, size_t& row, size_t& column) {
  std::string& line = lines[row];
  if (IsEnter(key)) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(row) + 1, line.substr(column));
    lines[row].resize(column);
    ++row, column = 0;
  } else if (IsBackspace(key) && column > 0) {
    line.erase(--column, 1);
  } else if (IsBackspace(key) && row > 0) {
    column = lines[row - 1].size();
    lines[row - 1] += line;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(row--));
  } else if (key == KEY_UP && row > 0) {
    column = std::min(column, lines[--row].size());
  } else if (key == KEY_DOWN && row + 1 < lines.size()) {
    column = std::min(column, lines[++row].size());
  } else if (key == KEY_LEFT && column > 0) {
    --column;
  } else if (key == KEY_RIGHT && column < line.size()) {
    ++column;
  } else if (IsText(key)) {
    line.insert(column++, 1, static_cast<char>(key));
  }
}

}  // namespace

std::optional<std::string> EditLines(const std::string& title, const std::string& initial) {
  std::vector<std::string> lines = SplitLines(initial);
  size_t row = lines.size() - 1;
  size_t column = lines[row].size();
  Frame frame(title + " - Ctrl-D ends, Esc cancels", LINES - 4, std::max(40, COLS - 8));
  bool selected = !initial.empty();  // the old text, until a key types, deletes or moves
  int top = 0;
  curs_set(1);
  for (;;) {
    top = Scrolled(top, static_cast<int>(row), frame.rows());
    frame.Clear();
    for (int i = 0; i < frame.rows() && top + i < static_cast<int>(lines.size()); ++i) {
      frame.Line(i, lines[static_cast<size_t>(top + i)], selected);
    }
    wmove(frame.get(), static_cast<int>(row) - top + 1,
          1 + std::min(frame.columns() - 1, static_cast<int>(column)));
    wrefresh(frame.get());
    int key = wgetch(frame.get());
    if (key == kEscape || key == ERR) {
      curs_set(0);
      return std::nullopt;
    }
    if (key == kCtrlD || key == KEY_F(2)) break;
    if (selected && (IsText(key) || IsBackspace(key) || key == KEY_DC)) lines.assign(1, ""), row = column = 0;
    selected = false;
    EditKey(key, lines, row, column);
  }
  curs_set(0);
  return JoinLines(lines);
}

int ShowPage(const std::string& title, const std::vector<std::string>& lines, const std::string& footer) {
  Frame frame(title, LINES - 2, COLS - 2);
  int top = 0;
  const int count = static_cast<int>(lines.size());
  for (;;) {
    frame.Clear();
    for (int row = 0; row < frame.rows() - 1 && top + row < count; ++row) {
      frame.Line(row, lines[static_cast<size_t>(top + row)]);
    }
    frame.Line(frame.rows() - 1, footer, true);
    wrefresh(frame.get());
    int key = wgetch(frame.get());
    const int page = std::max(1, frame.rows() - 1);
    if (key == KEY_DOWN) top = std::min(std::max(0, count - page), top + 1);
    else if (key == KEY_UP) top = std::max(0, top - 1);
    else if (key == KEY_NPAGE || key == ' ') top = std::min(std::max(0, count - page), top + page);
    else if (key == KEY_PPAGE) top = std::max(0, top - page);
    else
      return key;
  }
}

}  // namespace orvane::regedit::editor::screen
