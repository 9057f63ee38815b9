#include "tools/reg/reg_console.h"

#include "tools/regedit/key_progress.h"
#include "tools/regedit/root_keys.h"
#include "tools/regedit/terminal_text.h"

namespace orvane::reg {

std::string Shown(const Console& console, std::string_view text) {
  return console.terminal ? regedit::TerminalText(text) : std::string(text);
}

bool Confirm(Console& console, const std::string& question) {
  regedit::KeyProgress::Erase();
  std::string line;
  while (true) {
    console.out << question << ' ' << std::flush;
    if (!std::getline(console.in, line)) {
      console.out << '\n';
      return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (regedit::EqualsIgnoringCase(line, "y") || regedit::EqualsIgnoringCase(line, "yes")) return true;
    if (regedit::EqualsIgnoringCase(line, "n") || regedit::EqualsIgnoringCase(line, "no")) return false;
  }
}

}  // namespace orvane::reg
