// The values of one key as the editor lists them: the unnamed value first
// (shown as not set when the key has none), then the others in the
// registry's order, each with its type and stored bytes. A snapshot, taken
// again after every change. Owned by one editor; one thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::regedit::editor {

struct ValueRow {
  std::string name;
  uint32_t type = 0;
  std::string bytes;
  bool set = true;  // false only for the unnamed value when the key has none
};

// The values of the key `full_path`. *status is the registry status of
// opening the key (0 on success; no rows then otherwise).
std::vector<ValueRow> LoadValues(const std::string& full_path, long* status);

// The three columns of a row: name, type, data.
struct ValueColumns {
  std::string name;
  std::string type;
  std::string data;
};
ValueColumns ColumnsOf(const ValueRow& row);

}  // namespace orvane::regedit::editor
