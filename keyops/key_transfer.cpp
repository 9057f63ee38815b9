// TransferKey and the checks of the key copy, move and rename methods.
#include "keyops/key_transfer.h"

#include "keyops/key_create_delete.h"
#include "keyops/root_views.h"
#include "keyops/subtree.h"
#include "store/store_extensions.h"
#include "registry/existence.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "undo/journal.h"
#include "undo/record.h"

namespace orvane {
namespace {

bool KeyExists(HKEY root, const std::string& path) { return KeyOrValueExists(root, path, "", kVerifyKey); }

int32_t IntoItselfCode(TransferOperation operation) {
  return operation == TransferOperation::kCopy ? kCodeCopyKeyIntoItself : kCodeMoveKeyIntoItself;
}

// The checks that refuse a transfer before anything is written.
void CheckTransfer(HKEY source_root, const std::string& source_path, HKEY destination_root,
                   const std::string& destination_path, TransferOperation operation) {
  if (!KeyExists(source_root, source_path)) RaiseRegistryErrorCode(ERROR_FILE_NOT_FOUND);
  if (KeyExists(destination_root, destination_path)) RaiseRegistryErrorCode(kCodeDestinationKeyExists);
  // Moving a root would empty it: its contents cannot be deleted with it.
  if (operation != TransferOperation::kCopy && source_path.empty()) {
    RaiseRegistryErrorCode(kCodeParameterIncorrect);
  }
  if (IsSameOrInside({destination_root, destination_path}, {source_root, source_path})) {
    RaiseRegistryErrorCode(IntoItselfCode(operation));
  }
}

// The location table of a recorded transfer, made before anything is
// written (the topmost created key is the first one missing now).
LocationTable TransferLocations(HKEY source_root, const std::string& source_path, HKEY destination_root,
                                const std::string& destination_path, TransferOperation operation) {
  const std::string source_root_text = RootText(source_root);
  const std::string destination_root_text = RootText(destination_root);
  if (operation == TransferOperation::kRename) {
    return {{source_root_text, source_path, ""}, {destination_root_text, destination_path, ""}};
  }
  std::string created = TrimKeyPath(FirstMissingKey(destination_root, destination_path));
  if (operation == TransferOperation::kCopy) return {{destination_root_text, created, ""}};
  if (created.empty()) created = destination_path;
  return {{source_root_text, source_path, ""}, {destination_root_text, destination_path, ""}, {"", created, ""}};
}

// Whether moving or renaming `path` under `root` would take undo journals
// with it: the product key, a key that holds it, a journal or temporary
// undo key of any process, or a key inside one. A key that holds a root
// view's key is refused as such (60005) by TransferKey instead.
bool MovesJournals(HKEY root, const std::string& path) {
  if (HoldsRootViewKey(root, path)) return false;
  return IsSameOrInside({HKEY_LOCAL_MACHINE, kProductKeyPath}, {root, path}) || IsInsideJournalKey(root, path);
}

UndoActionCode TransferAction(TransferOperation operation) {
  switch (operation) {
    case TransferOperation::kCopy:
      return UndoActionCode::KeyCopied;
    case TransferOperation::kMove:
      return UndoActionCode::KeyMoved;
    case TransferOperation::kRename:
      break;
  }
  return UndoActionCode::KeyRenamed;
}

}  // namespace

void CheckSubtreeOpens(HKEY root, const std::string& path) {
  const TreeVisitor visitor{[](HKEY, const std::string&, size_t) -> LONG { return ERROR_SUCCESS; },
                            [](const std::string&, size_t, LONG status) { return status; }};
  RaiseRegistryError(WalkKeyTree(root, path, visitor));
}

void TransferKey(HKEY source_root, const std::string& source_path, HKEY destination_root,
                 const std::string& destination_path, TransferOperation operation, bool record) {
  RefuseNulInName(destination_path);
  CheckTransfer(source_root, source_path, destination_root, destination_path, operation);
  // Deleting the source of a move needs that no root view shows it or a
  // key inside it; copying and deleting need every key of it to open.
  if (operation != TransferOperation::kCopy && HoldsRootViewKey(source_root, source_path)) {
    RaiseRegistryErrorCode(ERROR_ACCESS_DENIED);
  }
  CheckSubtreeOpens(source_root, source_path);
  LocationTable locations;
  if (record) {
    RequireWritableJournal();
    locations = TransferLocations(source_root, source_path, destination_root, destination_path, operation);
  }
  // The copy, the deletion and the record are one unit: a failure in any
  // of them undoes the others, so no partial copy stays and the source is
  // never left half deleted.
  platform::RegistryRollbackScope unit;
  RaiseRegistryError(CopyKeyTree(source_root, source_path, destination_root, destination_path, true));
  if (operation != TransferOperation::kCopy) RemoveKey(source_root, source_path, false);
  if (record) RecordUndo(TransferAction(operation), locations);
  unit.Keep();
}

void CopyOrMoveKey(HKEY root, const std::string& path, HKEY new_root, const std::string& new_path,
                   TransferOperation operation) {
  if (new_root == root && new_path == path) RaiseRegistryErrorCode(kCodeSameSourceAndDestination);
  if (new_root == root && StartsWithNoCase(new_path, path)) RaiseRegistryErrorCode(IntoItselfCode(operation));
  if (operation == TransferOperation::kMove && MovesJournals(root, path)) {
    RaiseRegistryErrorCode(kCodeCopyKeyIntoItself);
  }
  TransferKey(root, path, new_root, new_path, operation, true);
}

void RenameKeyTo(HKEY root, const std::string& path, std::string& new_name) {
  RefuseNulInName(new_name);
  if (path.empty() || new_name.find('\\') != std::string::npos) RaiseRegistryErrorCode(kCodeParameterIncorrect);
  if (MovesJournals(root, path)) RaiseRegistryErrorCode(kCodeCopyKeyIntoItself);
  new_name = TrimKeyPath(ParentKeyPath(path) + "\\" + new_name);
  TransferKey(root, path, root, new_name, TransferOperation::kRename, true);
}

}  // namespace orvane
