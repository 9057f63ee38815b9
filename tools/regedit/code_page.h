// The character encoding of registration files. The registry keeps names
// and strings in UTF-8, so text read from a file becomes UTF-8: version 5
// files are UTF-16LE; in an 8-bit file (REGEDIT4) each line is taken as it
// is when it is well-formed UTF-8, and otherwise read as Windows-1252 text
// from an older editor, unless the file carries kRawBytesLine: then every
// line is the registry's own bytes. Stateless.
#pragma once

#include <string>
#include <string_view>

namespace orvane::regedit {

// The comment line an export carries after its header when it holds a
// name that is not UTF-8, written as the registry holds it. Other readers
// skip it as a comment.
inline constexpr std::string_view kRawBytesLine =
    "; Text that is not UTF-8 in this file is the registry's own bytes, not Windows-1252.";

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
