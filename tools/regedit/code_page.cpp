#include "tools/regedit/code_page.h"

#include <cstdint>

#include "runtime/utf8_append.h"

namespace orvane::regedit {
namespace {

uint16_t CodeUnit(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                               (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

bool IsHighSurrogate(uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Windows-1252 bytes 80..9F; 0 where the code page defines none.
constexpr uint16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The length of the well-formed UTF-8 sequence at `at`, or 0.
size_t Utf8SequenceAt(std::string_view bytes, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  else return 0;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  if (bytes.size() - at < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
  for (size_t at = 0; at < bytes.size();) {
    const size_t length = Utf8SequenceAt(bytes, at);
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::string Utf8FromUtf16Le(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  const size_t end = bytes.size() & ~size_t{1};
  for (size_t at = 0; at < end; at += 2) {
    uint32_t unit = CodeUnit(bytes, at);
    if (IsHighSurrogate(unit) && at + 4 <= end && IsLowSurrogate(CodeUnit(bytes, at + 2))) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (CodeUnit(bytes, at + 2) - 0xDC00);
      at += 2;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      unit = 0xFFFD;
    }
    AppendUtf8(out, unit);
  }
  return out;
}

std::string Utf8FromWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    const bool high = byte >= 0x80 && byte <= 0x9F && kHigh1252[byte - 0x80] != 0;
    AppendUtf8(out, high ? kHigh1252[byte - 0x80] : byte);
  }
  return out;
}

}  // namespace orvane::regedit
