// How the editor shows a value: its name, its type and its data in the forms
// the platform's registry editor uses ("(Default)", "(value not set)",
// "REG_DWORD" data as "0x0000002a (42)", binary data as hex bytes). A name,
// key path or text that holds a control character (CR, LF, ESC, ...) is
// shown in the script form of tools/regedit/terminal_text.h ("a" & Chr(10)
// & "b"), so that none reaches the terminal. Stateless.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::regedit::editor {

// The name column: "(Default)" for the unnamed value, else the name.
std::string DisplayName(std::string_view name);

// A key's name or full path as the editor shows it.
std::string DisplayKey(std::string_view path);

// The type column: "REG_SZ", "REG_DWORD", ...; "0x0000000c" style for a
// type number without a name.
std::string DisplayType(uint32_t type);

// The data column for the stored bytes of a value of `type`: strings
// without their terminator, multi-strings with their entries separated by
// blanks (either shown as a whole in the script form when it holds a
// control character), DWORD as "0x0000002a (42)", QWORD likewise in 16 digits, anything
// else as lower-case hex bytes separated by blanks ("(zero-length binary
// value)" when there are none).
std::string DisplayData(uint32_t type, std::string_view bytes);

// What the data column shows for the unnamed value when it is not set.
inline constexpr const char* kValueNotSet = "(value not set)";

}  // namespace orvane::regedit::editor
