// Reading values: the type query, the three per-type readers and ReadValue.
#include "registry/value_read.h"

#include <cstdlib>
#include <vector>

#include "registry/multi_string.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"

namespace orvane {
namespace {

// Reads the data of `name` into `buffer` (its size is the request).
// Returns the status; `type` receives the stored type.
LONG ReadInto(HKEY key, const std::string& name, void* buffer, DWORD& size, DWORD& type) {
  return RegQueryValueExA(key, name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &size);
}

std::string HexText(const std::vector<BYTE>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (BYTE b : bytes) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0F]);
  }
  return text;
}

}  // namespace

std::string ExpandFirstReference(std::string text) {
  const size_t open = text.find('%');
  if (open == std::string::npos) return text;
  const size_t close = text.find('%', open + 1);
  if (close == std::string::npos) return text;
  const std::string name = text.substr(open + 1, close - open - 1);
  const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
  if (value == nullptr || *value == '\0') return text;
  return text.replace(open, close - open + 1, value);
}

std::string JoinMultiString(std::string_view data) {
  std::string text(MultiStringBody(data));
  for (char& c : text) {
    if (c == '\0') c = '|';
  }
  return text;
}

ValueInfo QueryValueType(HKEY key, const std::string& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  return ValueInfo{size, type};
}

Variant ReadStringValue(HKEY key, const std::string& name, int64_t /*type*/, int64_t size, bool expand) {
  std::string data(static_cast<size_t>(size < 0 ? 0 : size), '\0');
  DWORD read_size = static_cast<DWORD>(data.size());
  DWORD read_type = 0;
  if (ReadInto(key, name, data.data(), read_size, read_type) != ERROR_SUCCESS) return Variant();
  if (read_type == REG_MULTI_SZ) return Variant::String(JoinMultiString(std::move(data)));
  if (read_type != REG_SZ && read_type != REG_EXPAND_SZ) return Variant::String(std::move(data));
  if (!data.empty()) data.pop_back();
  if (read_type == REG_EXPAND_SZ && expand) data = ExpandFirstReference(std::move(data));
  return Variant::String(std::move(data));
}

Variant ReadDWordValue(HKEY key, const std::string& name, int64_t /*type*/, int64_t /*size*/) {
  BYTE bytes[4] = {0, 0, 0, 0};
  DWORD read_size = sizeof bytes;
  DWORD read_type = 0;
  if (ReadInto(key, name, bytes, read_size, read_type) != ERROR_SUCCESS) return Variant();
  const uint32_t number = uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
                          uint32_t{bytes[3]} << 24;
  return Variant::Long(static_cast<int32_t>(number));
}

Variant ReadBinaryValue(HKEY key, const std::string& name, int64_t /*type*/, int64_t size) {
  std::vector<BYTE> bytes(static_cast<size_t>(size < 0 ? 0 : size));
  DWORD read_size = static_cast<DWORD>(bytes.size());
  DWORD read_type = 0;
  if (ReadInto(key, name, bytes.data(), read_size, read_type) != ERROR_SUCCESS) return Variant();
  bytes.resize(read_size);
  return Variant::String(HexText(bytes));
}

Variant ReadValue(HKEY root, const std::string& path, const std::string& name) {
  ScopedKey key;
  RaiseRegistryError(key.Open(root, path));
  const ValueInfo info = QueryValueType(key.get(), name);
  if (!info.found()) RaiseRegistryErrorCode(kCodeKeyDoesNotExist);
  switch (info.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
      return ReadStringValue(key.get(), name, info.type, info.size, true);
    case REG_DWORD:
      return ReadDWordValue(key.get(), name, info.type, info.size);
    case REG_BINARY:
      return ReadBinaryValue(key.get(), name, info.type, info.size);
    default:
      return Variant();
  }
}

}  // namespace orvane
