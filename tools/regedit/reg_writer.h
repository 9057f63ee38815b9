// Writing REGEDIT4 text: the header, key sections and value lines, exactly
// as the Windows and Wine registry editors write them (CR LF line ends, hex
// data wrapped at 77 columns). Appends to a caller-owned string; one writer
// per output, not shareable between threads.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32_registry.h"

namespace orvane::regedit {

class RegWriter {
 public:
  explicit RegWriter(std::string* out) : out_(out) {}

  // "REGEDIT4" and its line end.
  void WriteHeader();
  // An empty line, then "[path]".
  void WriteKeyHeader(std::string_view path);
  // One value: "@=" or "\"name\"=", then the data in the form of its type.
  void WriteValue(std::string_view name, DWORD type, std::string_view data);
  // The empty line that ends the file.
  void WriteEnd();
  // Whether a value name written, or a key name the caller noted, was not
  // UTF-8 (it is written as it is: the file then needs kRawBytesLine to
  // read back the same). Key paths are not examined here: the caller sees
  // each name once, not each path of a deep tree.
  bool wrote_raw_names() const { return wrote_raw_names_; }
  void NoteRawKeyName() { wrote_raw_names_ = true; }

 private:
  void WriteValueName(std::string_view name);
  void WriteEscaped(std::string_view text);
  void WriteStringData(std::string_view data);
  void WriteDwordData(std::string_view data);
  // `prefix` is "hex:" or "hex(N):"; `line_start` is where the line began.
  void WriteHexData(std::string_view prefix, std::string_view data, size_t line_start);

  std::string* out_;
  bool wrote_raw_names_ = false;
};

// True when REG_SZ `data` is written as a quoted string; other REG_SZ data
// (no bytes at all, a NUL before the last byte, or bytes that are not
// UTF-8) are written as hex(1), which every reader takes back byte for byte.
bool IsPlainString(std::string_view data);

}  // namespace orvane::regedit
