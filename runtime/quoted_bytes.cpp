#include "runtime/quoted_bytes.h"

namespace orvane {
namespace {

unsigned char Byte(std::string_view bytes, size_t i) { return static_cast<unsigned char>(bytes[i]); }

// The length of the UTF-8 sequence of more than one byte at `i`, or 0 when
// the bytes there are not one (a stray or missing continuation byte, an
// overlong form, a surrogate, a code point above U+10FFFF).
size_t Utf8SequenceLength(std::string_view bytes, size_t i) {
  const unsigned char lead = Byte(bytes, i);
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || i + length > bytes.size()) return 0;
  char32_t code = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((Byte(bytes, i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (Byte(bytes, i + k) & 0x3F);
  }
  const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

// The length of the printable character at `i`, or 0 when its first byte
// is to be written as Chr(n).
size_t PrintableLength(std::string_view bytes, size_t i) {
  const unsigned char byte = Byte(bytes, i);
  if (byte < 0x80) return byte >= 32 && byte <= 126 ? 1 : 0;
  const size_t length = Utf8SequenceLength(bytes, i);
  const bool c1_control = length == 2 && byte == 0xC2 && Byte(bytes, i + 1) <= 0x9F;
  return c1_control ? 0 : length;
}

}  // namespace

std::string QuoteBytes(std::string_view bytes) {
  if (bytes.empty()) return "\"\"";
  std::string text;
  size_t i = 0;
  while (i < bytes.size()) {
    if (!text.empty()) text += " & ";
    if (PrintableLength(bytes, i) == 0) {
      text += "Chr(" + std::to_string(Byte(bytes, i++)) + ")";
      continue;
    }
    text += '"';
    for (size_t length; i < bytes.size() && (length = PrintableLength(bytes, i)) != 0; i += length) {
      if (bytes[i] == '"') text += '"';
      text.append(bytes.substr(i, length));
    }
    text += '"';
  }
  return text;
}

}  // namespace orvane
