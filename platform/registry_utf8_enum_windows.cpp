// The UTF-8 registry calls by index and the key query. The longest name,
// class and data that RegQueryInfoKey reports are measured in UTF-8 by
// walking the key's sub-keys or values, and only when the caller asks
// for them, so that buffers sized from them hold what the walk then reads.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry_utf8_data_windows.h"
#include "platform/registry_utf8_windows.h"
#include "platform/utf16_text.h"

namespace orvane::platform {
namespace {

// Name and class buffers start here and double, up to the longest name
// the registry holds, when a call finds them too small.
constexpr DWORD kFirstNameUnits = 260;
constexpr DWORD kLongestNameUnits = 32768;
constexpr DWORD kFirstDataBytes = 512;
// At most three UTF-8 bytes stand for one UTF-16 unit: the longest length
// reported when a walk cannot measure.
constexpr DWORD kUtf8BytesPerUnit = 3;
constexpr int kReadAttempts = 8;

std::string Utf8Name(const std::wstring& buffer, DWORD length) {
  return Utf8FromUtf16(std::wstring_view(buffer.data(), length));
}

void Grow(std::wstring* buffer) { buffer->resize(std::min<size_t>(buffer->size() * 2, kLongestNameUnits)); }

// One sub-key by index: its UTF-8 name, and its class when `with_class`.
LONG ReadSubKey(HKEY key, DWORD index, bool with_class, std::string* name, std::string* class_name, PFILETIME written) {
  std::wstring wide_name(kFirstNameUnits, L'\0');
  std::wstring wide_class(with_class ? kFirstNameUnits : 0, L'\0');
  for (int attempt = 0;; ++attempt) {
    DWORD name_units = static_cast<DWORD>(wide_name.size());
    DWORD class_units = static_cast<DWORD>(wide_class.size());
    const LONG status =
        RegEnumKeyExW(key, index, wide_name.data(), &name_units, nullptr, with_class ? wide_class.data() : nullptr,
                      with_class ? &class_units : nullptr, written);
    if (status == ERROR_MORE_DATA && attempt < kReadAttempts) {
      Grow(&wide_name);
      if (with_class) Grow(&wide_class);
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    *name = Utf8Name(wide_name, name_units);
    if (with_class) *class_name = Utf8Name(wide_class, class_units);
    return ERROR_SUCCESS;
  }
}

// One value by index: its UTF-8 name, type and (when `with_data`) its data
// as the UTF-8 calls give it.
LONG ReadValue(HKEY key, DWORD index, bool with_data, std::string* name, DWORD* type, std::string* data) {
  std::wstring wide_name(kFirstNameUnits, L'\0');
  std::vector<BYTE> bytes(with_data ? kFirstDataBytes : 0);
  for (int attempt = 0;; ++attempt) {
    DWORD name_units = static_cast<DWORD>(wide_name.size());
    DWORD size = static_cast<DWORD>(bytes.size());
    const LONG status = RegEnumValueW(key, index, wide_name.data(), &name_units, nullptr, type,
                                      with_data ? bytes.data() : nullptr, with_data ? &size : nullptr);
    if (status == ERROR_MORE_DATA && attempt < kReadAttempts) {
      Grow(&wide_name);
      if (with_data && size > bytes.size()) bytes.resize(size);
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    *name = Utf8Name(wide_name, name_units);
    if (with_data) *data = Utf8Data(*type, bytes.data(), size);
    return ERROR_SUCCESS;
  }
}

// The longest UTF-8 name and class of the sub-keys of `key`.
void MeasureSubKeys(HKEY key, DWORD count, DWORD* longest_name, DWORD* longest_class) {
  const DWORD name_bound = *longest_name * kUtf8BytesPerUnit, class_bound = *longest_class * kUtf8BytesPerUnit;
  *longest_name = *longest_class = 0;
  std::string name, class_name;
  for (DWORD index = 0; index < count; ++index) {
    const LONG status = ReadSubKey(key, index, class_bound > 0, &name, &class_name, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) return;
    if (status != ERROR_SUCCESS) {
      *longest_name = name_bound;
      *longest_class = class_bound;
      return;
    }
    *longest_name = std::max(*longest_name, static_cast<DWORD>(name.size()));
    *longest_class = std::max(*longest_class, static_cast<DWORD>(class_name.size()));
  }
}

// The longest UTF-8 name and data of the values of `key`.
void MeasureValues(HKEY key, DWORD count, bool with_data, DWORD* longest_name, DWORD* longest_data) {
  const DWORD name_bound = *longest_name * kUtf8BytesPerUnit, data_bound = *longest_data * kUtf8BytesPerUnit / 2 + 1;
  *longest_name = 0;
  if (with_data) *longest_data = 0;
  std::string name, data;
  DWORD type = 0;
  for (DWORD index = 0; index < count; ++index) {
    const LONG status = ReadValue(key, index, with_data, &name, &type, &data);
    if (status == ERROR_NO_MORE_ITEMS) return;
    if (status != ERROR_SUCCESS) {
      *longest_name = name_bound;
      if (with_data) *longest_data = data_bound;
      return;
    }
    *longest_name = std::max(*longest_name, static_cast<DWORD>(name.size()));
    if (with_data) *longest_data = std::max(*longest_data, static_cast<DWORD>(data.size()));
  }
}

}  // namespace

LONG Utf8RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD name_length, LPDWORD reserved, LPSTR class_name,
                      LPDWORD class_length, PFILETIME written) {
  if (reserved != nullptr || name == nullptr || name_length == nullptr) return ERROR_INVALID_PARAMETER;
  if (class_name != nullptr && class_length == nullptr) return ERROR_INVALID_PARAMETER;
  std::string utf8_name, utf8_class;
  if (LONG status = ReadSubKey(key, index, class_length != nullptr, &utf8_name, &utf8_class, written)) return status;
  if (class_name != nullptr) {
    if (LONG status = DeliverText(utf8_class, class_name, class_length)) return status;
  } else if (class_length != nullptr) {
    *class_length = static_cast<DWORD>(utf8_class.size());
  }
  return DeliverText(utf8_name, name, name_length);
}

LONG Utf8RegEnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD name_length, LPDWORD reserved, LPDWORD type,
                      LPBYTE data, LPDWORD size) {
  if (reserved != nullptr || name == nullptr || name_length == nullptr) return ERROR_INVALID_PARAMETER;
  if (data != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  std::string utf8_name, utf8_data;
  DWORD stored_type = REG_NONE;
  if (LONG status = ReadValue(key, index, size != nullptr, &utf8_name, &stored_type, &utf8_data)) return status;
  if (type != nullptr) *type = stored_type;
  const LONG data_status = size != nullptr ? DeliverData(utf8_data, data, size) : ERROR_SUCCESS;
  const LONG name_status = DeliverText(utf8_name, name, name_length);
  return name_status != ERROR_SUCCESS ? name_status : data_status;
}

LONG Utf8RegQueryInfoKey(HKEY key, LPSTR class_name, LPDWORD class_length, LPDWORD reserved, LPDWORD sub_keys,
                         LPDWORD max_sub_key, LPDWORD max_class, LPDWORD values, LPDWORD max_value_name,
                         LPDWORD max_value, LPDWORD security, PFILETIME written) {
  if (class_name != nullptr && class_length == nullptr) return ERROR_INVALID_PARAMETER;
  std::wstring wide_class(class_length != nullptr ? kLongestNameUnits : 0, L'\0');
  DWORD class_units = static_cast<DWORD>(wide_class.size());
  DWORD counts[2] = {}, longest_sub_key[2] = {}, longest_value[2] = {};
  const LONG status =
      RegQueryInfoKeyW(key, class_length != nullptr ? wide_class.data() : nullptr,
                       class_length != nullptr ? &class_units : nullptr, reserved, &counts[0], &longest_sub_key[0],
                       &longest_sub_key[1], &counts[1], &longest_value[0], &longest_value[1], security, written);
  if (status != ERROR_SUCCESS) return status;
  if (max_sub_key != nullptr || max_class != nullptr) {
    MeasureSubKeys(key, counts[0], &longest_sub_key[0], &longest_sub_key[1]);
  }
  if (max_value_name != nullptr || max_value != nullptr) {
    MeasureValues(key, counts[1], max_value != nullptr, &longest_value[0], &longest_value[1]);
  }
  const std::pair<LPDWORD, DWORD> answers[] = {
      {sub_keys, counts[0]}, {max_sub_key, longest_sub_key[0]},  {max_class, longest_sub_key[1]},
      {values, counts[1]},   {max_value_name, longest_value[0]}, {max_value, longest_value[1]}};
  for (const auto& [out, number] : answers) {
    if (out != nullptr) *out = number;
  }
  if (class_length == nullptr) return ERROR_SUCCESS;
  const std::string utf8_class = Utf8Name(wide_class, class_units);
  if (class_name != nullptr) return DeliverText(utf8_class, class_name, class_length);
  *class_length = static_cast<DWORD>(utf8_class.size());
  return ERROR_SUCCESS;
}

}  // namespace orvane::platform
