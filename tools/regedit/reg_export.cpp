#include "tools/regedit/reg_export.h"

#include <algorithm>
#include <vector>

#include "store/store_extensions.h"
#include "tools/regedit/code_page.h"
#include "tools/regedit/key_handle.h"
#include "tools/regedit/key_progress.h"
#include "tools/regedit/reg_writer.h"
#include "tools/regedit/root_keys.h"

namespace orvane::regedit {
namespace {

// Reusable buffers for one export.
struct EnumBuffers {
  std::vector<char> name;
  std::vector<BYTE> data;
};

// Returned when a key cannot be written: its path is then in `refused`.
constexpr LONG kNameNotWritable = 13;  // ERROR_INVALID_DATA

// REGEDIT4 has no escape in a key name: a CR or LF there would end the
// section line, and what follows would be read as other lines.
bool HasLineBreak(std::string_view name) { return name.find_first_of("\r\n") != std::string_view::npos; }

// A key path for a message: CR and LF as "\r" and "\n".
std::string Printable(std::string_view path) {
  std::string out;
  for (const char c : path) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

// Writes the values of `key` in enumeration order.
LONG WriteValues(HKEY key, DWORD count, EnumBuffers* buffers, RegWriter* writer) {
  for (DWORD i = 0; i < count; ++i) {
    DWORD name_size = static_cast<DWORD>(buffers->name.size());
    DWORD data_size = static_cast<DWORD>(buffers->data.size());
    DWORD type = 0;
    LONG status = RegEnumValueA(key, i, buffers->name.data(), &name_size, nullptr, &type,
                                buffers->data.data(), &data_size);
    if (status == ERROR_MORE_DATA) {
      buffers->name.resize(buffers->name.size() * 2 + 256);
      buffers->data.resize(std::max<size_t>(buffers->data.size() * 2, data_size));
      --i;
      continue;
    }
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) return status;
    writer->WriteValue(std::string_view(buffers->name.data(), name_size), type,
                       std::string_view(reinterpret_cast<const char*>(buffers->data.data()), data_size));
  }
  return ERROR_SUCCESS;
}

// The number of values of `key`, with the buffers grown to its longest
// value name and data.
LONG QueryKey(HKEY key, EnumBuffers* buffers, DWORD* values) {
  DWORD sub_keys = 0, max_name = 0, max_data = 0;
  LONG status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, values,
                                 &max_name, &max_data, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return status;
  if (buffers->name.size() <= max_name) buffers->name.resize(max_name + 1);
  if (buffers->data.size() < max_data) buffers->data.resize(max_data);
  return ERROR_SUCCESS;
}

// Writes one key's section and `values` values, then lists its sub-keys
// into *names.
LONG WriteKey(HKEY key, DWORD values, const std::string& path, EnumBuffers* buffers, RegWriter* writer,
              std::vector<std::string>* names) {
  LONG status = ERROR_SUCCESS;
  writer->WriteKeyHeader(path);
  KeyProgress::CountKey();
  if ((status = WriteValues(key, values, buffers, writer)) != ERROR_SUCCESS) return status;
  *names = SubKeyNames(key, &status);
  return status;
}

// One open key of the export walk and the sub-keys still to write.
struct ExportLevel {
  KeyHandle key;
  std::vector<std::string> names;
  size_t next = 0;
  size_t path_length = 0;
};

// Writes `key` (its section and values), then each sub-key, depth first.
// The walk keeps its own stack, so any depth the store holds is written.
// A sub-key that cannot be opened or queried (such as a key the system
// opens as a handle for performance data) is left out with its tree.
LONG WriteTree(HKEY key, std::string* path, EnumBuffers* buffers, RegWriter* writer) {
  if (HasLineBreak(*path)) return kNameNotWritable;
  if (!IsUtf8(*path)) writer->NoteRawKeyName();
  std::vector<ExportLevel> stack(1);
  stack.back().path_length = path->size();
  DWORD values = 0;
  if (LONG status = QueryKey(key, buffers, &values)) return status;
  if (LONG status = WriteKey(key, values, *path, buffers, writer, &stack.back().names)) return status;
  HKEY top = key;
  while (!stack.empty()) {
    ExportLevel& level = stack.back();
    if (level.next == level.names.size()) {
      stack.pop_back();
      if (!stack.empty()) path->resize(stack.back().path_length);
      continue;
    }
    const std::string& name = level.names[level.next++];
    const HKEY parent = stack.size() == 1 ? top : level.key.get();
    KeyHandle sub_key;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ, sub_key.out()) != ERROR_SUCCESS) continue;
    if (QueryKey(sub_key.get(), buffers, &values) != ERROR_SUCCESS) continue;
    path->append("\\").append(name);
    if (HasLineBreak(name)) return kNameNotWritable;
    if (!IsUtf8(name)) writer->NoteRawKeyName();
    ExportLevel& entered = stack.emplace_back();
    entered.key = std::move(sub_key);
    entered.path_length = path->size();
    if (LONG status = WriteKey(entered.key.get(), values, *path, buffers, writer, &entered.names)) return status;
  }
  return ERROR_SUCCESS;
}

