// The character encoding of registration files. The registry keeps names
// and strings in UTF-8, so text read from a file becomes UTF-8: version 5
// files are UTF-16LE; an 8-bit file (REGEDIT4) is UTF-8 when its bytes are
// well-formed UTF-8, and otherwise Windows-1252 text from an older editor.
// Stateless.
#pragma once

#include <string>
#include <string_view>

namespace orvane::regedit {

// True when `bytes` is well-formed UTF-8 (ASCII included).
bool IsUtf8(std::string_view bytes);

// UTF-16LE bytes as UTF-8. An unpaired surrogate becomes U+FFFD, as
// Windows converts it; an odd final byte is dropped.
std::string Utf8FromUtf16Le(std::string_view bytes);

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves
// undefined (81, 8D, 8F, 90, 9D) become the code points of the same value,
// as Windows converts them.
std::string Utf8FromWindows1252(std::string_view bytes);

}  // namespace orvane::regedit
