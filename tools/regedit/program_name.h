// The program's own name, which starts its messages and its usage text.
// Header only.
#pragma once

namespace orvane::regedit {

inline constexpr char kProgramName[] = "orvane-regedit";

}  // namespace orvane::regedit
