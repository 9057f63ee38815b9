// How the script language classifies a name: keyword, member of the
// control, enumeration constant or builtin function; whatever is none of
// these is a variable. Every comparison ignores ASCII letter case.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "orvane/dispatch.h"

namespace quorvel {

bool SameName(std::string_view a, std::string_view b);

// The key under which a variable or control is kept: the name in lower case.
std::string NameKey(std::string_view name);

// Words of the language itself: Print, Call, Set, New, Nothing, Help, True,
// False, Empty, Null, Err, Save, Resize.
bool IsKeyword(std::string_view name);
std::span<const std::string_view> Keywords();

// Properties the host itself gives every control (its extender): Width
// and Height, the extent the control is shown at.
bool IsExtenderProperty(std::string_view name);
std::span<const std::string_view> ExtenderProperties();

// The enumeration member of that name, or nullptr.
const orvane::EnumConstant* FindConstant(std::string_view name);

// True when the name can hold a variable or a control: not a keyword, a
// builtin, a member of the control, an extender property or a constant.
bool IsVariableName(std::string_view name);

}  // namespace quorvel
