// The Win32 registry calls behind orvane.winreg's documented cases, made on
// Windows (or Wine) itself: one line per call, "label status [result]", for
// test_winreg_wine.py to compare with what orvane.winreg does over our store.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text, int length = -1) {
  char buffer[1024];
  int size = WideCharToMultiByte(CP_UTF8, 0, text, length, buffer, sizeof buffer, nullptr, nullptr);
  if (length == -1 && size > 0) --size;  // the terminating NUL
  return std::string(buffer, size > 0 ? size : 0);
}

void Line(const char* label, LONG status, const std::string& result = "") {
  std::printf("%s %ld%s%s\n", label, static_cast<long>(status), result.empty() ? "" : " ", result.c_str());
}

}  // namespace

int main() {
  HKEY key;
  HKEY other;
  Line("create", RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\WinregWine", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 &key, nullptr));
  Line("open-missing", RegOpenKeyExW(key, L"Missing", 0, KEY_READ, &other));
  DWORD type = 0;
  DWORD size = 0;
  Line("query-missing", RegQueryValueExW(key, L"missing", nullptr, &type, nullptr, &size));
  Line("delete-value-missing", RegDeleteValueW(key, L"missing"));
  Line("delete-key-missing", RegDeleteKeyW(key, L"Missing"));
  for (const wchar_t* path : {L"b\\Deeper", L"A\\Deeper", L"c\\Deeper"}) {
    RegCreateKeyExW(key, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &other, nullptr);
    RegCloseKey(other);
  }
  Line("delete-key-with-sub-keys", RegDeleteKeyW(key, L"b"));
  std::string names;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    const LONG status = RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) {
      Line("enum-keys", status, names);
      break;
    }
    names += Utf8(name, static_cast<int>(length)) + ",";
  }
  DWORD length = 256;
  Line("enum-value-past-end", RegEnumValueW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr));
  wchar_t data[256] = L"unchanged";
  LONG bytes = sizeof data;
  LONG status = RegQueryValueW(key, nullptr, data, &bytes);
  Line("query-default-unset", status, status ? "" : "str:" + Utf8(data));
  Line("set-value-sub-key", RegSetValueW(key, L"New\\Deeper", REG_SZ, L"made", 4 * sizeof(wchar_t)));
  bytes = sizeof data;
  status = RegQueryValueW(key, L"New\\Deeper", data, &bytes);
  Line("query-value-sub-key", status, status ? "" : "str:" + Utf8(data));
  DWORD sub_keys = 0;
  DWORD values = 0;
  status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, &values, nullptr, nullptr,
                            nullptr, nullptr);
  Line("info", status, std::to_string(sub_keys) + "," + std::to_string(values));
  RegOpenKeyExW(key, L"", 0, KEY_READ, &other);
  Line("set-on-read-handle", RegSetValueExW(other, L"v", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 4));
  RegCloseKey(other);
  status = RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\winregwine", 0, KEY_READ, &other);
  Line("open-other-case", status);
  if (status == ERROR_SUCCESS) RegCloseKey(other);
  Line("delete-key-ex-reserved", RegDeleteKeyExW(key, L"c\\Deeper", KEY_WOW64_64KEY, 1));
  Line("delete-key-ex", RegDeleteKeyExW(key, L"c\\Deeper", KEY_WOW64_32KEY, 0));
  Line("close-predefined", RegCloseKey(HKEY_LOCAL_MACHINE));
  RegOpenKeyExW(key, L"A", 0, KEY_READ, &other);
  RegCloseKey(other);
  Line("info-closed", RegQueryInfoKeyW(other, nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, &values,
                                       nullptr, nullptr, nullptr, nullptr));
  Line("connect-remote", RegConnectRegistryW(L"\\\\no-such-computer", HKEY_LOCAL_MACHINE, &other));
  SetEnvironmentVariableW(L"WINREG_A", L"alpha");
  SetEnvironmentVariableW(L"WINREG_UNSET", nullptr);
  wchar_t expanded[256];
  ExpandEnvironmentStringsW(L"%WINREG_A%|%winreg_a%|%WINREG_UNSET%|100% sure|%%", expanded, 256);
  Line("expand", 0, Utf8(expanded));
  RegCloseKey(key);
  return 0;
}
