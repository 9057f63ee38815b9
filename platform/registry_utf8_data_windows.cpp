// Value data and results of the UTF-8 registry calls.
#include "platform/registry_utf8_data_windows.h"

#include <cstring>

#include "platform/utf16_text.h"

namespace orvane::platform {

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

std::string Utf8Data(DWORD type, const BYTE* data, DWORD size) {
  if (!IsStringType(type)) return std::string(reinterpret_cast<const char*>(data), size);
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  return Utf8FromUtf16(text);
}

LONG DeliverText(std::string_view text, LPSTR buffer, LPDWORD length) {
  if (text.size() + 1 > *length) return ERROR_MORE_DATA;
  if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  *length = static_cast<DWORD>(text.size());
  return ERROR_SUCCESS;
}

LONG DeliverData(std::string_view bytes, LPBYTE data, LPDWORD size) {
  const DWORD needed = static_cast<DWORD>(bytes.size());
  const bool fits = data == nullptr || needed <= *size;
  if (data != nullptr && fits && needed > 0) std::memcpy(data, bytes.data(), needed);
  *size = needed;
  return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

WideName::WideName(LPCSTR name) : null_(name == nullptr) {
  if (name != nullptr) text_ = Utf16FromUtf8(name);
}

}  // namespace orvane::platform
