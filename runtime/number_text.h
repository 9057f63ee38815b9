// Reading numbers from text and writing Doubles as text, the way the
// hosting runtime's conversions do. Internal to the runtime; the rules are
// stated on each function.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::internal {

// A number read from text. Decimal text gives its value; "&H"/"&O" text
// gives the bit pattern of its digits, which each conversion reads in the
// width of its own type.
struct NumberText {
  double value = 0;         // decimal text: the number; else the pattern, unsigned
  bool is_pattern = false;  // hexadecimal or octal text
  uint64_t pattern = 0;
};

// Reads `text` as a number. Grammar (blanks are spaces, tabs, CR, LF, VT, FF):
//   blanks* number blanks*
//   number  := sign? digits ('.' digits?)? exponent? | sign? '.' digits exponent?
//            | '&' ('H'|'h') hexdigits | '&' ('O'|'o') octaldigits
//   exponent := ('E'|'e') sign? digits
// Returns nullopt when the text is not a number; raises 6 "Overflow" when it
// is one that no Double holds, or hexadecimal/octal digits beyond 64 bits.
// A decimal number too small for a Double reads as 0.
std::optional<NumberText> ParseNumber(std::string_view text);

// Reads "True" or "False" in any letter case, with blanks around allowed.
std::optional<bool> ParseBooleanWord(std::string_view text);

// A Double as text: at most 15 significant digits, trailing zeros dropped,
// exponent form ("1E+15", "1E-05") when the decimal exponent is below -4
// or 15 and above; 0 and -0 are "0"; infinities "1.#INF" and "-1.#INF",
// NaN "-1.#IND".
std::string FormatDouble(double value);

}  // namespace orvane::internal
