// The UTF-8 registry calls by name: open, create, delete, write and read.
#include "platform/registry_utf8_windows.h"

#include <cstring>
#include <vector>

#include "platform/registry_utf8_data_windows.h"
#include "platform/utf16_text.h"

namespace orvane::platform {
namespace {

// How many times a read is repeated when the value grew between the
// call that sized the buffer and the one that read it.
constexpr int kReadAttempts = 8;
// Most values fit here, so a read needs one call.
constexpr DWORD kFirstReadBytes = 512;

// The stored type and bytes of one value.
LONG ReadWideValue(HKEY key, const wchar_t* name, DWORD* type, std::vector<BYTE>* bytes) {
  bytes->resize(kFirstReadBytes);
  for (int attempt = 0;; ++attempt) {
    DWORD size = static_cast<DWORD>(bytes->size());
    const LONG status = RegQueryValueExW(key, name, nullptr, type, bytes->data(), &size);
    if (status == ERROR_MORE_DATA && attempt < kReadAttempts) {
      bytes->resize(size);
      continue;
    }
    if (status == ERROR_SUCCESS) bytes->resize(size);
    return status;
  }
}

// The UTF-16 bytes of UTF-8 string data, with a terminating zero added
// when the caller left it out.
std::vector<BYTE> Utf16Data(const BYTE* data, DWORD size) {
  std::wstring text = Utf16FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  if (size > 0 && data[size - 1] != 0) text.push_back(L'\0');
  std::vector<BYTE> bytes(text.size() * sizeof(wchar_t));
  if (!bytes.empty()) std::memcpy(bytes.data(), text.data(), bytes.size());
  return bytes;
}

}  // namespace

LONG Utf8RegOpenKeyEx(HKEY key, LPCSTR sub_key, DWORD options, REGSAM access, PHKEY result) {
  return RegOpenKeyExW(key, WideName(sub_key).get(), options, access, result);
}

LONG Utf8RegCreateKeyEx(HKEY key, LPCSTR sub_key, DWORD reserved, LPSTR class_name, DWORD options, REGSAM access,
                        LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition) {
  WideName wide_class(class_name);
  return RegCreateKeyExW(key, WideName(sub_key).get(), reserved, const_cast<wchar_t*>(wide_class.get()), options,
                         access, security, result, disposition);
}

LONG Utf8RegDeleteKey(HKEY key, LPCSTR sub_key) { return RegDeleteKeyW(key, WideName(sub_key).get()); }

LONG Utf8RegDeleteValue(HKEY key, LPCSTR name) { return RegDeleteValueW(key, WideName(name).get()); }

LONG Utf8RegSetValueEx(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
  if (!IsStringType(type) || data == nullptr) {
    return RegSetValueExW(key, WideName(name).get(), reserved, type, data, size);
  }
  const std::vector<BYTE> wide = Utf16Data(data, size);
  return RegSetValueExW(key, WideName(name).get(), reserved, type, wide.data(), static_cast<DWORD>(wide.size()));
}

LONG Utf8RegQueryValueEx(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (reserved != nullptr || (data != nullptr && size == nullptr)) return ERROR_INVALID_PARAMETER;
  const WideName wide_name(name);
  if (data == nullptr && size == nullptr)
    return RegQueryValueExW(key, wide_name.get(), nullptr, type, nullptr, nullptr);
  DWORD stored_type = REG_NONE;
  std::vector<BYTE> bytes;
  const LONG status = ReadWideValue(key, wide_name.get(), &stored_type, &bytes);
  if (status != ERROR_SUCCESS) {
    // As the system's call: a size asked for without a buffer is cleared.
    if (data == nullptr) *size = 0;
    return status;
  }
  if (type != nullptr) *type = stored_type;
  return DeliverData(Utf8Data(stored_type, bytes.data(), static_cast<DWORD>(bytes.size())), data, size);
}

}  // namespace orvane::platform
