// The editor's screen: rows 0 (title), 1 to LINES-3 (panes), LINES-2
// (status), LINES-1 (message).
#include "tools/regedit/editor/screen/view.h"

#include <curses.h>

#include <algorithm>
#include <string>

#include "tools/regedit/editor/screen/screen_text.h"
#include "tools/regedit/editor/value_display.h"

namespace orvane::regedit::editor::screen {
namespace {

constexpr int kFirstPaneRow = 1;
constexpr const char* kTitle = " Registry Editor   F1 Help  F10 Menu  Tab Pane  q Quit";

int PaneRows() { return std::max(1, LINES - 3 - kFirstPaneRow); }

// Draws `text` at (y, x) cut or padded to `width` cells.
void Cell(int y, int x, std::string text, int width) {
  if (width <= 0) return;
  text.resize(static_cast<size_t>(width), ' ');
  DrawText(stdscr, y, x, text, width);
}

size_t Scrolled(size_t top, size_t row, size_t rows) {
  if (row < top) return row;
  if (row >= top + rows) return row - rows + 1;
  return top;
}

}  // namespace

int View::TreeWidth() const { return std::max(20, COLS * 2 / 5); }

void View::Draw(EditorModel& model) {
  erase();
  attron(A_REVERSE);
  Cell(0, 0, kTitle, COLS);
  attroff(A_REVERSE);
  DrawTree(model);
  DrawValues(model);
  mvvline(kFirstPaneRow, TreeWidth(), '|', PaneRows() + 1);
  attron(A_REVERSE);
  std::string status = model.StatusLine();
  status.insert(status.begin(), ' ');
  Cell(LINES - 2, 0, status, COLS);
  attroff(A_REVERSE);
  if (model.message_is_error()) attron(A_BOLD);
  Cell(LINES - 1, 0, model.message(), COLS - 1);
  if (model.message_is_error()) attroff(A_BOLD);
  refresh();
}

void View::DrawTree(EditorModel& model) {
  const KeyTree& tree = model.tree();
  const size_t rows = static_cast<size_t>(PaneRows()) + 1;
  tree_top_ = Scrolled(std::min(tree_top_, tree.rows().size()), tree.selected(), rows);
  const int width = TreeWidth();
  for (size_t i = 0; i < rows && tree_top_ + i < tree.rows().size(); ++i) {
    const TreeRow& row = tree.rows()[tree_top_ + i];
    const char* mark = row.expanded ? (row.childless ? "  " : "- ") : "+ ";
    std::string text = std::string(static_cast<size_t>(row.depth) * 2, ' ') + mark + DisplayKey(row.name);
    const bool selected = tree_top_ + i == tree.selected();
    if (selected) attron(model.focus() == Pane::kTree ? A_REVERSE : A_UNDERLINE);
    Cell(kFirstPaneRow + static_cast<int>(i), 0, text, width);
    if (selected) attroff(model.focus() == Pane::kTree ? A_REVERSE : A_UNDERLINE);
  }
}

void View::DrawValues(EditorModel& model) {
  const int x = TreeWidth() + 1;
  const int width = COLS - x;
  const int name_width = std::max(8, width * 3 / 10);
  const int type_width = 14;
  attron(A_BOLD);
  Cell(kFirstPaneRow, x, " Name", name_width);
  Cell(kFirstPaneRow, x + name_width, "Type", type_width);
  Cell(kFirstPaneRow, x + name_width + type_width, "Data", width - name_width - type_width);
  attroff(A_BOLD);
  const size_t rows = static_cast<size_t>(PaneRows());
  value_top_ = Scrolled(std::min(value_top_, model.values().size()), model.selected_value(), rows);
  for (size_t i = 0; i < rows && value_top_ + i < model.values().size(); ++i) {
    ValueColumns columns = ColumnsOf(model.values()[value_top_ + i]);
    const bool selected = value_top_ + i == model.selected_value();
    const int y = kFirstPaneRow + 1 + static_cast<int>(i);
    if (selected) attron(model.focus() == Pane::kValues ? A_REVERSE : A_UNDERLINE);
    Cell(y, x, " " + columns.name, name_width);
    Cell(y, x + name_width, columns.type, type_width);
    Cell(y, x + name_width + type_width, columns.data, width - name_width - type_width);
    if (selected) attroff(model.focus() == Pane::kValues ? A_REVERSE : A_UNDERLINE);
  }
}

std::optional<size_t> View::TreeRowAt(int y, int x) const {
  if (x >= TreeWidth() || y < kFirstPaneRow || y > kFirstPaneRow + PaneRows()) return std::nullopt;
  return tree_top_ + static_cast<size_t>(y - kFirstPaneRow);
}

std::optional<size_t> View::ValueRowAt(int y, int x) const {
  if (x <= TreeWidth() || y <= kFirstPaneRow || y > kFirstPaneRow + PaneRows()) return std::nullopt;
  return value_top_ + static_cast<size_t>(y - kFirstPaneRow - 1);
}

void View::DrawProgress(long long position, long long minimum, long long maximum) {
  const int width = std::max(10, COLS - 30);
  const long long span = std::max(1LL, maximum - minimum);
  const int filled = static_cast<int>((position - minimum) * width / span);
  std::string bar = "Searching [" + std::string(static_cast<size_t>(std::clamp(filled, 0, width)), '#');
  bar.resize(static_cast<size_t>(width) + 11, '.');
  bar += "] " + std::to_string(position) + "/" + std::to_string(maximum);
  Cell(LINES - 1, 0, bar, COLS - 1);
  refresh();
}

}  // namespace orvane::regedit::editor::screen
