// Text between the component's UTF-8 and the UTF-16 of the Windows API
// (names, string data, BSTRs, file names). Windows only. Embedded zeros are
// kept; a byte sequence that is not UTF-8 becomes U+FFFD, and so does a
// lone surrogate on the way back.
#pragma once

#include <string>
#include <string_view>

namespace orvane::platform {

std::wstring Utf16FromUtf8(std::string_view text);
std::string Utf8FromUtf16(std::wstring_view text);

}  // namespace orvane::platform
