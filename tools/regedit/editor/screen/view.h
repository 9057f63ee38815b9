// Drawing the editor's model on the curses screen: the title row, the key
// tree on the left, the values on the right, the status line with the
// selected key's path, and the message line. Keeps the scroll positions
// of the two panes and tells which row a screen position shows. One thread.
#pragma once

#include <cstddef>
#include <optional>

#include "tools/regedit/editor/editor_model.h"

namespace orvane::regedit::editor::screen {

class View {
 public:
  // Draws everything for the present terminal size.
  void Draw(EditorModel& model);

  // The tree row or value row at screen cell (y, x), as last drawn.
  std::optional<size_t> TreeRowAt(int y, int x) const;
  std::optional<size_t> ValueRowAt(int y, int x) const;

  // A one-line progress bar on the message row.
  static void DrawProgress(long long position, long long minimum, long long maximum);

 private:
  void DrawTree(EditorModel& model);
  void DrawValues(EditorModel& model);
  int TreeWidth() const;

  size_t tree_top_ = 0;
  size_t value_top_ = 0;
};

}  // namespace orvane::regedit::editor::screen
