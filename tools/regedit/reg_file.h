// A parsed registration file: the registry changes it asks for, in file
// order, and the messages about lines that were skipped or only partly
// understood. A plain value; the parser builds it, the importer applies it.
#pragma once

#include <string>
#include <vector>

#include "platform/win32_registry.h"

namespace orvane::regedit {

enum class OpKind {
  kOpenKey,      // create (with missing parents) and make current; later values go there
  kDeleteKey,    // delete the key and its whole subtree; no key is current afterwards
  kSetValue,     // set `name` to `type` and `data` in the current key
  kDeleteValue,  // delete `name` from the current key; a missing value is fine
};

struct RegOp {
  OpKind kind = OpKind::kOpenKey;
  int line = 0;
  HKEY root = nullptr;   // key operations: one of the six roots
  std::string path;      // key operations: the path below the root, "" for the root
  std::string name;      // value operations: "" is the default value
  DWORD type = REG_NONE;
  std::string data;      // the value's bytes as the registry keeps them (ANSI text)
};

struct RegMessage {
  int line = 0;
  std::string text;
  bool skipped = false;  // true when something on the line was not imported
};

// Receives the operations of a file as the reader finds them, so that a
// large file is applied without holding all of them; `op` is valid only
// during the call.
class RegSink {
 public:
  virtual ~RegSink() = default;
  virtual void Apply(const RegOp& op) = 0;
};

struct RegFile {
  bool header_ok = false;  // false: not a registration file, no operations
  bool utf16 = false;      // the file began with the UTF-16LE byte-order mark
  bool windows_1252 = false;  // some line of an 8-bit file was not UTF-8 and read as Windows-1252
  std::vector<RegOp> ops;  // empty when the operations went to a sink
  std::vector<RegMessage> messages;

  // True when a line was skipped (or the header was bad).
  bool HasSkippedLines() const {
    if (!header_ok) return true;
    for (const RegMessage& message : messages) {
      if (message.skipped) return true;
    }
    return false;
  }
};

}  // namespace orvane::regedit
