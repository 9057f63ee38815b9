#include "store/hive/hive_text.h"

#include <optional>

#include "platform/win32_registry.h"
#include "runtime/utf8_append.h"

namespace orvane::platform {
namespace {

bool IsString(uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

void AppendUtf16(std::string& out, uint32_t code) {
  const auto unit = [&out](uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
  };
  if (code < 0x10000) return unit(code);
  unit(0xD800 + ((code - 0x10000) >> 10));
  unit(0xDC00 + ((code - 0x10000) & 0x3FF));
}

std::optional<std::string> Utf8FromUtf16(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::string out;
  const auto unit = [&bytes](size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
  };
  for (size_t at = 0; at < bytes.size(); at += 2) {
    uint32_t code = unit(at);
    if (code >= 0xDC00 && code < 0xE000) return std::nullopt;
    if (code >= 0xD800 && code < 0xDC00) {
      if (at + 4 > bytes.size()) return std::nullopt;
      const uint32_t low = unit(at + 2);
      if (low < 0xDC00 || low >= 0xE000) return std::nullopt;
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      at += 2;
    }
    AppendUtf8(out, code);
  }
  return out;
}

std::optional<std::string> Utf16FromUtf8(std::string_view bytes) {
  std::string out;
  for (size_t at = 0; at < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    if (length == 0 || at + length > bytes.size()) return std::nullopt;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(bytes[at + i]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (next & 0x3F);
    }
    constexpr uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return std::nullopt;
    AppendUtf16(out, code);
    at += length;
  }
  return out;
}

}  // namespace

std::string RegistryDataFromHive(uint32_t type, std::string_view bytes) {
  if (!IsString(type)) return std::string(bytes);
  return Utf8FromUtf16(bytes).value_or(std::string(bytes));
}

std::string HiveDataFromRegistry(uint32_t type, std::string_view bytes) {
  if (!IsString(type)) return std::string(bytes);
  return Utf16FromUtf8(bytes).value_or(std::string(bytes));
}

}  // namespace orvane::platform
