// The system services the component asks for besides the registry, with
// their Windows names and signatures: folders, names, locale, sleep and file
// attributes. On Windows this is <windows.h> with the ANSI text queries
// mapped onto UTF-8 ones (system_text_utf8_windows.h); on Linux it declares
// the platform layer's own versions (system_info.cpp, file_attributes.cpp).
// Either way text is UTF-8.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include "platform/system_text_utf8_windows.h"
#else

#include "platform/win32_registry.h"

using UINT = unsigned int;
using LCID = DWORD;
using LCTYPE = DWORD;

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x1001;
constexpr LONG ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x01;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// Folders: copied with their NUL when they fit `size` and the length
// without NUL returned; else the size needed (NUL included), buffer untouched.
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);
DWORD GetTempPathA(DWORD size, LPSTR buffer);
// Names: *size is the buffer's size on entry; on success the length (without
// NUL for the computer name, with it for the user name, as Windows does).
BOOL GetComputerNameA(LPSTR buffer, LPDWORD size);
BOOL GetUserNameA(LPSTR buffer, LPDWORD size);
// Only LOCALE_SENGLANGUAGE is answered; returns characters written with NUL.
int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR buffer, int size);
void Sleep(DWORD milliseconds);
// File attributes (see file_attributes.h for how Linux keeps them).
DWORD GetFileAttributesA(LPCSTR path);
BOOL SetFileAttributesA(LPCSTR path, DWORD attributes);
// The cause of the last failed call of this header, as a Windows result:
// 2 missing file, 3 missing folder, 5 refused, 87 anything else.
DWORD GetLastError();

#endif  // _WIN32
