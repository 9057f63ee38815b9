// The data part of a value line in a registration file (what follows "=")
// and the continuation lines of a hex list. Works on ANSI text; knows
// nothing of keys or of the file's encoding.
// Stateless; every function is safe to call from any thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32_registry.h"

namespace orvane::regedit {

enum class DataStatus {
  kDone,       // the value is complete
  kContinued,  // a hex list goes on on the next line
  kDelete,     // the line deletes the value ("-")
  kInvalid,    // the line is skipped; `error` says why
};

struct DataResult {
  DataStatus status = DataStatus::kInvalid;
  DWORD type = REG_NONE;
  std::string bytes;     // strings: the text without terminator; others: the bytes
  std::string error;     // why the line is invalid
  std::string warning;   // a doubtful part that was accepted (an unknown escape)
};

// Parses `text`, the data after "=" and its blanks, trailing blanks removed.
DataResult ParseValueData(std::string_view text);

// Reads a quoted text from `s`, starting just after the opening quote, with
// the escapes \\ \" \n \r; any other escaped character stands for itself
// (noted in *warning). On success *pos is just past the closing quote.
// False with *error set for a missing closing quote, \0, or a backslash at
// the end.
bool ReadQuoted(std::string_view s, size_t* pos, std::string* out, std::string* error, std::string* warning);

// Appends the bytes of a hex list (comma-separated hex bytes, optionally a
// final backslash asking for a continuation line) to *bytes.
DataStatus ReadHexList(std::string_view s, std::string* bytes, std::string* error);

bool IsBlank(char c);
bool IsHexDigit(char c);

}  // namespace orvane::regedit
