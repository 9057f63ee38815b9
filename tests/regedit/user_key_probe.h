// Reading what an editor test left under HKEY_CURRENT_USER, through the
// registry API alone: a value's type and bytes, and whether a key exists.
#pragma once

#include <string>

#include "platform/win32_registry.h"

namespace orvane::testing {

// A value's stored type and bytes; "missing key" or "missing" when the key
// or the value cannot be read.
struct StoredValue {
  std::string missing;  // empty when the value was read
  DWORD type = 0;
  std::string data;
};

inline StoredValue ReadUserValue(const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != 0) {
    StoredValue missing;
    missing.missing = "missing key";
    return missing;
  }
  StoredValue value;
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
  value.data.assign(size, '\0');
  if (status == 0) {
    status = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(value.data.data()),
                              &size);
  }
  RegCloseKey(key);
  if (status != 0) value.missing = "missing";
  return value;
}

inline bool UserKeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != 0) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace orvane::testing
