// Value data in a registration file, after "=" (blank = space or tab):
//
//   data      := "-" tail                       delete the value
//              | '"' quoted '"' tail            REG_SZ
//              | "dword:" blank* hex{1,8} tail  REG_DWORD, little-endian
//              | "dword:" blank* ";" ...        REG_DWORD 0 (accepted as Windows does)
//              | "hex:" hexlist                 REG_BINARY
//              | "hex(" hex* "):" hexlist       type given in hex ("hex():" is 0)
//   tail      := blank* [ ";" comment ]
//   quoted    := ( char | "\\" | "\"" | "\n" | "\r" | "\" other )*
//   hexlist   := item ( "," item )* [ "," ] [ blank* "\" tail ]   backslash: continued
//   item      := blank* hex+                    value at most ff
//
// Prefixes are case-sensitive. After a byte only a comma, the end, or blanks
// then the end or ";" may follow: "11 ,22", "11,,22", "11,22#c" and "44\"
// are invalid, and "#" never starts a comment after data.
#include "tools/regedit/reg_data.h"

#include <array>
#include <cstdint>

namespace orvane::regedit {
namespace {

enum class Prefix { kString, kDword, kHex, kHexType };

struct TypeTag {
  std::string_view text;
  Prefix prefix;
};

constexpr std::array<TypeTag, 4> kTypeTags = {{
    {"\"", Prefix::kString},
    {"dword:", Prefix::kDword},
    {"hex:", Prefix::kHex},
    {"hex(", Prefix::kHexType},
}};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

void SkipBlanks(std::string_view s, size_t* pos) {
  while (*pos < s.size() && IsBlank(s[*pos])) ++*pos;
}

// True when only blanks and possibly a ";" comment remain from `pos`.
bool AtTail(std::string_view s, size_t pos) {
  SkipBlanks(s, &pos);
  return pos == s.size() || s[pos] == ';';
}

// Reads hex digits from *pos into *value; false when there is none or the
// value passes `limit`.
bool ReadHexNumber(std::string_view s, size_t* pos, uint64_t limit, uint64_t* value) {
  const size_t start = *pos;
  *value = 0;
  for (; *pos < s.size() && IsHexDigit(s[*pos]); ++*pos) {
    *value = *value * 16 + static_cast<uint64_t>(HexValue(s[*pos]));
    if (*value > limit) return false;
  }
  return *pos > start;
}

DataResult Invalid(std::string error) {
  DataResult result;
  result.error = std::move(error);
  return result;
}

DataResult ParseString(std::string_view s) {
  DataResult result;
  size_t pos = 1;
  if (!ReadQuoted(s, &pos, &result.bytes, &result.error, &result.warning)) return result;
  if (!AtTail(s, pos)) return Invalid("unexpected text after the closing quote");
  result.status = DataStatus::kDone;
  result.type = REG_SZ;
  return result;
}

DataResult ParseDword(std::string_view s) {
  size_t pos = 0;
  SkipBlanks(s, &pos);
  DataResult result;
  result.type = REG_DWORD;
  uint64_t value = 0;
  const size_t start = pos;
  if (pos < s.size() && s[pos] == ';') {
    value = 0;
  } else if (!ReadHexNumber(s, &pos, 0xffffffffu, &value) || pos - start > 8) {
    return Invalid("a dword needs 1 to 8 hexadecimal digits");
  }
  if (!AtTail(s, pos)) return Invalid("a dword needs 1 to 8 hexadecimal digits");
  for (int i = 0; i < 4; ++i) result.bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
  result.status = DataStatus::kDone;
  return result;
}

DataResult ParseHex(std::string_view s, DWORD type) {
  DataResult result;
  result.type = type;
  result.status = ReadHexList(s, &result.bytes, &result.error);
  return result;
}

DataResult ParseHexType(std::string_view s) {
  size_t pos = 0;
  uint64_t type = 0;
  if (pos < s.size() && IsHexDigit(s[pos]) && !ReadHexNumber(s, &pos, 0xffffffffu, &type)) {
    return Invalid("the type number in hex(...) is too large");
  }
  if (s.substr(pos, 2) != "):") return Invalid("hex(...) needs a hexadecimal type number and \"):\"");
  return ParseHex(s.substr(pos + 2), static_cast<DWORD>(type));
}

DataResult ParseDelete(std::string_view s) {
  if (!AtTail(s, 1)) return Invalid("unexpected text after \"-\"");
  DataResult result;
  result.status = DataStatus::kDelete;
  return result;
}

}  // namespace

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool ReadQuoted(std::string_view s, size_t* pos, std::string* out, std::string* error, std::string* warning) {
  for (; *pos < s.size(); ++*pos) {
    const char c = s[*pos];
    if (c == '"') {
      ++*pos;
      return true;
    }
    if (c != '\\') {
      out->push_back(c);
      continue;
    }
    if (++*pos == s.size()) break;
    const char escaped = s[*pos];
    if (escaped == '0') {
      *error = "the escape \\0 is not allowed";
      return false;
    }
    if (escaped != '\\' && escaped != '"' && escaped != 'n' && escaped != 'r') {
      *warning = std::string("unrecognised escape sequence [\\") + escaped + "]";
    }
    out->push_back(escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped);
  }
  *error = "the closing quote is missing";
  return false;
}

DataStatus ReadHexList(std::string_view s, std::string* bytes, std::string* error) {
  size_t pos = 0;
  while (true) {
    SkipBlanks(s, &pos);
    if (pos == s.size() || s[pos] == ';') return DataStatus::kDone;
    if (s[pos] == '\\') {
      if (AtTail(s, pos + 1)) return DataStatus::kContinued;
      *error = "unexpected text after the continuation backslash";
      return DataStatus::kInvalid;
    }
    uint64_t value = 0;
    if (!ReadHexNumber(s, &pos, 0xff, &value)) {
      *error = "a byte must be one or two hexadecimal digits";
      return DataStatus::kInvalid;
    }
    bytes->push_back(static_cast<char>(value));
    if (pos < s.size() && s[pos] == ',') {
      ++pos;
    } else if (AtTail(s, pos)) {
      return DataStatus::kDone;
    } else {
      *error = "a byte must be followed by a comma";
      return DataStatus::kInvalid;
    }
  }
}

DataResult ParseValueData(std::string_view text) {
  if (!text.empty() && text[0] == '-') return ParseDelete(text);
  for (const TypeTag& tag : kTypeTags) {
    if (text.substr(0, tag.text.size()) != tag.text) continue;
    const std::string_view rest = text.substr(tag.text.size());
    switch (tag.prefix) {
      case Prefix::kString: return ParseString(text);
      case Prefix::kDword: return ParseDword(rest);
      case Prefix::kHex: return ParseHex(rest, REG_BINARY);
      case Prefix::kHexType: return ParseHexType(rest);
    }
  }
  return Invalid("unknown data type");
}

}  // namespace orvane::regedit
