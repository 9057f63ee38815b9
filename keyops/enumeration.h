// Listing a key's contents in one array: every value with its data and
// type (GetAllValues), or the names of its direct sub-keys (GetAllKeys).
// Stateless; each call opens and closes its key. The value table's rows
// have the layout that WriteAllValues (bulk_write.h) accepts.
#pragma once

#include <string>

#include "orvane/variant.h"
#include "platform/win32_registry.h"

namespace orvane {

// Columns of a value table row.
inline constexpr int32_t kValueNameColumn = 0;
inline constexpr int32_t kValueDataColumn = 1;
inline constexpr int32_t kValueTypeColumn = 2;

// Every value of `path` under `root`, in enumeration order, as a 2-D
// Variant array (0 To n-1, 0 To 2): name, data, type number (Long). Data:
// type 1 the text without its terminator, trimmed of spaces at both ends
// (Empty for zero bytes); type 2 the text without its terminator, with
// its first %NAME% reference expanded when `expand`; type 4 a Long; type
// 7 the entries joined by "|"; any other type upper-case hexadecimal text.
// Empty when the key has no values or refuses access (status 5); any
// other open failure is raised (60002 for a missing key).
Variant ReadAllValues(HKEY root, const std::string& path, bool expand);

// The names of the direct sub-keys of `path` under `root`, in enumeration
// order, as a 1-D Variant array (0 To n-1) of Strings, however many there
// are. Empty and raising exactly as ReadAllValues.
Variant ReadAllKeys(HKEY root, const std::string& path);

}  // namespace orvane
