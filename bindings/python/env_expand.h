// ExpandEnvironmentStrings as Windows does it: each %NAME% whose variable
// is set is replaced by its value; an unset one, and a % with no closing
// %, stay as written. Names are looked up as written first, then ignoring
// ASCII letter case (Windows' variables ignore case, Linux's do not).
#pragma once

#include <string>
#include <string_view>

namespace orvane::python {

std::string ExpandEnvironment(std::string_view text);

}  // namespace orvane::python
