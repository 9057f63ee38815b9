#include "store/wine/wine_reg_file.h"

#include <cstdio>

#include "runtime/utf8_append.h"
#include "store/store_failure.h"

namespace orvane::platform::wine {
namespace {

constexpr std::string_view kMagic = "WINE REGISTRY Version 2";
constexpr std::string_view kRootLine = ";; All keys relative to ";
constexpr uint32_t kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The character of the UTF-8 sequence at text[*at] (advancing *at), or -1
// for a byte that begins no valid sequence (*at then stays).
int32_t DecodeUtf8(std::string_view text, size_t* at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(*at);
  const size_t length = lead >= 0xF0 && lead < 0xF5 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || *at + length > text.size()) return -1;
  uint32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(*at + i) & 0xC0) != 0x80) return -1;
    code = (code << 6) | (byte(*at + i) & 0x3F);
  }
  if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))) return -1;
  *at += length;
  return static_cast<int32_t>(code);
}

void AppendUnit(std::string& out, char16_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

// Wine's string escapes (as its dump_strW): `special` characters and the
// backslash get a backslash, control characters C or octal escapes, units
// beyond ASCII \x escapes; a terminating zero is left out.
std::string Escape(std::u16string_view units, std::string_view special) {
  static constexpr std::string_view kEscapes = ".......abtnvfr.............e....";
  std::string out;
  char buffer[16];
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    const bool more = i + 1 < units.size();
    if (unit > 127) {
      const bool hex_next = more && units[i + 1] < 128 && HexDigit(static_cast<char>(units[i + 1])) >= 0;
      std::snprintf(buffer, sizeof buffer, hex_next ? "\\x%04x" : "\\x%x", static_cast<unsigned>(unit));
      out += buffer;
    } else if (unit < 32) {
      if (unit == 0 && !more) continue;
      if (kEscapes[unit] != '.') {
        out += '\\';
        out += kEscapes[unit];
      } else {
        const bool octal_next = more && units[i + 1] >= u'0' && units[i + 1] <= u'7';
        std::snprintf(buffer, sizeof buffer, octal_next ? "\\%03o" : "\\%o", static_cast<unsigned>(unit));
        out += buffer;
      }
    } else {
      const char c = static_cast<char>(unit);
      if (c == '\\' || special.find(c) != std::string_view::npos) out += '\\';
      out += c;
    }
  }
  return out;
}

// Reads an escaped string from line[*at] up to the unescaped `end` (which
// is consumed). False when the line ends first.
bool Unescape(std::string_view line, size_t* at, char end, std::u16string* out) {
  size_t i = *at;
  while (i < line.size() && line[i] != end) {
    const char c = line[i];
    if (c == '\\' && i + 1 < line.size()) {
      const char e = line[++i];
      static constexpr std::string_view kFrom = "abefnrtv", kTo = "\a\b\x1b\f\n\r\t\v";
      if (const size_t k = kFrom.find(e); k != std::string_view::npos) {
        out->push_back(static_cast<char16_t>(kTo[k]));
        ++i;
      } else if (e == 'x' && i + 1 < line.size() && HexDigit(line[i + 1]) >= 0) {
        uint32_t unit = 0;
        for (int n = 0; n < 4 && i + 1 < line.size() && HexDigit(line[i + 1]) >= 0; ++n) {
          unit = unit * 16 + static_cast<uint32_t>(HexDigit(line[++i]));
        }
        out->push_back(static_cast<char16_t>(unit));
        ++i;
      } else if (e >= '0' && e <= '7') {
        uint32_t unit = 0;
        for (int n = 0; n < 3 && i < line.size() && line[i] >= '0' && line[i] <= '7'; ++n)
          unit = unit * 8 + (line[i++] - '0');
        out->push_back(static_cast<char16_t>(unit));
      } else {
        out->push_back(static_cast<unsigned char>(e));
        ++i;
      }
    } else if (static_cast<unsigned char>(c) < 0x80) {
      out->push_back(static_cast<char16_t>(c));
      ++i;
    } else {
      // Wine reads characters beyond ASCII as UTF-8.
      const size_t start = i;
      if (DecodeUtf8(line, &i) < 0) ++i;
      *out += Utf8ToUtf16(line.substr(start, i - start));
    }
  }
  if (i >= line.size()) return false;
  *at = i + 1;
  return true;
}

