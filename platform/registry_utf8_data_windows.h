// What the UTF-8 registry calls share (Windows only): value data converted
// from the wide-character registry, and how a result reaches a caller's
// buffer with its size in bytes.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

bool IsStringType(DWORD type);

// The data as a caller of the UTF-8 calls sees it: the UTF-16 text of a
// string type as UTF-8 (an odd last byte dropped), any other type as stored.
std::string Utf8Data(DWORD type, const BYTE* data, DWORD size);

// A name or class into a buffer of *length bytes: ERROR_MORE_DATA when it
// does not fit with its terminating zero, else copied with that zero and
// *length set to its length without it.
LONG DeliverText(std::string_view text, LPSTR buffer, LPDWORD length);

// Data into a caller's (data, size) pair: with a buffer, ERROR_MORE_DATA
// when it is too small; *size always becomes the data's size.
LONG DeliverData(std::string_view bytes, LPBYTE data, LPDWORD size);

// The wide-character form of a name; null stays null.
class WideName {
 public:
  explicit WideName(LPCSTR name);
  const wchar_t* get() const { return null_ ? nullptr : text_.c_str(); }

 private:
  std::wstring text_;
  bool null_;
};

}  // namespace orvane::platform
