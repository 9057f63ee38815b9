// Values as reg's command line writes and reads them: type names
// (REG_SZ ...), the /d data text of `add` turned into the bytes the store
// keeps, and a value's bytes turned into the text `query` prints.
// Strings are ANSI bytes with their terminating NUL, as the store keeps
// them. Stateless; every function is safe to call from any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32_registry.h"

namespace orvane::reg {

// The type for its name (upper or lower case), or nothing for a type reg
// cannot write.
std::optional<DWORD> ParseTypeName(std::string_view name);

// "REG_SZ" ... ; "REG_UNKNOWN" for a type without a name.
std::string TypeName(DWORD type);

// The stored bytes for the data text `text` of type `type`. `separator`
// splits a REG_MULTI_SZ text into its strings ("\0", two characters, when
// none was given). Nothing when the text is not valid for the type (a
// number out of range, a non-hex binary text, an empty string inside a
// list; a separator at the very end only ends the list).
std::optional<std::string> ParseData(DWORD type, std::string_view text, std::string_view separator);

// The data as `query` prints it: strings up to their first NUL, a list's
// strings joined by `separator` ("\0", two characters, by default), numbers of their exact size (REG_DWORD,
// REG_QWORD, REG_DWORD_BIG_ENDIAN in its byte order) as 0x followed by
// lower-case hex, anything else as upper-case hex pairs.
std::string FormatData(DWORD type, std::string_view bytes, std::string_view separator = "\\0");

}  // namespace orvane::reg
