// Display forms of value names, types and data.
#include "tools/regedit/editor/value_display.h"

#include <array>
#include <cinttypes>
#include <cstdio>
#include <utility>

#include "platform/win32_registry.h"
#include "tools/regedit/terminal_text.h"

namespace orvane::regedit::editor {
namespace {

constexpr std::array<std::pair<uint32_t, const char*>, 9> kTypeNames{{
    {REG_NONE, "REG_NONE"},
    {REG_SZ, "REG_SZ"},
    {REG_EXPAND_SZ, "REG_EXPAND_SZ"},
    {REG_BINARY, "REG_BINARY"},
    {REG_DWORD, "REG_DWORD"},
    {REG_DWORD_BIG_ENDIAN, "REG_DWORD_BIG_ENDIAN"},
    {REG_LINK, "REG_LINK"},
    {REG_MULTI_SZ, "REG_MULTI_SZ"},
    {REG_QWORD, "REG_QWORD"},
}};

// The text of string data: everything before the first zero byte.
std::string_view UpToTerminator(std::string_view bytes) {
  size_t zero = bytes.find('\0');
  return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

// Entries of multi-string data joined by blanks; empty entries are skipped,
// as the list ends at the first one.
std::string MultiStringText(std::string_view bytes) {
  std::string text;
  while (!bytes.empty()) {
    std::string_view entry = UpToTerminator(bytes);
    if (entry.empty()) break;
    if (!text.empty()) text += ' ';
    text += entry;
    bytes.remove_prefix(std::min(bytes.size(), entry.size() + 1));
  }
  return text;
}

std::string HexBytes(std::string_view bytes) {
  if (bytes.empty()) return "(zero-length binary value)";
  std::string text;
  char pair[4];
  for (unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    if (!text.empty()) text += ' ';
    text += pair;
  }
  return text;
}

uint64_t LittleEndian(std::string_view bytes) {
  uint64_t number = 0;
  for (size_t i = bytes.size(); i-- > 0;) number = (number << 8) | static_cast<unsigned char>(bytes[i]);
  return number;
}

std::string NumberText(std::string_view bytes, int digits) {
  char text[64];
  uint64_t number = LittleEndian(bytes);
  std::snprintf(text, sizeof text, "0x%0*" PRIx64 " (%" PRIu64 ")", digits, number, number);
  return text;
}

}  // namespace

std::string DisplayName(std::string_view name) { return name.empty() ? "(Default)" : TerminalText(name); }

std::string DisplayKey(std::string_view path) { return TerminalText(path); }

std::string DisplayType(uint32_t type) {
  for (const auto& [number, name] : kTypeNames) {
    if (number == type) return name;
  }
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", type);
  return text;
}

std::string DisplayData(uint32_t type, std::string_view bytes) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return TerminalText(UpToTerminator(bytes));
    case REG_MULTI_SZ:
      return TerminalText(MultiStringText(bytes));
    case REG_DWORD:
      return bytes.size() == 4 ? NumberText(bytes, 8) : HexBytes(bytes);
    case REG_QWORD:
      return bytes.size() == 8 ? NumberText(bytes, 16) : HexBytes(bytes);
    default:
      return HexBytes(bytes);
  }
}

}  // namespace orvane::regedit::editor
