#include "tools/regedit/editor/screen/screen_text.h"

namespace orvane::regedit::editor::screen {
namespace {

bool IsControl(unsigned char byte) { return byte < 32 || byte == 127; }

// The caret letter of a control byte: the byte plus 64, DEL as "?".
chtype Caret(unsigned char byte) { return byte == 127 ? '?' : static_cast<chtype>(byte + 64); }

}  // namespace

void DrawText(WINDOW* window, int y, int x, std::string_view text, int width) {
  if (width <= 0) return;
  wmove(window, y, x);
  text = text.substr(0, static_cast<size_t>(width));
  size_t run = 0;  // start of the bytes not drawn yet
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (!IsControl(byte)) continue;
    waddnstr(window, text.data() + run, static_cast<int>(i - run));
    attr_t attributes = 0;
    short pair = 0;
    wattr_get(window, &attributes, &pair, nullptr);
    wattr_set(window, attributes ^ A_REVERSE, pair, nullptr);
    waddch(window, Caret(byte));
    wattr_set(window, attributes, pair, nullptr);
    run = i + 1;
  }
  waddnstr(window, text.data() + run, static_cast<int>(text.size() - run));
}

}  // namespace orvane::regedit::editor::screen
