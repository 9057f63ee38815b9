// Where the reg verbs talk to the user: results on `out`, errors on `err`,
// answers to Yes/No questions read from `in` a line at a time. The program
// binds it to the standard streams; tests bind string streams. Not shared
// between threads.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace orvane::reg {

struct Console {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  // Whether `out` is a terminal: registry names and data written there
  // show their control characters escaped (Shown).
  bool terminal = false;
};

// `text` (a key path, a value's name or its data) as it is written to
// `out`: on a terminal, with its control characters escaped as
// tools/regedit/terminal_text.h shows them; otherwise byte for byte.
std::string Shown(const Console& console, std::string_view text);

// Asks `question` (written to `out` followed by a blank) until a line
// answers it: "y"/"yes" is true, "n"/"no" false, any letter case. The end
// of the input answers No.
bool Confirm(Console& console, const std::string& question);

}  // namespace orvane::reg
