// Subtree primitives: QueryKeyInfo, DeleteKeyTree, CopyKeyTree.
#include "keyops/subtree.h"

#include <vector>

#include "registry/scoped_key.h"

namespace orvane {
namespace {

// Key and value names are enumerated into buffers of this many characters.
constexpr DWORD kNameBufferChars = 2048;
// The class buffer handed to the key query; the class itself is not used.
constexpr DWORD kClassBufferChars = 1024;

// The names of all direct sub-keys of an open key, in enumeration order.
// `status` receives the first failed enumeration's result (0 if none).
std::vector<std::string> SubKeyNames(HKEY key, LONG& status) {
  const KeyInfo info = QueryKeyInfo(key);
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(info.sub_keys));
  std::string buffer(kNameBufferChars, ' ');
  status = ERROR_SUCCESS;
  for (int32_t i = 0; i < info.sub_keys; ++i) {
    DWORD length = kNameBufferChars;
    FILETIME written{};
    status = RegEnumKeyExA(key, static_cast<DWORD>(i), buffer.data(), &length, nullptr, nullptr, nullptr,
                           &written);
    if (status != ERROR_SUCCESS) break;
    names.emplace_back(buffer.data(), length);
  }
  return names;
}

// Copies the value at `index` of `source` to `destination`: the name and
// the size first, then the data into a buffer one byte longer than needed.
LONG CopyValueAt(HKEY source, DWORD index, HKEY destination, std::string& name_buffer) {
  DWORD name_length = kNameBufferChars;
  DWORD type = 0;
  DWORD size = 0;
  LONG status = RegEnumValueA(source, index, name_buffer.data(), &name_length, nullptr, &type, nullptr, &size);
  if (status != ERROR_SUCCESS) return status;
  std::vector<BYTE> data(size_t{size} + 1);
  name_length = kNameBufferChars;
  status = RegEnumValueA(source, index, name_buffer.data(), &name_length, nullptr, &type, data.data(), &size);
  if (status != ERROR_SUCCESS) return status;
  const std::string name(name_buffer.data(), name_length);
  return RegSetValueExA(destination, name.c_str(), 0, type, data.data(), size);
}

LONG CopyValues(HKEY source, HKEY destination) {
  const KeyInfo info = QueryKeyInfo(source);
  std::string name_buffer(kNameBufferChars, ' ');
  for (int32_t i = 0; i < info.values; ++i) {
    const LONG status = CopyValueAt(source, static_cast<DWORD>(i), destination, name_buffer);
    if (status != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

}  // namespace

KeyInfo QueryKeyInfo(HKEY key) {
  std::string class_buffer(kClassBufferChars, ' ');
  DWORD class_length = kClassBufferChars;
  DWORD sub_keys = 0, max_sub_key = 0, max_class = 0, values = 0, max_value_name = 0, max_value = 0,
        security = 0;
  FILETIME written{};
  const LONG status = RegQueryInfoKeyA(key, class_buffer.data(), &class_length, nullptr, &sub_keys, &max_sub_key,
                                       &max_class, &values, &max_value_name, &max_value, &security, &written);
  if (status != ERROR_SUCCESS) return KeyInfo{};
  return KeyInfo{static_cast<int32_t>(values), static_cast<int32_t>(sub_keys)};
}

Variant KeyInfoArray(const KeyInfo& info) {
  SafeArray counts(VarType::kLong, {ArrayBound{0, 1}});
  counts.set(0, Variant::Long(info.values));
  counts.set(1, Variant::Long(info.sub_keys));
  return Variant::Array(std::move(counts));
}

std::string ChildPath(const std::string& parent, const std::string& name) {
  return parent.empty() ? name : parent + '\\' + name;
}

void DeleteKeyTree(HKEY root, const std::string& path) {
  ScopedKey key;
  if (key.Open(root, path) != ERROR_SUCCESS) return;
  LONG ignored = ERROR_SUCCESS;
  // All names first: each deletion would shift the enumeration indexes.
  for (const std::string& name : SubKeyNames(key.get(), ignored)) {
    DeleteKeyTree(root, ChildPath(path, name));
    RegDeleteKeyA(key.get(), name.c_str());
  }
}

LONG CopyKeyTree(HKEY source_root, const std::string& source_path, HKEY destination_root,
                 const std::string& destination_path, bool include_sub_keys) {
  ScopedKey source;
  const LONG open_status = source.Open(source_root, source_path);
  LONG status = ERROR_SUCCESS;
  std::vector<std::string> children;
  if (open_status == ERROR_SUCCESS && include_sub_keys) children = SubKeyNames(source.get(), status);
  ScopedKey destination;
  if (LONG created = destination.Create(destination_root, destination_path); created != ERROR_SUCCESS) {
    return created;
  }
  if (open_status != ERROR_SUCCESS) return open_status;
  if (status != ERROR_SUCCESS) return status;
  if ((status = CopyValues(source.get(), destination.get())) != ERROR_SUCCESS) return status;
  for (const std::string& name : children) {
    status = CopyKeyTree(source_root, ChildPath(source_path, name), destination_root,
                         ChildPath(destination_path, name), include_sub_keys);
    if (status != ERROR_SUCCESS) return status;
  }
  return ERROR_SUCCESS;
}

}  // namespace orvane
