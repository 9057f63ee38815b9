// Bytes written as a script expression, the one form in which quorvel's
// Print, the property bag file and the programs' terminal output show text
// that may hold any byte:
//   quoted = '""' | piece { " & " piece }
//   piece  = '"' { printable | '""' } '"' | "Chr(" 0..255 ")"
// where printable is a byte from 32 to 126 or a whole UTF-8 sequence of a
// character that is not a control character (U+0080 to U+009F). Stateless.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Printable runs in double quotes (a quote doubled), every other byte (a
// control character, a byte that is not part of valid UTF-8) as Chr(n),
// joined by " & "; "" when empty.
std::string QuoteBytes(std::string_view bytes);

}  // namespace orvane
