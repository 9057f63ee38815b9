#include "tools/regedit/code_page.h"

#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace orvane::regedit {
namespace {

uint16_t CodeUnit(const char* p) {
  return static_cast<uint16_t>(static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[1]) << 8));
}

bool IsHighSurrogate(uint16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The replacement for the character at `in` that iconv refused; advances
// `in` and `left` past it.
char Replacement(char** in, size_t* left) {
  const uint16_t unit = CodeUnit(*in);
  size_t used = 2;
  if (IsHighSurrogate(unit) && *left >= 4 && IsLowSurrogate(CodeUnit(*in + 2))) used = 4;
  *in += used;
  *left -= used;
  switch (unit) {
    case 0x81: case 0x8D: case 0x8F: case 0x90: case 0x9D:
      return static_cast<char>(unit);
    default:
      return '?';
  }
}

}  // namespace

AnsiConverter::AnsiConverter() : cd_(iconv_open("CP1252", "UTF-16LE")) {
  if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert UTF-16LE to CP1252");
}

AnsiConverter::~AnsiConverter() { iconv_close(cd_); }

std::string AnsiConverter::FromUtf16Le(std::string_view bytes) const {
  std::string out(bytes.size() / 2, '\0');  // one byte per UTF-16 code unit at most
  std::string in_copy(bytes.substr(0, bytes.size() & ~size_t{1}));
  char* in = in_copy.data();
  size_t in_left = in_copy.size();
  char* out_ptr = out.data();
  size_t out_left = out.size();
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  while (in_left > 0) {
    if (iconv(cd_, &in, &in_left, &out_ptr, &out_left) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) break;
    *out_ptr++ = Replacement(&in, &in_left);
    --out_left;
  }
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace orvane::regedit
