// Text on the curses screen with no control character reaching the
// terminal: the drawing every pane, question and frame of the editor goes
// through. Names and data arrive already in their shown form
// (value_display.h); what is drawn here as it is typed or kept (a line
// being edited, a message) still never moves the cursor or starts an
// escape sequence. One thread.
#pragma once

#include <curses.h>

#include <string_view>

namespace orvane::regedit::editor::screen {

// Draws at most `width` bytes of `text` at (y, x) of `window`. A byte
// below 32 or 127 takes one cell, as every other byte: its caret letter
// (LF as J, ESC as [, DEL as ?) with the reverse of the attributes around.
void DrawText(WINDOW* window, int y, int x, std::string_view text, int width);

}  // namespace orvane::regedit::editor::screen
