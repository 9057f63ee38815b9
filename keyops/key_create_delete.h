// Creating and deleting the key at a location, optionally journalled for
// undo: SetKey and DeleteKey of the control, and the deletion step of key
// moves and of file-type removal. Stateless.
#pragma once

#include <string>

#include "platform/win32_registry.h"

namespace orvane {

// Creates `path` under `root` with every missing key above it (an existing
// key is just opened). Raises the creation status (60005 for a refused
// write, ...). With `record`, hands KeyCreated to the journal with the
// topmost key the call created (empty when the key existed).
void WriteKey(HKEY root, const std::string& path, bool record);

// Deletes `path` under `root` with all its descendants, all or nothing.
// Refused with 60007 when `path` is empty (the root itself), and with
// 60005 when the key is or holds the key a root view shows. With
// `record`: refused with 60131 when the key holds the temporary undo key
// (its saved copy would land inside itself) or is, or lies inside, a
// journal or temporary undo key of any process; otherwise the key is first
// saved into the temporary undo key (60002 when it does not exist;
// nothing is deleted) and KeyDeleted is handed to the journal afterwards.
// A subtree whose saved copy would lie deeper than kMaxKeyDepth in the
// journal is refused with 60007, its text saying why, while undo is on;
// with undo off it is deleted without being saved.
// Raises the status of opening the parent and of the final deletion (60005
// for a read-only key inside): a failure rolls back the deletion, the
// saved copy and the record, so the subtree stays whole.
void RemoveKey(HKEY root, const std::string& path, bool record);

}  // namespace orvane
