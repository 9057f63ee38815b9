// ReadAllValues and ReadAllKeys.
#include "keyops/enumeration.h"

#include <vector>

#include "keyops/subtree.h"
#include "registry/key_enum.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "registry/value_read.h"

namespace orvane {
namespace {

// Opens the key to list. Refused access is not an error here: the key
// stays closed and lists as empty. Any other failure is raised.
ScopedKey OpenForListing(HKEY root, const std::string& path) {
  ScopedKey key;
  const LONG status = key.Open(root, path);
  if (status != ERROR_ACCESS_DENIED) RaiseRegistryError(status);
  return key;
}

// Removes spaces (only spaces) from both ends, in place.
std::string TrimSpaces(std::string text) {
  const size_t last = text.find_last_not_of(' ');
  text.erase(last == std::string::npos ? 0 : last + 1);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

std::string UpperHex(const BYTE* bytes, size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return text;
}

// The data of an enumerated value in its text or number form (see
// ReadAllValues).
Variant ValueData(const EnumeratedValue& value, bool expand) {
  const std::string& data = value.data;
  switch (value.type) {
    case REG_SZ:
      if (data.empty()) return Variant();
      return Variant::String(TrimSpaces(data.substr(0, data.size() - 1)));
    case REG_EXPAND_SZ: {
      // The text without its terminator: the first size-1 bytes.
      std::string text = data.empty() ? data : data.substr(0, data.size() - 1);
      return Variant::String(expand ? ExpandFirstReference(std::move(text)) : text);
    }
    case REG_DWORD: {
      uint32_t number = 0;  // missing bytes read as zero
      for (size_t i = 4; i-- > 0;) number = number << 8 | (i < data.size() ? static_cast<uint8_t>(data[i]) : 0u);
      return Variant::Long(static_cast<int32_t>(number));
    }
    case REG_MULTI_SZ:
      return Variant::String(JoinMultiString(data));
    default:
      return Variant::String(UpperHex(reinterpret_cast<const BYTE*>(data.data()), data.size()));
  }
}

}  // namespace

Variant ReadAllValues(HKEY root, const std::string& path, bool expand) {
  const ScopedKey key = OpenForListing(root, path);
  const int32_t count = QueryKeyInfo(key.get()).values;
  if (count <= 0) return Variant();
  SafeArray table(VarType::kVariant, {ArrayBound{0, count - 1}, ArrayBound{0, 2}});
  ValueEnumerator values(key.get());
  EnumeratedValue value;
  for (int32_t i = 0; i < count; ++i) {
    // A failed read is raised: it never becomes a row.
    RaiseRegistryError(values.Read(static_cast<DWORD>(i), &value));
    table.set(i, kValueNameColumn, Variant::String(value.name));
    table.set(i, kValueDataColumn, ValueData(value, expand));
    table.set(i, kValueTypeColumn, Variant::Long(static_cast<int32_t>(value.type)));
  }
  return Variant::Array(std::move(table));
}

Variant ReadAllKeys(HKEY root, const std::string& path) {
  const ScopedKey key = OpenForListing(root, path);
  if (key.get() == nullptr) return Variant();
  std::vector<std::string> found;
  RaiseRegistryError(ReadSubKeyNames(key.get(), &found));
  if (found.empty()) return Variant();
  SafeArray names(VarType::kVariant, {ArrayBound{0, static_cast<int32_t>(found.size()) - 1}});
  for (size_t i = 0; i < found.size(); ++i) names.set(static_cast<int32_t>(i), Variant::String(std::move(found[i])));
  return Variant::Array(std::move(names));
}

}  // namespace orvane
