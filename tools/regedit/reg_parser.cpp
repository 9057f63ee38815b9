// Registration file grammar, as the Windows and Wine registry editors read it
// (blank = space or tab; a line ends at CR, LF or CR LF; the last line needs
// no line end):
//
//   file      := header EOL line*          a UTF-16LE file starts with FF FE
//   header    := blank* ( "REGEDIT4" | "Windows Registry Editor Version 5.00" )
//              | blank* "REGEDIT"          the Windows 3.1 form (see Win31Line)
//   line      := blank* ( section | delete | value | other )
//   section   := "[" root [ "\" path ] "]" junk     the name ends at the LAST "]"
//   delete    := "[-" root "\" path "]" junk        deletes the key and its subtree
//   value     := ( "@" | '"' name '"' ) blank* "=" blank* data   (reg_data.cpp)
//   other     := anything else: ";" and "#" lines are comments, the rest is skipped
//
// Roots are the six full names in any letter case; a blank after "[" makes
// the line unreadable, and it leaves the current key unchanged. A section
// with an unknown root leaves no current key, so the values after it are
// skipped. A hex list ending in "\" continues on the next line that is not
// blank or a ";" comment; that line must begin with a hex digit.
//
// A key or value name holding a NUL character (which would cut the name)
// skips its line; after such a section no key is current, so the values
// under it are skipped too rather than written elsewhere.
//
// Where Wine's reader gives up more than the bad line, this one does not:
// "\0" or a final backslash in string data skips only that line; a
// continuation line that does not start with a hex digit drops the pending
// value and is then read as an ordinary line; "[-" with an unknown root or a
// bare root is skipped rather than ending the import; a file that ends
// inside a continued hex list loses that value instead of storing part of it.
#include "tools/regedit/reg_parser.h"

#include <string>

#include "tools/regedit/code_page.h"
#include "tools/regedit/reg_data.h"
#include "tools/regedit/root_keys.h"

