// Registry names and data on a terminal. A terminal acts on control
// characters (ESC starts a sequence that may set the window's title or
// clear the screen; CR and LF move the cursor), so text from the registry
// that holds one is shown in the script form quorvel's Print uses
// (runtime/quoted_bytes.h: "a" & Chr(27) & "b"), which names every byte.
// Output that is not a terminal stays byte for byte as it was. Stateless.
#pragma once

#include <string>
#include <string_view>

namespace orvane::regedit {

// Whether `text` holds something a terminal could act on, or show as
// something else: a control character (below 32, 127, or U+0080 to U+009F
// in UTF-8), or bytes that are not UTF-8.
bool HasTerminalControls(std::string_view text);

// `text` as a terminal may show it: unchanged when HasTerminalControls is
// false, else its quoted form.
std::string TerminalText(std::string_view text);

}  // namespace orvane::regedit
