// IsHexString and HexPairToByte.
#include "registry/hex_text.h"

#include <algorithm>

namespace orvane {
namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// The worth of an upper-case digit; characters that are no digit count 0.
uint8_t DigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(c - 'A' + 10);
  return 0;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsHexString(std::string_view text) {
  return text.size() % 2 == 0 && std::all_of(text.begin(), text.end(), IsHexDigit);
}

uint8_t HexPairToByte(std::string& text) {
  std::transform(text.begin(), text.end(), text.begin(), UpperAscii);
  if (text.empty()) return 0;
  if (text.size() == 2) return static_cast<uint8_t>(DigitValue(text[0]) * 16 + DigitValue(text[1]));
  return DigitValue(text.back());
}

}  // namespace orvane
