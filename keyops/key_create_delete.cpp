// WriteKey and RemoveKey.
#include "keyops/key_create_delete.h"

#include <algorithm>

#include "undo/undo_enabled.h"
#include "keyops/key_transfer.h"
#include "keyops/root_views.h"
#include "keyops/subtree.h"
#include "store/store_extensions.h"
#include "registry/existence.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "undo/journal.h"
#include "undo/record.h"

namespace orvane {
namespace {

// Whether saving `path` into the temporary undo key would copy the key
// into its own subtree (HKEY_LOCAL_MACHINE\SOFTWARE and the product key,
// also when named through a root view), or the key is one of the journals
// (any process's) or inside one, which undo reads back as it wrote them.
bool HoldsUndoKeys(HKEY root, const std::string& path) {
  return IsSameOrInside({HKEY_LOCAL_MACHINE, TempUndoKeyPath()}, {root, path}) || IsInsideJournalKey(root, path);
}

// How many levels the subtree of `path` reaches below it (0 for a key
// without sub-keys). Raises the status of the first key of the subtree
// that does not open, as CheckSubtreeOpens does.
size_t OpenedSubtreeHeight(HKEY root, const std::string& path) {
  size_t height = 0;
  const TreeVisitor visitor{[&height](HKEY, const std::string&, size_t depth) -> LONG {
                              height = std::max(height, depth);
                              return ERROR_SUCCESS;
                            },
                            [](const std::string&, size_t, LONG status) { return status; }};
  RaiseRegistryError(WalkKeyTree(root, path, visitor));
  return height;
}

// Whether a copy of a subtree `height` levels high, made at `holder` (a
// key path under HKEY_LOCAL_MACHINE), stays within the depth keys are
// created at.
bool CopyFitsAt(const std::string& holder, size_t height) {
  const size_t levels = static_cast<size_t>(std::count(holder.begin(), holder.end(), '\\')) + 1;
  return levels + height <= kMaxKeyDepth;
}

// Where the newest record keeps a deleted key's saved copy.
std::string RecordedCopyPath() { return JournalKeyPath() + "\\" + RecordKeyName(0) + "\\OldValue"; }

// 60007, saying why: Undo could not keep the key's saved copy.
[[noreturn]] void RaiseTooDeepToSave() {
  ErrorRecord error = MakeRegistryError(kCodeParameterIncorrect);
  error.description +=
      " The key is too deep for Undo to keep a copy of it within the registry's 512 levels;"
      " set UndoEnabled to False to delete it.";
  throw Error(std::move(error));
}

}  // namespace

void WriteKey(HKEY root, const std::string& path, bool record) {
  if (record) RequireWritableJournal();
  std::string created;
  if (record) created = TrimKeyPath(FirstMissingKey(root, path));
  ScopedKey key;
  RaiseRegistryError(key.Create(root, path));
  key.Close();
  if (record) RecordUndo(UndoActionCode::KeyCreated, {{RootText(root), created, ""}});
}

void RemoveKey(HKEY root, const std::string& path, bool record) {
  if (path.empty()) RaiseRegistryErrorCode(kCodeParameterIncorrect);
  if (record && HoldsUndoKeys(root, path)) RaiseRegistryErrorCode(kCodeCopyKeyIntoItself);
  if (HoldsRootViewKey(root, path)) RaiseRegistryErrorCode(ERROR_ACCESS_DENIED);
  const std::string leaf = LeafKeyName(path);
  ScopedKey parent;
  RaiseRegistryError(parent.Open(root, TrimKeyPath(ParentKeyPath(path))));
  // The saved copy goes into the temporary undo key and, with undo on, into
  // the record, and must fit within the depth limit at both. With undo off
  // nobody needs it: a key too deep to park is deleted without.
  const size_t height = OpenedSubtreeHeight(root, path);
  if (record && UndoEnabledFlag() && !CopyFitsAt(RecordedCopyPath(), height)) RaiseTooDeepToSave();
  const bool park = record && CopyFitsAt(TempUndoKeyPath(), height);
  if (record) {
    RequireWritableJournal();
    ClearTempUndo();
  }
  // The saved copy, the deletion and the record are one unit: a key that
  // cannot be deleted, met after the keys before it are gone (a read-only
  // key deep inside), rolls all of them back.
  platform::RegistryRollbackScope unit;
  if (park) TransferKey(root, path, HKEY_LOCAL_MACHINE, TempUndoKeyPath(), TransferOperation::kCopy, false);
  DeleteKeyTree(root, path);
  RaiseRegistryError(RegDeleteKeyA(parent.get(), leaf.c_str()));
  parent.Close();
  if (record) RecordUndo(UndoActionCode::KeyDeleted, {{RootText(root), path, ""}});
  unit.Keep();
}

}  // namespace orvane
