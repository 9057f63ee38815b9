// The text a value's editor starts with and the reading of what was typed,
// by type: string and expandable string as typed, multi-string one entry a
// line, DWORD and QWORD in decimal or hexadecimal ("0x" in front; a QWORD
// goes to the control as its 8 bytes in hex), binary and other
// types as hex bytes (blanks and commas between them are ignored).
// Stateless.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "orvane/variant.h"

namespace orvane::regedit::editor {

// The text the editor of a value of `type` holding `bytes` starts with.
std::string EditText(uint32_t type, std::string_view bytes);

// What was typed, read as the control's form of data of `type` (a String
// for texts, hex and a QWORD's bytes, a Long bit pattern for a DWORD). Empty with *error set
// when the text does not fit the type.
std::optional<Variant> ReadInput(uint32_t type, std::string_view text, std::string* error);

// True for the types whose editor takes several lines.
inline bool IsMultiLineType(uint32_t type) { return type == 7; }

}  // namespace orvane::regedit::editor
