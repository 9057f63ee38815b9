// Editing texts of values and their reading back.
#include "tools/regedit/editor/value_input.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/win32_registry.h"

namespace orvane::regedit::editor {
namespace {

std::string_view UpToTerminator(std::string_view bytes) {
  return bytes.substr(0, std::min(bytes.size(), bytes.find('\0')));
}

// Multi-string entries one a line; the list ends at the first empty entry.
std::string MultiStringLines(std::string_view bytes) {
  std::string text;
  bool first = true;
  while (!bytes.empty()) {
    std::string_view entry = UpToTerminator(bytes);
    if (entry.empty()) break;
    if (!first) text += '\n';
    text += entry;
    first = false;
    bytes.remove_prefix(std::min(bytes.size(), entry.size() + 1));
  }
  return text;
}

std::string HexText(std::string_view bytes, const char* separator) {
  std::string text;
  char pair[4];
  for (unsigned char byte : bytes) {
    if (!text.empty()) text += separator;
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}

// Little-endian `bytes` as "0x" and two hex digits a byte.
std::string HexNumber(std::string_view bytes) {
  std::string text = "0x";
  char pair[4];
  for (size_t i = bytes.size(); i-- > 0;) {
    std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(bytes[i]));
    text += pair;
  }
  return text;
}

std::optional<Variant> ReadMultiString(std::string_view text, std::string* error) {
  std::string joined;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('|') != std::string_view::npos) {
      *error = "A multi-string entry cannot hold \"|\".";
      return std::nullopt;
    }
    if (!line.empty()) {
      if (!joined.empty()) joined += '|';
      joined += line;
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return Variant::String(joined);
}

// A number typed in decimal or as "0x" and hex digits, from 0 to `maximum`.
std::optional<uint64_t> ReadNumber(std::string_view text, uint64_t maximum) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  std::string digits(hex ? text.substr(2) : text);
  char* end = nullptr;
  errno = 0;
  unsigned long long number = digits.empty() ? 0 : std::strtoull(digits.c_str(), &end, hex ? 16 : 10);
  bool all_digits = !digits.empty() && digits[0] != '-' && digits[0] != '+' && end && *end == '\0';
  if (!all_digits || errno == ERANGE || number > maximum) return std::nullopt;
  return number;
}

std::optional<Variant> ReadDWord(std::string_view text, std::string* error) {
  std::optional<uint64_t> number = ReadNumber(text, 0xFFFFFFFFull);
  if (!number) {
    *error = "A DWORD is a number from 0 to 4294967295, in decimal or as 0x followed by hex digits.";
    return std::nullopt;
  }
  return Variant::Long(static_cast<int32_t>(static_cast<uint32_t>(*number)));
}

// A QWORD goes to the control as its 8 bytes, little-endian, in hex.
std::optional<Variant> ReadQWord(std::string_view text, std::string* error) {
  std::optional<uint64_t> number = ReadNumber(text, UINT64_MAX);
  if (!number) {
    *error = "A QWORD is a number from 0 to 18446744073709551615, in decimal or as 0x followed by hex digits.";
    return std::nullopt;
  }
  std::string bytes;
  for (int i = 0; i < 8; ++i) bytes += static_cast<char>((*number >> (8 * i)) & 0xFF);
  return Variant::String(HexText(bytes, ""));
}

std::optional<Variant> ReadHex(std::string_view text, std::string* error) {
  std::string digits;
  for (char c : text) {
    if (c == ' ' || c == ',' || c == '\n' || c == '\t') continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) {
      *error = "Binary data is hex bytes such as \"0a ff 31\".";
      return std::nullopt;
    }
    digits += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (digits.size() % 2 != 0) {
    *error = "Binary data needs two hex digits a byte.";
    return std::nullopt;
  }
  return Variant::String(digits);
}

}  // namespace

std::string EditText(uint32_t type, std::string_view bytes) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return std::string(UpToTerminator(bytes));
    case REG_MULTI_SZ:
      return MultiStringLines(bytes);
    case REG_DWORD:
      return bytes.size() == 4 ? HexNumber(bytes) : HexText(bytes, " ");
    case REG_QWORD:
      return bytes.size() == 8 ? HexNumber(bytes) : HexText(bytes, " ");
    default:
      return HexText(bytes, " ");
  }
}

std::optional<Variant> ReadInput(uint32_t type, std::string_view text, std::string* error) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return Variant::String(std::string(text));
    case REG_MULTI_SZ:
      return ReadMultiString(text, error);
    case REG_DWORD:
      return ReadDWord(text, error);
    case REG_QWORD:
      return ReadQWord(text, error);
    default:
      return ReadHex(text, error);
  }
}

}  // namespace orvane::regedit::editor
