#include "tools/reg/reg_store.h"

namespace orvane::reg {

LONG OpenKey(const KeyName& key, REGSAM access, regedit::KeyHandle* handle) {
  return RegOpenKeyExA(key.root, key.path.c_str(), 0, access, handle->out());
}

std::vector<Value> ReadValues(HKEY key, LONG* status) {
  std::vector<Value> values;
  DWORD max_name = 0, max_data = 0;
  *status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &max_name,
                             &max_data, nullptr, nullptr);
  if (*status != ERROR_SUCCESS) return values;
  std::string name(max_name + 1, '\0'), data(max_data, '\0');
  for (DWORD i = 0;; ++i) {
    DWORD name_size = static_cast<DWORD>(name.size()), data_size = static_cast<DWORD>(data.size()), type = 0;
    *status = RegEnumValueA(key, i, name.data(), &name_size, nullptr, &type,
                            reinterpret_cast<BYTE*>(data.data()), &data_size);
    if (*status == ERROR_NO_MORE_ITEMS) break;
    if (*status != ERROR_SUCCESS) return values;
    values.push_back({name.substr(0, name_size), type, data.substr(0, data_size)});
  }
  *status = ERROR_SUCCESS;
  return values;
}

std::optional<Value> ReadValue(HKEY key, const std::string& name, LONG* status) {
  DWORD type = 0, size = 0;
  *status = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
  if (*status != ERROR_SUCCESS) return std::nullopt;
  std::string data(size, '\0');
  *status = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  if (*status != ERROR_SUCCESS) return std::nullopt;
  data.resize(size);
  return Value{name, type, data};
}

LONG WriteValue(HKEY key, const Value& value) {
  return RegSetValueExA(key, value.name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                        static_cast<DWORD>(value.data.size()));
}

std::vector<std::string> SubKeyNames(HKEY key, LONG* status) { return regedit::SubKeyNames(key, status); }

std::string DisplayName(const std::string& name) { return name.empty() ? "(Default)" : name; }

}  // namespace orvane::reg
