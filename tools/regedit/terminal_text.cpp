#include "tools/regedit/terminal_text.h"

#include "runtime/quoted_bytes.h"
#include "tools/regedit/code_page.h"

namespace orvane::regedit {

bool HasTerminalControls(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 32 || byte == 127) return true;
    // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F in UTF-8.
    if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return true;
  }
  return !IsUtf8(text);
}

std::string TerminalText(std::string_view text) {
  return HasTerminalControls(text) ? QuoteBytes(text) : std::string(text);
}

}  // namespace orvane::regedit