namespace orvane::regedit {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader31 = "REGEDIT";
constexpr std::string_view kUtf16Bom = "\xFF\xFE";

std::string_view TrimLeft(std::string_view s) {
  size_t pos = 0;
  while (pos < s.size() && IsBlank(s[pos])) ++pos;
  return s.substr(pos);
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The registry's names end at a NUL, so a name holding one would be cut:
// such a line is skipped instead.
constexpr const char* kNulInKeyName = "the key name holds a NUL character";

bool HasNul(std::string_view name) { return name.find('\0') != std::string_view::npos; }

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// A value whose hex list continues on later lines.
struct PendingValue {
  bool active = false;
  int line = 0;
  std::string name;
  DWORD type = REG_NONE;
  std::string bytes;
};

class Parser {
 public:
  explicit Parser(RegSink* sink) : sink_(sink) {}

  RegFile Run(std::string_view bytes) {
    std::string decoded;
    if (bytes.substr(0, 2) == kUtf16Bom) {
      file_.utf16 = true;
      decoded = Utf8FromUtf16Le(bytes.substr(2));
      bytes = decoded;
    }
    ForEachLine(bytes);
    // A file that ends inside a continued list was cut short: the value is
    // incomplete, so it is dropped (Wine stores the bytes read so far).
    if (pending_.active) DropPending("the file ends inside a continued hex list");
    return std::move(file_);
  }

 private:
  void ForEachLine(std::string_view text) {
    size_t pos = 0;
    do {
      size_t end = text.find_first_of("\r\n", pos);
      if (end == std::string_view::npos) end = text.size();
      const std::string_view line = Decoded(text.substr(pos, end - pos));
      if (++line_ == 1) {
        if (!Header(line)) return;
      } else {
        Line(line);
      }
      pos = end;
      if (pos < text.size() && text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
      if (pos < text.size()) ++pos;
    } while (pos < text.size());
  }

  // A line of an 8-bit file as UTF-8: as it is when it is UTF-8 or the
  // file said that its bytes are the registry's own, else converted from
  // Windows-1252. One line's bytes never decide how another line is read.
  std::string_view Decoded(std::string_view line) {
    if (file_.utf16 || raw_bytes_ || IsUtf8(line)) return line;
    file_.windows_1252 = true;
    converted_ = Utf8FromWindows1252(line);
    return converted_;
  }

  // False when the first line is no header: the file is then not read.
  bool Header(std::string_view line) {
    line = TrimLeft(line);
    win31_ = line == kHeader31;
    file_.header_ok = win31_ || line == kHeader4 || line == kHeader5;
    if (!file_.header_ok) Skip("not a registration file (the first line must be REGEDIT4 or Windows Registry Editor Version 5.00)");
    return file_.header_ok;
  }

  void Line(std::string_view line) {
    if (win31_) return Win31Line(line);
    if (pending_.active && Continuation(line)) return;
    const std::string_view text = TrimLeft(line);
    if (text.empty()) return;
    switch (text[0]) {
      case '[':
        return text.size() > 1 && text[1] == '-' ? DeleteSection(text) : Section(text);
      case '@':
      case '"':
        return ValueLine(text);
      case ';':
        if (text == kRawBytesLine) raw_bytes_ = true;
        return;
      case '#':
        return;
      default:
        if (text != kHeader4 && text != kHeader5) Skip("unrecognised line");
    }
  }

  void Section(std::string_view text) {
    const size_t close = text.rfind(']');
    if (close == std::string_view::npos) return Skip("the key name has no closing \"]\"");
    if (text.size() > 1 && IsBlank(text[1])) return Skip("a blank follows \"[\"");
    const std::string_view name = text.substr(1, close - 1);
    if (HasNul(name)) {
      have_key_ = false;
      return Skip(kNulInKeyName);
    }
    KeyPath key = SplitKeyPath(name);
    have_key_ = key.root != nullptr;
    if (!have_key_) return Skip("unknown root key in [" + std::string(name) + "]");
    RegOp op;
    op.kind = OpKind::kOpenKey;
    op.root = key.root;
    op.path = std::move(key.path);
    Emit(std::move(op));
  }

  void DeleteSection(std::string_view text) {
    have_key_ = false;
    const size_t close = text.rfind(']');
    if (close == std::string_view::npos) return Skip("the key name has no closing \"]\"");
    const std::string_view name = text.substr(2, close - 2);
    if (HasNul(name)) return Skip(kNulInKeyName);
    KeyPath key = SplitKeyPath(name);
    if (key.root == nullptr) return Skip("unknown root key in [-" + std::string(name) + "]");
    if (key.path.empty()) return Skip("a root key cannot be deleted");
    RegOp op;
    op.kind = OpKind::kDeleteKey;
    op.root = key.root;
    op.path = std::move(key.path);
    Emit(std::move(op));
  }

  void ValueLine(std::string_view text) {
    std::string name, error, warning;
    size_t pos = 1;
    if (text[0] == '"' && !ReadQuoted(text, &pos, &name, &error, &warning)) return Skip(error);
    if (HasNul(name)) return Skip("the value name holds a NUL character");
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos == text.size() || text[pos] != '=') return Skip("\"=\" is missing after the value name");
    const std::string_view data = TrimRight(TrimLeft(text.substr(pos + 1)));
    DataResult result = ParseValueData(data);
    if (!warning.empty() || !result.warning.empty()) Warn(warning.empty() ? result.warning : warning);
    if (result.status == DataStatus::kInvalid) return Skip(result.error);
    if (!data.empty() && data[0] == '"') result.bytes.push_back('\0');
    pending_ = PendingValue{true, line_, std::move(name), result.type, std::move(result.bytes)};
    if (result.status == DataStatus::kDelete) return FinishDelete();
    if (result.status == DataStatus::kDone) FinishPending(data[0] != '"');
  }

  // Handles `line` while a hex list is pending; false when the line was not
  // used and must be read as an ordinary line.
  bool Continuation(std::string_view line) {
    const std::string_view text = TrimLeft(line);
    if (text.empty() || text[0] == ';') return true;
    if (!IsHexDigit(text[0])) {
      DropPending("the continuation line does not start with a hex digit");
      return false;
    }
    std::string error;
    const DataStatus status = ReadHexList(text, &pending_.bytes, &error);
    if (status == DataStatus::kInvalid) {
      DropPending(error);
    } else if (status == DataStatus::kDone) {
      FinishPending();
    }
    return true;
  }

  // The Windows 3.1 form: "HKEY_CLASSES_ROOT\path [=] text" sets the default value.
  void Win31Line(std::string_view line) {
    if (line.substr(0, 17) != "HKEY_CLASSES_ROOT") return;
    size_t pos = line.find_first_of(" \t");
    if (HasNul(line.substr(0, pos))) return Skip(kNulInKeyName);
    KeyPath key = SplitKeyPath(line.substr(0, pos));
    if (key.root == nullptr) return;
    std::string_view rest = TrimLeft(pos == std::string_view::npos ? "" : line.substr(pos));
    if (!rest.empty() && rest[0] == '=') rest.remove_prefix(1);
    if (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);
    RegOp op;
    op.root = key.root;
    op.path = std::move(key.path);
    Emit(std::move(op));
    pending_ = PendingValue{true, line_, "", REG_SZ, std::string(rest) + '\0'};
    have_key_ = true;
    FinishPending(false);
  }

  void FinishPending(bool from_hex = true) {
    RegOp op;
    op.kind = OpKind::kSetValue;
    op.line = pending_.line;
    op.name = std::move(pending_.name);
    op.type = pending_.type;
    op.data = std::move(pending_.bytes);
    pending_.active = false;
    if (from_hex && IsStringType(op.type) && !op.data.empty()) op.data = HexText(std::move(op.data));
    if (!have_key_) return SkipAt(op.line, "no key section before this value");
    Deliver(std::move(op));
  }

  void FinishDelete() {
    pending_.active = false;
    if (!have_key_) return Skip("no key section before this value");
    RegOp op;
    op.kind = OpKind::kDeleteValue;
    op.name = std::move(pending_.name);
    Emit(std::move(op));
  }

  // String data given as hex: 8-bit text in an 8-bit file, its bytes as
  // they are (the line itself is ASCII, so nothing says they are another
  // code page; that is how an export keeps string data that is not UTF-8),
  // UTF-16LE in a UTF-16 file; either way with one terminator.
  std::string HexText(std::string data) {
    if (!file_.utf16) {
      if (data.back() != '\0') data.push_back('\0');
      return data;
    }
    if (data.size() % 2 != 0) data.push_back('\0');
    if (data[data.size() - 2] != '\0' || data.back() != '\0') data.append(2, '\0');
    return Utf8FromUtf16Le(data);
  }

  void DropPending(const std::string& why) {
    pending_.active = false;
    SkipAt(line_, why + "; the value of line " + std::to_string(pending_.line) + " was not imported");
  }

  void Emit(RegOp op) {
    op.line = line_;
    Deliver(std::move(op));
  }

  void Deliver(RegOp op) {
    if (sink_ != nullptr) {
      sink_->Apply(op);
    } else {
      file_.ops.push_back(std::move(op));
    }
  }

  void Skip(const std::string& why) { SkipAt(line_, why); }
  void SkipAt(int line, const std::string& why) { file_.messages.push_back({line, why, true}); }
  void Warn(const std::string& what) { file_.messages.push_back({line_, what, false}); }

  RegSink* sink_;
  RegFile file_;
  int line_ = 0;
  bool win31_ = false;
  bool have_key_ = false;
  bool raw_bytes_ = false;  // the file carried kRawBytesLine
  std::string converted_;   // the current line, converted from Windows-1252
  PendingValue pending_;
};

}  // namespace

RegFile ParseRegFile(std::string_view bytes) { return Parser(nullptr).Run(bytes); }

RegFile ParseRegFile(std::string_view bytes, RegSink* sink) { return Parser(sink).Run(bytes); }

}  // namespace orvane::regedit
