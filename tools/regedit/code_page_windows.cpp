// UTF-16LE to code page 1252 with the system's tables: no best-fit
// mapping, so a character the code page lacks becomes "?"; the five code
// points 1252 leaves undefined keep their byte value.
#include <windows.h>

#include <string>

#include "tools/regedit/code_page.h"

namespace orvane::regedit {

AnsiConverter::AnsiConverter() = default;
AnsiConverter::~AnsiConverter() = default;

std::string AnsiConverter::FromUtf16Le(std::string_view bytes) const {
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t unit = text[i];
    if (unit == 0x81 || unit == 0x8D || unit == 0x8F || unit == 0x90 || unit == 0x9D) {
      out += static_cast<char>(unit);
      continue;
    }
    // A surrogate pair is one character, and 1252 has none of them.
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;
      out += '?';
      continue;
    }
    char converted = '?';
    BOOL defaulted = FALSE;
    if (WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &unit, 1, &converted, 1, "?", &defaulted) != 1) converted = '?';
    out += converted;
  }
  return out;
}

}  // namespace orvane::regedit
