// REGEDIT4 output, one function per piece:
//
//   file      := "REGEDIT4" CRLF section* CRLF
//   section   := CRLF "[" full key path "]" CRLF value*        key names raw
//
// Names are written as the registry holds them, also bytes that are not
// UTF-8; the export then carries kRawBytesLine (code_page.h) after the
// header, so that the importer keeps those bytes.
//   value     := ( "@" | '"' escaped name '"' ) "=" data CRLF
//   data      := '"' escaped text '"'          REG_SZ up to its NUL
//              | "dword:" 8 lower-case hex digits   REG_DWORD of 4 bytes
//              | "hex:" bytes                  REG_BINARY
//              | "hex(" type "):" bytes        any other type, type in lower-case hex
//   bytes     := two lower-case hex digits per byte, comma-separated
//   escaped   := "\" as "\\", '"' as "\"", CR as "\r", LF as "\n"; all else raw
//
// Wrapping of bytes: a running column starts at the length of the name part
// and prefix; after each byte but the last come a comma and 3 columns; when
// the column reaches 77, a backslash, CR LF and two blanks follow and the
// column is 2. So the last byte never breaks, and no line ends in ",\"
// unless more bytes follow.
//
// Two choices beyond those editors: REG_SZ data that a quoted string cannot
// carry (no bytes at all, NULs inside, or bytes that are not UTF-8, which
// would make the reader take the file for Windows-1252) is written as
// hex(1) so that the
// value comes back unchanged; a REG_DWORD that is not 4 bytes long is
// written as hex(4).
#include "tools/regedit/reg_writer.h"

#include <cstdint>

#include "tools/regedit/code_page.h"

namespace orvane::regedit {
namespace {

constexpr size_t kWrapColumn = 77;
constexpr char kDigits[] = "0123456789abcdef";

void AppendHexByte(std::string* out, unsigned char byte) {
  out->push_back(kDigits[byte >> 4]);
  out->push_back(kDigits[byte & 0xf]);
}

// "hex(N):" with N in lower-case hex, no leading zeros.
std::string TypePrefix(DWORD type) {
  if (type == REG_BINARY) return "hex:";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[type & 0xf]);
    type >>= 4;
  } while (type != 0);
  return "hex(" + digits + "):";
}

}  // namespace

bool IsPlainString(std::string_view data) {
  const size_t nul = data.find('\0');
  return !data.empty() && (nul == std::string_view::npos || nul == data.size() - 1) && IsUtf8(data);
}

void RegWriter::WriteHeader() { out_->append("REGEDIT4\r\n"); }

void RegWriter::WriteKeyHeader(std::string_view path) {
  out_->append("\r\n[");
  out_->append(path);
  out_->append("]\r\n");
}

void RegWriter::WriteEnd() { out_->append("\r\n"); }

void RegWriter::WriteValue(std::string_view name, DWORD type, std::string_view data) {
  const size_t line_start = out_->size();
  WriteValueName(name);
  if (type == REG_SZ && IsPlainString(data)) {
    WriteStringData(data);
  } else if (type == REG_DWORD && data.size() == 4) {
    WriteDwordData(data);
  } else {
    WriteHexData(TypePrefix(type), data, line_start);
  }
  out_->append("\r\n");
}

void RegWriter::WriteValueName(std::string_view name) {
  if (name.empty()) {
    out_->append("@=");
    return;
  }
  if (!IsUtf8(name)) wrote_raw_names_ = true;
  out_->push_back('"');
  WriteEscaped(name);
  out_->append("\"=");
}

void RegWriter::WriteEscaped(std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '\\': out_->append("\\\\"); break;
      case '"': out_->append("\\\""); break;
      case '\r': out_->append("\\r"); break;
      case '\n': out_->append("\\n"); break;
      default: out_->push_back(c);
    }
  }
}

void RegWriter::WriteStringData(std::string_view data) {
  if (!data.empty() && data.back() == '\0') data.remove_suffix(1);
  out_->push_back('"');
  WriteEscaped(data);
  out_->push_back('"');
}

void RegWriter::WriteDwordData(std::string_view data) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(data[static_cast<size_t>(i)]);
  out_->append("dword:");
  for (int shift = 28; shift >= 0; shift -= 4) out_->push_back(kDigits[(value >> shift) & 0xf]);
}

void RegWriter::WriteHexData(std::string_view prefix, std::string_view data, size_t line_start) {
  out_->append(prefix);
  size_t column = out_->size() - line_start;
  out_->reserve(out_->size() + data.size() * 3 + data.size() / 8);
  for (size_t i = 0; i < data.size(); ++i) {
    AppendHexByte(out_, static_cast<unsigned char>(data[i]));
    if (i + 1 == data.size()) break;
    out_->push_back(',');
    column += 3;
    if (column >= kWrapColumn) {
      out_->append("\\\r\n  ");
      column = 2;
    }
  }
}

}  // namespace orvane::regedit
