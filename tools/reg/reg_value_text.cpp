#include "tools/reg/reg_value_text.h"

#include <array>
#include <charconv>
#include <cstdint>

#include "tools/regedit/root_keys.h"

namespace orvane::reg {
namespace {

struct TypeEntry {
  std::string_view name;
  DWORD type;
  bool writable;  // reg add accepts it
};

constexpr std::array<TypeEntry, 9> kTypes = {{
    {"REG_NONE", REG_NONE, true},
    {"REG_SZ", REG_SZ, true},
    {"REG_EXPAND_SZ", REG_EXPAND_SZ, true},
    {"REG_BINARY", REG_BINARY, true},
    {"REG_DWORD", REG_DWORD, true},
    {"REG_DWORD_BIG_ENDIAN", REG_DWORD_BIG_ENDIAN, false},
    {"REG_LINK", REG_LINK, false},
    {"REG_MULTI_SZ", REG_MULTI_SZ, true},
    {"REG_QWORD", REG_QWORD, true},
}};

constexpr char kDefaultSeparator[] = "\\0";

// A decimal or 0x-prefixed hexadecimal number no larger than `max`.
std::optional<uint64_t> ParseNumber(std::string_view text, uint64_t max) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
  return value;
}

std::string LittleEndian(uint64_t value, size_t size) {
  std::string bytes;
  for (size_t i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
  return bytes;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Hex pairs without separators; an odd count reads the first digit alone.
std::optional<std::string> ParseHex(std::string_view text) {
  std::string bytes;
  size_t i = 0;
  if (text.size() % 2 != 0) {
    if (HexDigit(text[0]) < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(HexDigit(text[0])));
    i = 1;
  }
  for (; i < text.size(); i += 2) {
    const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<char>(high * 16 + low));
  }
  return bytes;
}

std::optional<std::string> ParseList(std::string_view text, std::string_view separator) {
  if (separator.empty()) separator = kDefaultSeparator;
  std::string bytes;
  while (!text.empty()) {
    const size_t end = text.find(separator);
    const std::string_view item = text.substr(0, end);
    if (item.empty()) return std::nullopt;
    bytes.append(item).push_back('\0');
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + separator.size());
  }
  bytes.push_back('\0');
  return bytes;
}

uint64_t ReadLittleEndian(std::string_view bytes) {
  uint64_t value = 0;
  for (size_t i = bytes.size(); i > 0; --i) value = (value << 8) | static_cast<uint8_t>(bytes[i - 1]);
  return value;
}

std::string Hex(uint64_t value) {
  char text[24];
  const auto result = std::to_chars(text, text + sizeof(text), value, 16);
  return "0x" + std::string(text, result.ptr);
}

std::string HexPairs(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const char c : bytes) {
    text.push_back(kDigits[static_cast<uint8_t>(c) >> 4]);
    text.push_back(kDigits[static_cast<uint8_t>(c) & 0xf]);
  }
  return text;
}

std::string JoinList(std::string_view bytes, std::string_view separator) {
  std::string text;
  while (!bytes.empty() && bytes.front() != '\0') {
    const size_t end = bytes.find('\0');
    if (!text.empty()) text.append(separator);
    text.append(bytes.substr(0, end));
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return text;
}

}  // namespace

std::optional<DWORD> ParseTypeName(std::string_view name) {
  for (const TypeEntry& entry : kTypes) {
    if (entry.writable && regedit::EqualsIgnoringCase(name, entry.name)) return entry.type;
  }
  return std::nullopt;
}

std::string TypeName(DWORD type) {
  for (const TypeEntry& entry : kTypes) {
    if (entry.type == type) return std::string(entry.name);
  }
  return "REG_UNKNOWN";
}

std::optional<std::string> ParseData(DWORD type, std::string_view text, std::string_view separator) {
  switch (type) {
    case REG_DWORD:
      if (const auto value = ParseNumber(text, UINT32_MAX)) return LittleEndian(*value, 4);
      return std::nullopt;
    case REG_QWORD:
      if (const auto value = ParseNumber(text, UINT64_MAX)) return LittleEndian(*value, 8);
      return std::nullopt;
    case REG_BINARY:
      return ParseHex(text);
    case REG_MULTI_SZ:
      return ParseList(text, separator);
    default:
      return std::string(text) + '\0';
  }
}

std::string FormatData(DWORD type, std::string_view bytes, std::string_view separator) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return std::string(bytes.substr(0, bytes.find('\0')));
    case REG_MULTI_SZ:
      return JoinList(bytes, separator);
    case REG_DWORD:
    case REG_QWORD:
      if (bytes.size() == (type == REG_DWORD ? 4u : 8u)) return Hex(ReadLittleEndian(bytes));
      return HexPairs(bytes);
    case REG_DWORD_BIG_ENDIAN:
      if (bytes.size() == 4u) return Hex(ReadLittleEndian(std::string(bytes.rbegin(), bytes.rend())));
      return HexPairs(bytes);
    default:
      return HexPairs(bytes);
  }
}

}  // namespace orvane::reg
