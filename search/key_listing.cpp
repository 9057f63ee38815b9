#include "search/key_listing.h"

namespace orvane {
namespace {

// Names are enumerated into buffers of this many characters.
constexpr DWORD kNameBufferChars = 2048;
// Data of most text values fits this first buffer; a larger one is read again.
constexpr size_t kFirstDataBytes = 512;

// Enumerates value `index` into `value`; `name` is the shared name buffer.
void EnumerateValue(HKEY key, DWORD index, std::string& name, std::string& data, ListedValue& value) {
  DWORD name_length = kNameBufferChars;
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(data.size());
  LONG status = RegEnumValueA(key, index, name.data(), &name_length, nullptr, &type,
                              reinterpret_cast<LPBYTE>(data.data()), &size);
  if (status == ERROR_MORE_DATA) {
    data.resize(size);
    name_length = kNameBufferChars;
    status = RegEnumValueA(key, index, name.data(), &name_length, nullptr, &type,
                           reinterpret_cast<LPBYTE>(data.data()), &size);
  }
  if (status != ERROR_SUCCESS) return;
  value.name.assign(name.data(), name_length < kNameBufferChars ? name_length : kNameBufferChars);
  value.type = type;
  value.size = size;
  if (IsTextType(type)) value.bytes.assign(data.data(), size);
}

}  // namespace

bool IsTextType(uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

std::vector<ListedValue> ListValues(HKEY key, int32_t count) {
  std::vector<ListedValue> values(count > 0 ? static_cast<size_t>(count) : 0);
  std::string name(kNameBufferChars, '\0');
  std::string data(kFirstDataBytes, '\0');
  for (size_t i = 0; i < values.size(); ++i) {
    if (data.size() < kFirstDataBytes) data.resize(kFirstDataBytes);
    EnumerateValue(key, static_cast<DWORD>(i), name, data, values[i]);
  }
  return values;
}

std::vector<std::string> ListSubKeyNames(HKEY key, int32_t count) {
  std::vector<std::string> names;
  names.reserve(count > 0 ? static_cast<size_t>(count) : 0);
  std::string buffer(kNameBufferChars, '\0');
  for (int32_t j = 0; j < count; ++j) {
    DWORD length = kNameBufferChars;
    if (RegEnumKeyExA(key, static_cast<DWORD>(j), buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      continue;
    }
    names.emplace_back(buffer.data(), length < kNameBufferChars ? length : kNameBufferChars);
  }
  return names;
}

}  // namespace orvane
