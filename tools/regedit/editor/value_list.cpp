// Listing a key's values through RegEnumValueA.
#include "tools/regedit/editor/value_list.h"

#include "platform/win32_registry.h"
#include "tools/regedit/editor/value_display.h"
#include "tools/regedit/key_handle.h"
#include "tools/regedit/root_keys.h"

namespace orvane::regedit::editor {
namespace {

// One value by index, with buffers grown to the sizes the key reports.
bool ReadValueAt(HKEY key, DWORD index, DWORD max_name, DWORD max_data, ValueRow* row) {
  std::string name(max_name + 1, '\0');
  std::string data(max_data + 1, '\0');
  DWORD name_size = static_cast<DWORD>(name.size());
  DWORD data_size = static_cast<DWORD>(data.size());
  DWORD type = 0;
  LONG status = RegEnumValueA(key, index, name.data(), &name_size, nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &data_size);
  if (status != ERROR_SUCCESS) return false;
  name.resize(name_size);
  data.resize(data_size);
  *row = ValueRow{std::move(name), type, std::move(data), true};
  return true;
}

}  // namespace

std::vector<ValueRow> LoadValues(const std::string& full_path, long* status) {
  std::vector<ValueRow> rows;
  KeyPath split = SplitKeyPath(full_path);
  KeyHandle key;
  *status = split.root == nullptr ? ERROR_FILE_NOT_FOUND
                                  : RegOpenKeyExA(split.root, split.path.c_str(), 0, KEY_READ, key.out());
  if (*status != ERROR_SUCCESS) return rows;
  DWORD count = 0, max_name = 0, max_data = 0;
  RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &max_name,
                   &max_data, nullptr, nullptr);
  rows.push_back(ValueRow{"", REG_SZ, "", false});
  for (DWORD index = 0; index < count; ++index) {
    ValueRow row;
    if (!ReadValueAt(key.get(), index, max_name, max_data, &row)) continue;
    if (row.name.empty()) rows[0] = std::move(row);
    else rows.push_back(std::move(row));
  }
  return rows;
}

ValueColumns ColumnsOf(const ValueRow& row) {
  return {DisplayName(row.name), DisplayType(row.type), row.set ? DisplayData(row.type, row.bytes) : kValueNotSet};
}

}  // namespace orvane::regedit::editor
