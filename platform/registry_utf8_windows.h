// The registry's ANSI entry points as the component calls them, with UTF-8
// names and string data, over the wide-character functions (Windows only;
// included by win32_registry.h, which maps the RegXxxA names onto these).
// Names, classes and the data of REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ
// are converted at this boundary; every length and size a caller passes or
// receives counts UTF-8 bytes, so ERROR_MORE_DATA and the longest lengths
// of RegQueryInfoKey are those of the UTF-8 text. A string written without
// its terminating zero gets one, as the system's ANSI entry point adds it.
#pragma once

#include <windows.h>

namespace orvane::platform {

LONG Utf8RegOpenKeyEx(HKEY key, LPCSTR sub_key, DWORD options, REGSAM access, PHKEY result);
LONG Utf8RegCreateKeyEx(HKEY key, LPCSTR sub_key, DWORD reserved, LPSTR class_name, DWORD options, REGSAM access,
                        LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
LONG Utf8RegDeleteKey(HKEY key, LPCSTR sub_key);
LONG Utf8RegDeleteValue(HKEY key, LPCSTR name);
LONG Utf8RegSetValueEx(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LONG Utf8RegQueryValueEx(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LONG Utf8RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD name_length, LPDWORD reserved, LPSTR class_name,
                      LPDWORD class_length, PFILETIME written);
LONG Utf8RegEnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD name_length, LPDWORD reserved, LPDWORD type,
                      LPBYTE data, LPDWORD size);
LONG Utf8RegQueryInfoKey(HKEY key, LPSTR class_name, LPDWORD class_length, LPDWORD reserved, LPDWORD sub_keys,
                         LPDWORD max_sub_key, LPDWORD max_class, LPDWORD values, LPDWORD max_value_name,
                         LPDWORD max_value, LPDWORD security, PFILETIME written);

}  // namespace orvane::platform

#define RegOpenKeyExA ::orvane::platform::Utf8RegOpenKeyEx
#define RegCreateKeyExA ::orvane::platform::Utf8RegCreateKeyEx
#define RegDeleteKeyA ::orvane::platform::Utf8RegDeleteKey
#define RegDeleteValueA ::orvane::platform::Utf8RegDeleteValue
#define RegSetValueExA ::orvane::platform::Utf8RegSetValueEx
#define RegQueryValueExA ::orvane::platform::Utf8RegQueryValueEx
#define RegEnumKeyExA ::orvane::platform::Utf8RegEnumKeyEx
#define RegEnumValueA ::orvane::platform::Utf8RegEnumValue
#define RegQueryInfoKeyA ::orvane::platform::Utf8RegQueryInfoKey