bool ParseHexNumber(std::string_view text, size_t* at, uint64_t* number) {
  size_t i = *at;
  uint64_t value = 0;
  while (i < text.size() && HexDigit(text[i]) >= 0 && i - *at < 16) value = value * 16 + HexDigit(text[i++]);
  if (i == *at) return false;
  *at = i;
  *number = value;
  return true;
}

bool StartsWith(std::string_view text, size_t at, std::string_view prefix) {
  return text.substr(at, prefix.size()) == prefix;
}

// Parses the data of a value line (after "name="), whose continuation lines
// follow in `text`. False when it is not a value Wine writes.
bool ParseData(std::string_view text, size_t at, WineValue* value) {
  uint64_t type = kRegSz;
  if (StartsWith(text, at, "str(")) {
    at += 4;
    if (!ParseHexNumber(text, &at, &type) || !StartsWith(text, at, "):")) return false;
    at += 2;
  }
  if (StartsWith(text, at, "\"")) {
    std::u16string units;
    ++at;
    if (!Unescape(text, &at, '"', &units)) return false;
    units.push_back(u'\0');
    value->type = static_cast<uint32_t>(type);
    for (char16_t unit : units) AppendUnit(value->data, unit);
    return text.find_first_not_of("\r\n", at) == std::string_view::npos;
  }
  if (StartsWith(text, at, "dword:")) {
    at += 6;
    uint64_t number = 0;
    if (!ParseHexNumber(text, &at, &number) || number > 0xFFFFFFFF) return false;
    value->type = kRegDword;
    for (int shift = 0; shift < 32; shift += 8) value->data += static_cast<char>((number >> shift) & 0xFF);
    return text.find_first_not_of("\r\n", at) == std::string_view::npos;
  }
  if (StartsWith(text, at, "hex:")) {
    type = kRegBinary;
    at += 4;
  } else if (StartsWith(text, at, "hex(")) {
    at += 4;
    if (!ParseHexNumber(text, &at, &type) || type > 0xFFFFFFFF || !StartsWith(text, at, "):")) return false;
    at += 2;
  } else {
    return false;
  }
  value->type = static_cast<uint32_t>(type);
  while (at < text.size()) {
    const char c = text[at];
    if (c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++at;
    } else if (c == '\\' && at + 1 < text.size() && (text[at + 1] == '\n' || text[at + 1] == '\r')) {
      ++at;
    } else if (at + 1 < text.size() && HexDigit(c) >= 0 && HexDigit(text[at + 1]) >= 0) {
      value->data += static_cast<char>(HexDigit(c) * 16 + HexDigit(text[at + 1]));
      at += 2;
    } else {
      return false;
    }
  }
  return true;
}

// Parses a value's lines ("@=..." or "\"name\"=..."). False when they are
// not a value.
bool ParseValue(std::string_view text, WineValue* value) {
  size_t at = 0;
  if (StartsWith(text, 0, "@=")) {
    at = 2;
  } else {
    std::u16string name;
    at = 1;
    if (!Unescape(text, &at, '"', &name) || !StartsWith(text, at, "=")) return false;
    value->name = Utf16ToUtf8(name);
    ++at;
  }
  return ParseData(text, at, value);
}

// Parses "[path] seconds"; the key's time comes from the seconds until a
// #time= line gives it exactly.
bool ParseKeyLine(std::string_view line, WineKey* key) {
  size_t at = 1;
  std::u16string path;
  if (!Unescape(line, &at, ']', &path)) return false;
  // Names are separated by a backslash; empty ones are skipped.
  for (const char c : Utf16ToUtf8(path)) {
    if (c == '\\' && (key->path.empty() || key->path.back() == '\\')) continue;
    key->path += c;
  }
  if (!key->path.empty() && key->path.back() == '\\') key->path.pop_back();
  while (at < line.size() && line[at] == ' ') ++at;
  uint64_t seconds = 0;
  size_t digits = at;
  while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') {
    seconds = seconds * 10 + static_cast<uint64_t>(line[digits++] - '0');
  }
  key->modif = static_cast<int64_t>(seconds) * 10'000'000 + kTicks1601To1970;
  return true;
}

