// ReadAllValues and ReadAllKeys.
#include "keyops/enumeration.h"

#include <vector>

#include "keyops/subtree.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "registry/value_read.h"

namespace orvane {
namespace {

// Key and value names are enumerated into buffers of this many characters.
constexpr DWORD kNameBufferChars = 2048;

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

// One enumerated value: its name, type and data size, and the second
// enumeration call that fetches its data.
class EnumeratedValue {
 public:
  // `name_buffer` (kNameBufferChars long) is shared by every call.
  EnumeratedValue(HKEY key, DWORD index, std::string& name_buffer)
      : key_(key), index_(index), name_buffer_(name_buffer) {
    DWORD length = kNameBufferChars;
    RegEnumValueA(key, index, name_buffer.data(), &length, nullptr, &type_, nullptr, &size_);
    name_.assign(name_buffer.data(), length < kNameBufferChars ? length : kNameBufferChars);
  }

  // The name, moved out: call once.
  std::string TakeName() { return std::move(name_); }
  DWORD type() const { return type_; }

  // The data in its text or number form (see ReadAllValues).
  Variant Data(bool expand) const {
    switch (type_) {
      case REG_SZ:
        if (size_ == 0) return Variant();
        return Variant::String(TrimSpaces(Text()));
      case REG_EXPAND_SZ:
        return Variant::String(expand ? ExpandFirstReference(Text()) : Text());
      case REG_DWORD:
        return Variant::Long(Number());
      case REG_MULTI_SZ:
        return Variant::String(JoinMultiString(Bytes(size_)));
      default: {
        const std::string bytes = Bytes(size_t{size_} + 1);
        return Variant::String(UpperHex(reinterpret_cast<const BYTE*>(bytes.data()), size_));
      }
    }
  }

 private:
  // The data read into a zero-filled buffer of `capacity` bytes.
  std::string Bytes(size_t capacity) const {
    std::string data(capacity, '\0');
    DWORD length = kNameBufferChars;
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    RegEnumValueA(key_, index_, name_buffer_.data(), &length, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                  &size);
    return data;
  }

  // The string data without its terminator: the first size-1 bytes.
  std::string Text() const {
    std::string data = Bytes(size_);
    if (!data.empty()) data.pop_back();
    return data;
  }

  int32_t Number() const {
    const std::string bytes = Bytes(4);
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<uint8_t>(bytes[static_cast<size_t>(i)]);
    return static_cast<int32_t>(number);
  }

  HKEY key_;
  DWORD index_;
  std::string& name_buffer_;
  std::string name_;
  DWORD type_ = 0;
  DWORD size_ = 0;
};

}  // namespace

Variant ReadAllValues(HKEY root, const std::string& path, bool expand) {
  const ScopedKey key = OpenForListing(root, path);
  const int32_t count = QueryKeyInfo(key.get()).values;
  if (count <= 0) return Variant();
  SafeArray table(VarType::kVariant, {ArrayBound{0, count - 1}, ArrayBound{0, 2}});
  std::string name_buffer(kNameBufferChars, ' ');
  for (int32_t i = 0; i < count; ++i) {
    EnumeratedValue value(key.get(), static_cast<DWORD>(i), name_buffer);
    table.set(i, kValueNameColumn, Variant::String(value.TakeName()));
    table.set(i, kValueDataColumn, value.Data(expand));
    table.set(i, kValueTypeColumn, Variant::Long(static_cast<int32_t>(value.type())));
  }
  return Variant::Array(std::move(table));
}

Variant ReadAllKeys(HKEY root, const std::string& path) {
  const ScopedKey key = OpenForListing(root, path);
  const int32_t count = QueryKeyInfo(key.get()).sub_keys;
  if (count <= 0) return Variant();
  SafeArray names(VarType::kVariant, {ArrayBound{0, count - 1}});
  std::string buffer(kNameBufferChars, ' ');
  for (int32_t i = 0; i < count; ++i) {
    DWORD length = kNameBufferChars;
    FILETIME written{};
    if (RegEnumKeyExA(key.get(), static_cast<DWORD>(i), buffer.data(), &length, nullptr, nullptr, nullptr,
                      &written) != ERROR_SUCCESS) {
      continue;  // a key removed meanwhile leaves its element Empty
    }
    names.set(i, Variant::String(std::string(buffer.data(), length)));
  }
  return Variant::Array(std::move(names));
}

}  // namespace orvane
