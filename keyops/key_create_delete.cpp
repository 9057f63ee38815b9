// WriteKey and RemoveKey.
#include "keyops/key_create_delete.h"

#include "keyops/key_transfer.h"
#include "keyops/root_views.h"
#include "keyops/subtree.h"
#include "platform/store_extensions.h"
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
  CheckSubtreeOpens(root, path);
  if (record) {
    RequireWritableJournal();
    ClearTempUndo();
  }
  // The saved copy, the deletion and the record are one unit: a key that
  // cannot be deleted, met after the keys before it are gone (a read-only
  // key deep inside), rolls all of them back.
  platform::RegistryRollbackScope unit;
  if (record) TransferKey(root, path, HKEY_LOCAL_MACHINE, TempUndoKeyPath(), TransferOperation::kCopy, false);
  DeleteKeyTree(root, path);
  RaiseRegistryError(RegDeleteKeyA(parent.get(), leaf.c_str()));
  parent.Close();
  if (record) RecordUndo(UndoActionCode::KeyDeleted, {{RootText(root), path, ""}});
  unit.Keep();
}

}  // namespace orvane