// Reads one line of a key's section into `key`: an option line, a value,
// or a line kept as it is.
void ParseSectionLine(std::string_view line, WineKey* key) {
  size_t at = 0;
  uint64_t time = 0;
  if (StartsWith(line, 0, "#time=") && (at = 6, ParseHexNumber(line, &at, &time))) {
    key->modif = static_cast<int64_t>(time);
    return;
  }
  if (StartsWith(line, 0, "#class=\"")) {
    std::u16string name;
    at = 8;
    if (Unescape(line, &at, '"', &name)) {
      key->class_name = Utf16ToUtf8(name);
      return;
    }
  }
  if (line == "#link\n" || line == "#link") {
    key->link = true;
    return;
  }
  WineValue value;
  if ((line[0] == '@' || line[0] == '"') && ParseValue(line, &value)) {
    value.text = std::string(line);
    key->values.push_back(std::move(value));
    return;
  }
  key->other_lines.emplace_back(line);
}

// The next line of `bytes` from *at, with its newline; a hex value's
// continuation lines (after a trailing backslash) belong to it.
std::string_view NextLine(std::string_view bytes, size_t* at, bool join_continuations) {
  size_t end = *at;
  for (;;) {
    end = bytes.find('\n', end);
    end = end == std::string_view::npos ? bytes.size() : end + 1;
    const std::string_view line = bytes.substr(*at, end - *at);
    const size_t last = line.find_last_not_of("\r\n");
    if (!join_continuations || end >= bytes.size() || last == std::string_view::npos || line[last] != '\\') break;
  }
  const std::string_view line = bytes.substr(*at, end - *at);
  *at = end;
  return line;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string units;
  units.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      units.push_back(byte);
      ++at;
      continue;
    }
    const int32_t code = DecodeUtf8(text, &at);
    if (code < 0) {
      units.push_back(static_cast<char16_t>(0xDC00 | byte));  // a lone byte, kept (Utf16ToUtf8)
      ++at;
    } else if (code >= 0x10000) {
      units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(code));
    }
  }
  return units;
}

std::u16string UnitsOf(std::string_view data) {
  std::u16string units(data.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(data[2 * i]) |
                                     (static_cast<unsigned char>(data[2 * i + 1]) << 8));
  }
  return units;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string text;
  text.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
      AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xDC80 && unit < 0xDD00) {
      text += static_cast<char>(unit & 0xFF);  // a byte that was not UTF-8
    } else {
      AppendUtf8(text, unit);
    }
  }
  return text;
}

WineRegFile ParseWineRegFile(std::string_view bytes) {
  size_t at = 0;
  const std::string_view magic = NextLine(bytes, &at, false);
  if (magic.substr(0, magic.find_last_not_of("\r\n") + 1) != kMagic) {
    throw StoreStatusError(1009, "not a Wine registry file (no \"" + std::string(kMagic) + "\" line)");
  }
  WineRegFile file;
  WineKey* key = nullptr;
  size_t section_start = 0;
  size_t blank_before = std::string_view::npos;  // where the blank line before the next key began
  const auto close_section = [&](size_t end) {
    if (key != nullptr)
      key->text = std::string(bytes.substr(section_start, end - section_start));
    else
      file.header = std::string(bytes.substr(0, end));
  };
  while (at < bytes.size()) {
    const size_t line_start = at;
    const std::string_view line = NextLine(bytes, &at, key != nullptr);
    if (line[0] == '[') {
      close_section(blank_before != std::string_view::npos ? blank_before : line_start);
      WineKey next;
      if (!ParseKeyLine(line, &next)) throw StoreStatusError(1009, "a key line without its \"]\"");
      file.keys.push_back(std::move(next));
      key = &file.keys.back();
      section_start = line_start;
      blank_before = std::string_view::npos;
      continue;
    }
    const bool blank = line.find_first_not_of("\r\n") == std::string_view::npos;
    if (blank) {
      if (blank_before == std::string_view::npos) blank_before = line_start;
      continue;
    }
    if (blank_before != std::string_view::npos && key != nullptr) {
      // Blank lines inside a section are lines we keep as they are.
      key->other_lines.emplace_back(bytes.substr(blank_before, line_start - blank_before));
    }
    blank_before = std::string_view::npos;
    if (key == nullptr) {
      if (StartsWith(line, 0, kRootLine)) {
        std::u16string root;
        size_t from = kRootLine.size();
        std::string_view rest = line.substr(0, line.find_last_not_of("\r\n") + 1);
        std::string with_end(rest);
        with_end += '\n';
        Unescape(with_end, &from, '\n', &root);
        file.root = Utf16ToUtf8(root);
      }
      continue;
    }
    ParseSectionLine(line, key);
  }
  close_section(bytes.size());
  return file;
}

