// The rules that tie the control's Value to its ValueType: the value a new
// type starts with, the check a new value must pass, and the text form of
// binary data (hexadecimal digits, two per byte, no separators).
#pragma once

#include <cstdint>
#include <string_view>

#include "orvane/variant.h"
#include "registry/hex_text.h"  // IsHexString

namespace orvane {

// The Value a control takes when its ValueType becomes `type`: the empty
// string for 1, 2 and 7, the Integer 0 for 4, the string "00" otherwise.
Variant DefaultValueForType(int32_t type);

// Raises 60007 when `value` does not suit `type`: for 4, a value greater
// than 4294967295 (compared as numbers; text that is no number raises the
// runtime's 13, Null its 94); for a type other than 1, 2, 4 and 7, a value
// whose text fails IsHexString (an array raises 13). Strings for 1, 2 and 7
// are not tested.
void CheckValueForType(const Variant& value, int32_t type);

}  // namespace orvane
