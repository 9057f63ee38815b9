// The UTF-8 text queries: each asks the wide-character function, then
// hands the UTF-8 text over by the ANSI function's rules.
#include "platform/system_text_utf8_windows.h"

#include <cstring>
#include <string>

#include "platform/utf16_text.h"

namespace orvane::platform {
namespace {

// Longer than any folder, computer, user or language name the system gives.
constexpr DWORD kWideUnits = 32768;

// Copies `text` and its zero when they fit `size` bytes.
bool Copy(const std::string& text, LPSTR buffer, DWORD size) {
  if (buffer == nullptr || text.size() + 1 > size) return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

// A folder's rule: the length without the zero, else the size needed with it.
template <typename Query>
DWORD Folder(Query query, LPSTR buffer, DWORD size) {
  std::wstring wide(kWideUnits, L'\0');
  const DWORD units = query(wide.data(), kWideUnits);
  if (units == 0 || units >= kWideUnits) return 0;
  const std::string text = Utf8FromUtf16(std::wstring_view(wide.data(), units));
  return Copy(text, buffer, size) ? static_cast<DWORD>(text.size()) : static_cast<DWORD>(text.size() + 1);
}

// A name's rule: FALSE with `overflow` and the size needed when it does not
// fit; else the length, without the zero or with it (`counts_zero`).
template <typename Query>
BOOL Name(Query query, LPSTR buffer, LPDWORD size, DWORD overflow, bool counts_zero) {
  std::wstring wide(kWideUnits, L'\0');
  DWORD units = kWideUnits;
  if (!query(wide.data(), &units)) return FALSE;
  const std::string text = Utf8FromUtf16(std::wstring_view(wide.c_str()));
  if (!Copy(text, buffer, *size)) {
    *size = static_cast<DWORD>(text.size() + 1);
    SetLastError(overflow);
    return FALSE;
  }
  *size = static_cast<DWORD>(text.size() + (counts_zero ? 1 : 0));
  return TRUE;
}

}  // namespace

UINT Utf8GetWindowsDirectory(LPSTR buffer, UINT size) {
  return Folder([](LPWSTR wide, DWORD units) { return GetWindowsDirectoryW(wide, units); }, buffer, size);
}

UINT Utf8GetSystemDirectory(LPSTR buffer, UINT size) {
  return Folder([](LPWSTR wide, DWORD units) { return GetSystemDirectoryW(wide, units); }, buffer, size);
}

DWORD Utf8GetTempPath(DWORD size, LPSTR buffer) {
  return Folder([](LPWSTR wide, DWORD units) { return GetTempPathW(units, wide); }, buffer, size);
}

BOOL Utf8GetComputerName(LPSTR buffer, LPDWORD size) {
  return Name([](LPWSTR wide, LPDWORD units) { return GetComputerNameW(wide, units); }, buffer, size,
              ERROR_BUFFER_OVERFLOW, false);
}

BOOL Utf8GetUserName(LPSTR buffer, LPDWORD size) {
  return Name([](LPWSTR wide, LPDWORD units) { return GetUserNameW(wide, units); }, buffer, size,
              ERROR_INSUFFICIENT_BUFFER, true);
}

int Utf8GetLocaleInfo(LCID locale, LCTYPE type, LPSTR buffer, int size) {
  std::wstring wide(kWideUnits, L'\0');
  if (GetLocaleInfoW(locale, type, wide.data(), static_cast<int>(kWideUnits)) == 0) return 0;
  const std::string text = Utf8FromUtf16(std::wstring_view(wide.c_str()));
  const int needed = static_cast<int>(text.size() + 1);
  if (size == 0) return needed;
  if (!Copy(text, buffer, static_cast<DWORD>(size))) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  return needed;
}

DWORD Utf8GetFileAttributes(LPCSTR path) { return GetFileAttributesW(Utf16FromUtf8(path).c_str()); }

BOOL Utf8SetFileAttributes(LPCSTR path, DWORD attributes) {
  return SetFileAttributesW(Utf16FromUtf8(path).c_str(), attributes);
}

}  // namespace orvane::platform
