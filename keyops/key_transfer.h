// Copying, moving and renaming a key with all its values and descendants,
// to any root: the routine TransferKey that the journal, key deletion and
// bulk writing share, and the checks of the CopyKey, MoveKey and RenameKey
// methods in front of it. Stateless.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32_registry.h"

namespace orvane {

// The operation code shared by the key and value transfer routines.
enum class TransferOperation : uint8_t { kCopy = 0, kMove = 1, kRename = 2 };

// Copies the key `source_path` under `source_root` to `destination_path`
// under `destination_root` (created with its missing parents), then for a
// move or rename deletes the source. Raises, before anything changes:
// 60002 when the source does not exist, 60134 when the destination exists,
// 60007 for a move or rename of a root itself (empty source path) or a
// destination path holding a NUL, and
// 60131 (copy) or 60130 (move, rename) when the destination lies inside
// the source, also through a root view. A move or rename is also refused
// with 60005 before anything changes when the source is, or holds, the
// key a root view shows. Any operation is refused before anything changes
// when the source holds a key that cannot be opened for writing (60005 for
// a read-only key; another open failure is raised as it is). With
// `record`, hands KeyCopied, KeyMoved or KeyRenamed to the journal
// afterwards. All or nothing: a failure while copying, deleting or
// recording undoes everything the call changed, and is raised.
void TransferKey(HKEY source_root, const std::string& source_path, HKEY destination_root,
                 const std::string& destination_path, TransferOperation operation, bool record);

// Raises the status of the first key of the subtree of `path` under `root`
// that does not open for writing (60005 for a read-only key), the key
// itself included; changes nothing. Where a failure part-way cannot be
// rolled back (the system registry on Windows), callers that copy or
// delete a subtree run it before they change anything.
void CheckSubtreeOpens(HKEY root, const std::string& path);

// The CopyKey (kCopy) or MoveKey (kMove) method on the current key: 60132
// when root and path text are the same; 60131 or 60130 when, under the same
// root, the new path starts with the current path ignoring letter case (a
// plain text prefix: "Software\AB" is refused for "Software\A"); a move
// of the product key, of a key that holds it (unless refused as holding a
// root view's key), or of a journal or temporary undo key of any process
// or a key inside one: 60131, as DeleteKey refuses them; then a recorded
// TransferKey with the new path as given.
void CopyOrMoveKey(HKEY root, const std::string& path, HKEY new_root, const std::string& new_path,
                   TransferOperation operation);

// The RenameKey method: 60007 when the current key is a root itself or
// `new_name` holds a backslash; 60131 for the keys a move refuses so;
// otherwise writes the new full path (the
// parent's path, "\", the new name, trimmed) back into `new_name` and does
// a recorded rename to it.
void RenameKeyTo(HKEY root, const std::string& path, std::string& new_name);

}  // namespace orvane