// True for HKEY_DYN_DATA when it holds nothing or the emulated system has
// no such root (it exists on the older platform only).
bool IsAbsentOrEmpty(HKEY key) {
  DWORD sub_keys = 0, values = 0;
  const LONG status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, &values,
                                       nullptr, nullptr, nullptr, nullptr);
  return status == ERROR_INVALID_HANDLE || (status == ERROR_SUCCESS && sub_keys == 0 && values == 0);
}

LONG WriteAll(EnumBuffers* buffers, RegWriter* writer, std::string* refused) {
  for (const RootKey& root : StoredRootKeys()) {
    if (root.handle == HKEY_DYN_DATA && IsAbsentOrEmpty(root.handle)) continue;
    std::string path(root.name);
    if (LONG status = WriteTree(root.handle, &path, buffers, writer)) {
      *refused = path;
      return status;
    }
  }
  return ERROR_SUCCESS;
}

std::string_view WithoutTrailingBackslashes(std::string_view key) {
  while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
  return key;
}

}  // namespace

LONG ExportRegistry(std::string_view key, std::string* out, std::string* error) {
  platform::RegistryMethodScope scope;  // one consistent snapshot for the whole export
  std::string text;
  RegWriter writer(&text);
  EnumBuffers buffers{std::vector<char>(256), std::vector<BYTE>(4096)};
  writer.WriteHeader();
  LONG status = ERROR_SUCCESS;
  std::string refused;  // the path of a key that cannot be written
  if (key.empty()) {
    status = WriteAll(&buffers, &writer, &refused);
  } else {
    const KeyPath path = SplitKeyPath(key);
    if (path.root == nullptr) {
      *error = "Invalid system key [" + std::string(key) + "]";
      return ERROR_INVALID_PARAMETER;
    }
    KeyHandle handle;
    status = RegOpenKeyExA(path.root, path.path.c_str(), 0, KEY_READ, handle.out());
    std::string label(WithoutTrailingBackslashes(key));
    if (status == ERROR_SUCCESS) status = WriteTree(handle.get(), &label, &buffers, &writer);
    refused = label;
  }
  if (status == kNameNotWritable && HasLineBreak(refused)) {
    *error = "Unable to export the registry key '" + Printable(key) + "': the key '" + Printable(refused) +
             "' has a line break in its name, which a registration file cannot hold";
    return status;
  }
  if (status != ERROR_SUCCESS) {
    *error = "Unable to export the registry key '" + std::string(key) + "' (status " + std::to_string(status) + ")";
    return status;
  }
  writer.WriteEnd();
  // Names that are not UTF-8 are written as the registry holds them; the
  // marker line tells the importer to keep those bytes, not to read them
  // as Windows-1252 text of an older editor.
  if (writer.wrote_raw_names()) text.insert(text.find('\n') + 1, std::string(kRawBytesLine) + "\r\n");
  out->append(text);
  return ERROR_SUCCESS;
}

}  // namespace orvane::regedit
