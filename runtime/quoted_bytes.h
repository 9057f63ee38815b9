// Bytes written as a script expression, the one form in which quorvel's
// Print, the property bag file and the programs' terminal output show text
// that may hold any byte:
//   quoted = '""' | piece { " & " piece }
//   piece  = '"' { printable | '""' } '"' | "Chr(" 0..255 ")"
// where printable is a byte from 32 to 126. Stateless.
#pragma once

#include <string>
#include <string_view>

namespace orvane {

// Printable runs in double quotes (a quote doubled), every byte below 32 or
// above 126 as Chr(n), joined by " & "; "" when empty.
std::string QuoteBytes(std::string_view bytes);

}  // namespace orvane
