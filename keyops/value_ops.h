// Deleting, copying, moving and renaming one value, optionally journalled
// for undo: RemoveValue and TransferValue (shared by the value methods, the
// value writer's parking and undo), the raw byte copy CopyValueData, and
// the check of the CopyValue and MoveValue methods. Stateless.
#pragma once

#include <string>

#include "keyops/key_transfer.h"  // TransferOperation
#include "platform/win32_registry.h"

namespace orvane {

// Whether the value `name` of `path` under `root` is stored at all (a
// default value holding only the empty string included). Never raises.
bool ValueStored(HKEY root, const std::string& path, const std::string& name);

// The name of the value `name` of `path` under `root` spelled as it is
// stored (names match without regard to letter case); `name` itself when
// there is no such value. Never raises.
std::string StoredValueName(HKEY root, const std::string& path, const std::string& name);

// Copies the value into the temporary undo key (created if missing) under
// its stored spelling, so that undo brings back the name as it was. A
// refused copy is ignored. Never raises.
void ParkValue(HKEY root, const std::string& path, const std::string& name);

// Copies the value's type and bytes exactly to the destination value,
// creating the destination key and its missing parents; an existing value
// of that name is replaced. Returns the first failing registry status (0
// when copied); never raises.
LONG CopyValueData(HKEY source_root, const std::string& source_path, const std::string& source_name,
                   HKEY destination_root, const std::string& destination_path,
                   const std::string& destination_name);

// Deletes the value `name` of `path` under `root`. Raises the open status
// (60002 for a missing key) and the deletion status (60002 for a missing
// value). With `record`, the value is parked in the temporary undo key
// first (that key is not emptied) and ValueDeleted goes to the journal.
void RemoveValue(HKEY root, const std::string& path, const std::string& name, bool record);

// Copies (kCopy), moves (kMove) or renames (kRename) a value to another
// root, key and name. Raises before any change 60007 when the destination
// path or name holds a NUL, 60002 when the source key
// is missing and 60133 when the source value is (with `record` a default
// value holding only the empty string counts as missing, as the existence
// test says; internal transfers move whatever is stored). A failed copy is
// raised before the source is deleted. A move or rename onto the source
// value itself (the same key however it is spelled, the same name in any
// letter case) keeps the value: only the name's letter case changes. With
// `record`: the temporary undo key is emptied, a replaced destination value
// is parked there (copy and move only), and the action goes to the journal.
void TransferValue(HKEY source_root, const std::string& source_path, const std::string& source_name,
                   HKEY destination_root, const std::string& destination_path,
                   const std::string& destination_name, TransferOperation operation, bool record);

// The CopyValue (kCopy) or MoveValue (kMove) method on the current value:
// 60132 when the roots are equal and the key path texts are identical
// (value names aside); otherwise a recorded TransferValue to the
// destination as given, untrimmed.
void CopyOrMoveValue(HKEY root, const std::string& path, const std::string& name, HKEY new_root,
                     const std::string& new_path, const std::string& new_name, TransferOperation operation);

}  // namespace orvane
