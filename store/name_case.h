// Letter case and length of registry names and texts. Text is UTF-8;
// names compare ignoring case by upper-casing every code point of the Basic
// Multilingual Plane with its simple one-to-one uppercase (as Windows
// upper-cases each UTF-16 unit). Bytes that are not UTF-8 are kept as they
// are, each one a unit of its own. ASCII text is upper-cased a byte at a
// time; a letter outside ASCII never folds into ASCII, so ASCII text equals
// only ASCII text. Stateless and portable (a built-in table, no locale).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::platform {

// The simple uppercase of a code point (itself when it has none).
uint32_t UpperCodePoint(uint32_t code_point);

// One unit of text: a code point decoded from UTF-8, or a byte that does
// not start a well-formed sequence (as kRawByte + the byte's value).
struct TextUnit {
  uint32_t folded;  // the code point's uppercase, or the raw byte's tag
  size_t length;    // bytes of text it took (at least 1)
};
constexpr uint32_t kRawByte = 0x110000;

// The unit of `text` starting at `at` (at < text.size()), folded.
TextUnit FoldedUnitAt(std::string_view text, size_t at);

// Appends the key `text` compares and sorts by: every unit upper-cased and
// encoded as UTF-8 is, except that lead bytes are chosen so that the bytes
// sort in the order of UTF-16 code units (as Windows sorts sub-keys), and a
// byte that is not UTF-8 is kept behind a marker byte. ASCII text is its own
// upper case. Two texts have the same key exactly when their folded units
// are equal.
void AppendFolded(std::string& out, std::string_view text);
std::string FoldCase(std::string_view text);

// The length of `text` in UTF-16 code units, as Windows measures a name
// against its limits: one unit for each character of the Basic
// Multilingual Plane, two for each character beyond it, and one for each
// byte that is not UTF-8 (as a code page conversion makes each such byte
// one character).
size_t Utf16Length(std::string_view text);

// True when the texts are equal ignoring letter case.
bool SameIgnoringCase(std::string_view a, std::string_view b);

// How many bytes at the start of `text` equal `prefix` ignoring letter case
// (whole units only; an upper and a lower case letter may differ in
// length), or npos when `text` does not start with it.
size_t FoldedPrefixLength(std::string_view text, std::string_view prefix);

}  // namespace orvane::platform
