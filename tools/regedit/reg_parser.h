// Reading a registration file (REGEDIT4, or "Windows Registry Editor Version
// 5.00" in UTF-16LE with a byte-order mark) into the changes it asks for.
// Parsing touches no registry; the result is applied by reg_import.h.
// Stateless; safe to call from any thread (one converter per call).
#pragma once

#include <string_view>

#include "tools/regedit/reg_file.h"

namespace orvane::regedit {

// Parses the whole file in `bytes`. Never throws for bad input: a bad
// header gives header_ok false and no operations; a malformed line is
// skipped with a message naming it, and no half-parsed value is kept.
RegFile ParseRegFile(std::string_view bytes);

// The same, handing each operation to `sink` as soon as it is complete
// instead of keeping it in the result.
RegFile ParseRegFile(std::string_view bytes, RegSink* sink);

}  // namespace orvane::regedit