std::string FormatWineValue(const WineValue& value) {
  std::string out = "@=";
  if (!value.name.empty()) out = std::string("\"").append(Escape(Utf8ToUtf16(value.name), "\"")).append("\"=");
  size_t count = out.size();
  const std::string_view data = value.data;
  const bool string_type = value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz;
  if (string_type && data.size() >= 2 && data.size() % 2 == 0 && data[data.size() - 1] == 0 &&
      data[data.size() - 2] == 0) {
    char prefix[32] = "";
    if (value.type != kRegSz) std::snprintf(prefix, sizeof prefix, "str(%x):", value.type);
    return out + prefix + "\"" + Escape(UnitsOf(data), "\"") + "\"\n";
  }
  if (value.type == kRegDword && data.size() == 4) {
    uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(data[static_cast<size_t>(i)]);
    char line[24];
    std::snprintf(line, sizeof line, "dword:%08x\n", static_cast<unsigned>(number));
    return out + line;
  }
  char prefix[32] = "hex:";
  if (value.type != kRegBinary) std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
  out += prefix;
  count += std::string_view(prefix).size();
  static constexpr char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < data.size(); ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
    count += 2;
    if (i + 1 < data.size()) {
      out += ',';
      if (++count > 76) {
        out += "\\\n  ";
        count = 2;
      }
    }
  }
  return out + "\n";
}

std::string FormatWineKey(const WineKey& key) {
  std::string path;
  size_t from = 0;
  while (from <= key.path.size() && !key.path.empty()) {
    const size_t end = std::min(key.path.find('\\', from), key.path.size());
    if (!path.empty()) path += "\\\\";
    path += Escape(Utf8ToUtf16(std::string_view(key.path).substr(from, end - from)), "[]");
    from = end + 1;
  }
  char times[64];
  std::snprintf(times, sizeof times, "] %u\n#time=%x%08x\n", static_cast<unsigned>(UnixSeconds(key.modif)),
                static_cast<unsigned>(static_cast<uint64_t>(key.modif) >> 32),
                static_cast<unsigned>(key.modif & 0xFFFFFFFF));
  std::string out = "[" + path + times;
  if (key.class_name) out += "#class=\"" + Escape(Utf8ToUtf16(*key.class_name), "\"") + "\"\n";
  if (key.link) out += "#link\n";
  for (const std::string& line : key.other_lines) out += line;
  for (const WineValue& value : key.values) out += value.text.empty() ? FormatWineValue(value) : value.text;
  return out;
}

std::string FormatWineRegFile(const WineRegFile& file) {
  std::string out = file.header;
  for (const WineKey& key : file.keys) {
    out += '\n';
    out += key.text.empty() ? FormatWineKey(key) : key.text;
  }
  return out;
}

std::string WineRegHeader(std::string_view root) {
  return std::string(kMagic) + "\n" + std::string(kRootLine) + Escape(Utf8ToUtf16(root), "") + "\n\n#arch=win64\n";
}

}  // namespace orvane::platform::wine
