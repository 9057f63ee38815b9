// How `Print` shows a value: one line per scalar, a header line and one
// line per element for an array. Rendering is a pure function of the value.
//   Empty | Null | Boolean True | Byte 161 | Integer 0 | Long -1
//   Double 4294967295 | String "a" & Chr(0) & "b"   (runtime/quoted_bytes.h)
//   Variant(0 To 1, 0 To 4)   then   "  (1, 4) = Long 1", last index fastest
#pragma once

#include <string>

#include "orvane/variant.h"

namespace quorvel {

// The lines of a value's rendering, each ending with a newline.
std::string Render(const orvane::Variant& value);

// The one-line rendering of a scalar, or the header line of an array.
std::string RenderScalar(const orvane::Variant& value);

// The shortest text that reads back to the same double; plain digits (no
// exponent) for magnitudes below 1e15.
std::string FormatDouble(double value);

// The type's name as the script language spells it: "Long", "Variant", ...
const char* TypeName(orvane::VarType type);

}  // namespace quorvel
