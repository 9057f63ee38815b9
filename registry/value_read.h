// Reading one value into the control's text or number form: strings as
// text, 32-bit numbers as Long, binary and unknown types as hexadecimal
// text (unknown types read as Empty). Stateless; each call opens and
// closes what it needs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "orvane/variant.h"
#include "platform/win32_registry.h"

namespace orvane {

// Size in bytes and registry type of a value, both -1 when the value
// cannot be queried (missing value, closed key, ...).
struct ValueInfo {
  int64_t size = -1;
  int64_t type = -1;
  bool found() const { return size != -1 && type != -1; }
};

// Replaces the first %NAME% reference of `text` when NAME has a non-empty
// value in the environment. Only the first reference is considered: a
// later one, or a first one naming an unset variable, stays as written.
// Two adjacent percent signs name no variable and stay as they are.
std::string ExpandFirstReference(std::string text);

// Turns the raw data of a multi-string into its "|"-joined form: the list
// and last entry terminators dropped where present (see multi_string.h),
// every other zero byte a separator.
std::string JoinMultiString(std::string_view data);

// Queries a value's size and type without its data. Never raises.
ValueInfo QueryValueType(HKEY key, const std::string& name);

// Reads a string value (types 1, 2, 7) of `size` bytes: the text without
// its terminator; for type 2 with `expand`, the first %NAME% reference
// replaced by the environment's non-empty value of NAME; for type 7 the
// entries joined by "|"; data of any other type as its bytes. Empty when
// the read fails.
Variant ReadStringValue(HKEY key, const std::string& name, int64_t type, int64_t size, bool expand);

// Reads up to 4 bytes as a little-endian signed Long; Empty when the data
// does not fit 4 bytes or the read fails.
Variant ReadDWordValue(HKEY key, const std::string& name, int64_t type, int64_t size);

// Reads `size` bytes as lower-case hexadecimal text, two digits a byte;
// Empty when the read fails.
Variant ReadBinaryValue(HKEY key, const std::string& name, int64_t type, int64_t size);

// The value `name` of the key `path` under `root` in its text or number
// form. Raises the open status when the key cannot be opened (60002 for a
// missing key) and 60009 when the value does not exist; a value of a type
// other than 1, 2, 3, 4, 7, or whose data cannot be read, gives Empty.
Variant ReadValue(HKEY root, const std::string& path, const std::string& name);

}  // namespace orvane
