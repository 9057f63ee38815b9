// The system's ANSI text queries as the component calls them, with UTF-8
// text over the wide-character functions (Windows only; included by
// win32_system.h, which maps the ANSI names onto these). Each keeps its
// function's own rules for buffer sizes, counted in UTF-8 bytes.
#pragma once

#include <windows.h>

namespace orvane::platform {

UINT Utf8GetWindowsDirectory(LPSTR buffer, UINT size);
UINT Utf8GetSystemDirectory(LPSTR buffer, UINT size);
DWORD Utf8GetTempPath(DWORD size, LPSTR buffer);
BOOL Utf8GetComputerName(LPSTR buffer, LPDWORD size);
BOOL Utf8GetUserName(LPSTR buffer, LPDWORD size);
int Utf8GetLocaleInfo(LCID locale, LCTYPE type, LPSTR buffer, int size);
DWORD Utf8GetFileAttributes(LPCSTR path);
BOOL Utf8SetFileAttributes(LPCSTR path, DWORD attributes);

}  // namespace orvane::platform

#define GetWindowsDirectoryA ::orvane::platform::Utf8GetWindowsDirectory
#define GetSystemDirectoryA ::orvane::platform::Utf8GetSystemDirectory
#define GetTempPathA ::orvane::platform::Utf8GetTempPath
#define GetComputerNameA ::orvane::platform::Utf8GetComputerName
#define GetUserNameA ::orvane::platform::Utf8GetUserName
#define GetLocaleInfoA ::orvane::platform::Utf8GetLocaleInfo
#define GetFileAttributesA ::orvane::platform::Utf8GetFileAttributes
#define SetFileAttributesA ::orvane::platform::Utf8SetFileAttributes
