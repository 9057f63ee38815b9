#include "bench/search/search_walks.h"

#include <vector>

#include "store/store_extensions.h"

namespace orvane::bench {
namespace {

constexpr DWORD kNameChars = 2048;

void PutString(HKEY key, const std::string& name, const std::string& text) {
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
}

// One value of `key` at `index`: its name and data; false past the end.
bool EnumValue(HKEY key, DWORD index, std::string& name, std::string& data, DWORD& type, DWORD& size) {
  DWORD name_length = kNameChars;
  size = static_cast<DWORD>(data.size());
  LONG status = RegEnumValueA(key, index, name.data(), &name_length, nullptr, &type,
                              reinterpret_cast<LPBYTE>(data.data()), &size);
  if (status == ERROR_MORE_DATA) {
    data.resize(size);
    name_length = kNameChars;
    status = RegEnumValueA(key, index, name.data(), &name_length, nullptr, &type,
                           reinterpret_cast<LPBYTE>(data.data()), &size);
  }
  name.resize(status == ERROR_SUCCESS ? name_length : 0);
  return status == ERROR_SUCCESS;
}

size_t Walk(HKEY root, const std::string& path, const std::string* prefix) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, 0x3F, &key) != ERROR_SUCCESS) return 0;
  DWORD sub_keys = 0;
  DWORD values = 0;
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, &values, nullptr, nullptr,
                   nullptr, nullptr);
  size_t met = 0;
  std::string name(kNameChars, '\0');
  std::string data(512, '\0');
  for (DWORD i = 0; i < values; ++i) {
    name.resize(kNameChars);
    DWORD type = 0;
    DWORD size = 0;
    if (!EnumValue(key, i, name, data, type, size)) continue;
    if (prefix == nullptr) {
      ++met;
    } else if (data.compare(0, prefix->size(), *prefix) == 0) {
      RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()), size);
      ++met;
    }
  }
  std::vector<std::string> children;
  for (DWORD j = 0; j < sub_keys; ++j) {
    DWORD length = kNameChars;
    name.resize(kNameChars);
    if (RegEnumKeyExA(key, j, name.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
      children.emplace_back(name.data(), length);
    }
  }
  for (const std::string& child : children) met += Walk(root, path.empty() ? child : path + "\\" + child, prefix);
  RegCloseKey(key);
  return met;
}

}  // namespace

void PutSearchTree(HKEY root, const std::string& path, int fan_out, int fan_out2, int values, int needle_every) {
  platform::RegistryMethodScope scope;
  int number = 0;
  for (int i = 0; i < fan_out; ++i) {
    for (int j = 0; j < fan_out2; ++j, ++number) {
      HKEY key = nullptr;
      DWORD disposition = 0;
      const std::string child = path + "\\K" + std::to_string(i) + "\\L" + std::to_string(j);
      if (RegCreateKeyExA(root, child.c_str(), 0, nullptr, 0, 0x3F, nullptr, &key, &disposition) != 0) continue;
      for (int v = 0; v < values; ++v) {
        const bool needle = v == 0 && number % needle_every == 0;
        PutString(key, "v" + std::to_string(v), (needle ? "needle " : "data ") + std::to_string(number));
      }
      RegCloseKey(key);
    }
  }
}

size_t RawSearchWalk(HKEY root, const std::string& path) { return Walk(root, path, nullptr); }

size_t RawRewriteWalk(HKEY root, const std::string& path, const std::string& prefix) {
  return Walk(root, path, &prefix);
}

}  // namespace orvane::bench
