// Writing a whole table of values into one key (SetAllValues) and a list
// of keys below one key (SetAllKeys), each journalled as one undo record.
// Stateless; the value table has the row layout ReadAllValues returns.
#pragma once

#include <cstdint>
#include <string>

#include "orvane/variant.h"
#include "platform/win32_registry.h"

namespace orvane {

// Writes every row of `table` (a 2-D array: rows along the first dimension,
// any bounds; columns 0 name, 1 data, 2 type number) into `path` under
// `root`, in row order, with `mode` as the value writer takes it (0 create
// the key if needed, 1 the key must exist, others write nothing).
// Everything is checked before anything is written: 9 for a table that is
// not 2-D, has no rows or lacks column 0, 1 or 2; the runtime's own error
// for a name, type or 32-bit number that does not convert; 60007 for a
// row of type 3, 5, 6 or above 7 whose data is not hexadecimal text, and,
// in modes 0 and 1, for a name holding a NUL or longer than 16,383 UTF-16
// units or data over kMaxValueDataSize; 60002 for mode 1 on a missing
// key. Other modes write and record nothing. With `record`: refuses with
// 60131 a key that holds the temporary undo key (its saved copy would land
// inside itself), parks a copy of an existing key in the temporary undo
// key, and after the writes hands ValuesSet (existing key) or
// ValuesSetKeyCreated to the journal. A write that fails all the same ends
// the call with its error and nothing is recorded; on Linux the rows
// before it are taken back too (the system registry of Windows cannot).
void WriteAllValues(HKEY root, const std::string& path, const Variant& table, uint8_t mode, bool record);

// Creates each key of `list` (a 1-D array of relative key paths, any
// bounds) below `path` under `root`, with missing keys above it. Each
// element is replaced by its full path below the root, trimmed of one
// backslash at either end. 9 for a list that is not 1-D or has no
// elements, 60007 for an element holding a NUL (before anything changes,
// the list included); a key that cannot be created raises its status and ends the
// call (earlier keys stay, nothing is recorded). With `record`, hands
// KeysCreated to the journal with the distinct topmost keys the call
// created, in first-appearance order; keys that existed add no entry, and
// a call that created nothing records one entry with an empty path, which
// names no key to delete.
void WriteAllKeys(HKEY root, const std::string& path, Variant& list, bool record);

}  // namespace orvane
