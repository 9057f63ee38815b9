// Test helper: a parsed registration file printed as lines, one per change
// and per message, so a test can compare the whole result at once.
//   open ROOT\path | delete ROOT\path | set "name" TYPE bytes | unset "name"
//   skip LINE | warn LINE
#pragma once

#include <string>
#include <string_view>

#include "tools/regedit/reg_file.h"

namespace orvane::regedit::testing {

std::string Dump(const RegFile& file);

// Parses `text` and dumps it; "bad header" when it is no registration file.
std::string ParseAndDump(std::string_view text);

// Bytes as lower-case hex pairs joined by commas.
std::string HexBytes(std::string_view bytes);

}  // namespace orvane::regedit::testing
