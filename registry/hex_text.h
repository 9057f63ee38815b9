// Hexadecimal text, the form binary data takes in the control: two digits
// per byte, no separators, either letter case. Pure string routines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// True when the text has an even number of characters, each one of 0-9,
// A-F or a-f. The empty text passes.
bool IsHexString(std::string_view text);

// Turns one hexadecimal pair into a byte. Upper-cases `text` in place
// first (the caller sees the change). Two characters give the first
// digit's value times 16 plus the second's; any other length gives the
// value of the last character alone (0 for the empty text). A digit is
// worth 0-9 or 10-15 for A-F; any other character is worth 0.
uint8_t HexPairToByte(std::string& text);

}  // namespace orvane
