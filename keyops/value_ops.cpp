// RemoveValue, TransferValue, CopyValueData and the CopyValue/MoveValue check.
#include "keyops/value_ops.h"

#include "keyops/root_views.h"
#include "store/name_case.h"
#include "registry/existence.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "undo/journal.h"
#include "undo/record.h"

namespace orvane {
namespace {

// The longest value name the registry allows in UTF-8, plus its terminator.
constexpr DWORD kValueNameBuffer = kValueNameBufferSize;

// A value addressed by root, key path and name.
struct ValueAt {
  HKEY root;
  const std::string& path;
  const std::string& name;
};

// A value's registry type and its bytes exactly as stored.
struct StoredValue {
  DWORD type = 0;
  std::string bytes;
};

LONG ReadStored(HKEY key, const std::string& name, StoredValue& value) {
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &size);
  if (status != ERROR_SUCCESS) return status;
  value.bytes.assign(size + 1, '\0');
  status = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(value.bytes.data()),
                            &size);
  value.bytes.resize(status == ERROR_SUCCESS ? size : 0);
  return status;
}

LONG WriteStored(HKEY key, const std::string& name, const StoredValue& value) {
  return RegSetValueExA(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                        static_cast<DWORD>(value.bytes.size()));
}

LocationSlot Slot(const ValueAt& at) { return {RootText(at.root), at.path, at.name}; }

bool EqualNoCase(const std::string& a, const std::string& b) { return platform::SameIgnoringCase(a, b); }

// Whether the destination names the source value itself: the destination
// key opens as given and is the source key (letter case, backslash runs
// and root views aside), and the names differ at most in letter case.
bool IsSameValue(const ValueAt& source, const ValueAt& destination) {
  if (!EqualNoCase(source.name, destination.name)) return false;
  const KeyLocation a{source.root, source.path};
  const KeyLocation b{destination.root, destination.path};
  if (!IsSameOrInside(a, b) || !IsSameOrInside(b, a)) return false;
  return KeyOrValueExists(destination.root, destination.path, "", kVerifyKey);
}

// Gives the value the destination's spelling of its name. The data is
// kept in memory across the deletion and put back if the new name is
// refused. Raises the first failing status.
void RespellName(const ValueAt& source, const std::string& new_name) {
  if (source.name == new_name) return;
  ScopedKey key;
  RaiseRegistryError(key.Open(source.root, source.path));
  StoredValue value;
  RaiseRegistryError(ReadStored(key.get(), source.name, value));
  RaiseRegistryError(RegDeleteValueA(key.get(), source.name.c_str()));
  const LONG status = WriteStored(key.get(), new_name, value);
  if (status != ERROR_SUCCESS) WriteStored(key.get(), source.name, value);
  RaiseRegistryError(status);
}

void Park(const ValueAt& at) { ParkValue(at.root, at.path, at.name); }

// The action and location table of a recorded transfer, chosen before
// anything is written; a destination value about to be replaced by a copy
// or move is parked here.
struct TransferRecord {
  UndoActionCode action;
  LocationTable locations;
};

TransferRecord PlanCreatedKey(const ValueAt& source, const ValueAt& destination, TransferOperation operation) {
  std::string created = TrimKeyPath(FirstMissingKey(destination.root, destination.path));
  if (created.empty()) created = destination.path;
  if (operation == TransferOperation::kCopy) {
    return {UndoActionCode::ValueCopiedKeyCreated, {{RootText(destination.root), created, ""}}};
  }
  return {UndoActionCode::ValueMovedKeyCreated, {Slot(source), Slot(destination), {"", created, ""}}};
}

TransferRecord PlanTransfer(const ValueAt& source, const ValueAt& destination, TransferOperation operation) {
  using enum UndoActionCode;
  if (operation == TransferOperation::kRename) {
    return {ValueRenamed, {Slot(source), {"", "", destination.name}}};
  }
  if (!KeyOrValueExists(destination.root, destination.path, "", kVerifyKey)) {
    return PlanCreatedKey(source, destination, operation);
  }
  const bool replaced = ValueStored(destination.root, destination.path, destination.name);
  if (replaced) Park(destination);
  if (operation == TransferOperation::kCopy) return {replaced ? ValueCopiedReplaced : ValueCopied, {Slot(destination)}};
  return {replaced ? ValueMovedReplaced : ValueMoved, {Slot(source), Slot(destination)}};
}

void CheckSource(const ValueAt& source, bool record) {
  if (!KeyOrValueExists(source.root, source.path, "", kVerifyKey)) RaiseRegistryErrorCode(ERROR_FILE_NOT_FOUND);
  const bool exists = record ? KeyOrValueExists(source.root, source.path, source.name, kVerifyValueName)
                             : ValueStored(source.root, source.path, source.name);
  if (!exists) RaiseRegistryErrorCode(kCodeValueDoesNotExist);
}

}  // namespace

bool ValueStored(HKEY root, const std::string& path, const std::string& name) {
  ScopedKey key;
  if (key.Open(root, path) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD size = 0;
  return RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

std::string StoredValueName(HKEY root, const std::string& path, const std::string& name) {
  ScopedKey key;
  if (key.Open(root, path) != ERROR_SUCCESS) return name;
  std::string buffer(kValueNameBuffer, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = kValueNameBuffer;
    if (RegEnumValueA(key.get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) != 0) break;
    std::string stored(buffer.data(), length);
    if (EqualNoCase(stored, name)) return stored;
  }
  return name;
}

void ParkValue(HKEY root, const std::string& path, const std::string& name) {
  // Like every journal step, parking ignores a refusal (no right to write
  // the journal's keys): the operation goes on, and the journal reports
  // the missing data when it takes the record.
  CopyValueData(root, path, name, HKEY_LOCAL_MACHINE, TempUndoKeyPath(), StoredValueName(root, path, name));
}

LONG CopyValueData(HKEY source_root, const std::string& source_path, const std::string& source_name,
                   HKEY destination_root, const std::string& destination_path,
                   const std::string& destination_name) {
  ScopedKey source;
  if (LONG status = source.Open(source_root, source_path)) return status;
  ScopedKey destination;
  if (LONG status = destination.Create(destination_root, destination_path)) return status;
  StoredValue value;
  if (LONG status = ReadStored(source.get(), source_name, value)) return status;
  return WriteStored(destination.get(), destination_name, value);
}

void RemoveValue(HKEY root, const std::string& path, const std::string& name, bool record) {
  ScopedKey key;
  RaiseRegistryError(key.Open(root, path));
  if (record) RequireWritableJournal();
  // A default value holding only the empty string is parked too, so that
  // undoing its deletion brings exactly it back.
  const bool park = record && ValueStored(root, path, name);
  if (park) Park({root, path, name});
  RaiseRegistryError(RegDeleteValueA(key.get(), name.c_str()));
  key.Close();
  if (park) RecordUndo(UndoActionCode::ValueDeleted, {{RootText(root), path, name}});
}

void TransferValue(HKEY source_root, const std::string& source_path, const std::string& source_name,
                   HKEY destination_root, const std::string& destination_path,
                   const std::string& destination_name, TransferOperation operation, bool record) {
  const ValueAt source{source_root, source_path, source_name};
  const ValueAt destination{destination_root, destination_path, destination_name};
  RefuseNulInName(destination_path);
  RefuseNulInName(destination_name);
  CheckSource(source, record);
  const bool onto_itself = operation != TransferOperation::kCopy && IsSameValue(source, destination);
  TransferRecord planned{};
  if (record) {
    RequireWritableJournal();
    ClearTempUndo();
    planned = PlanTransfer(source, destination, operation);
  }
  if (onto_itself) {
    RespellName(source, destination_name);
  } else {
    RaiseRegistryError(CopyValueData(source_root, source_path, source_name, destination_root, destination_path,
                                     destination_name));
    if (operation != TransferOperation::kCopy) RemoveValue(source_root, source_path, source_name, false);
  }
  if (record) RecordUndo(planned.action, planned.locations);
}

void CopyOrMoveValue(HKEY root, const std::string& path, const std::string& name, HKEY new_root,
                     const std::string& new_path, const std::string& new_name, TransferOperation operation) {
  if (new_root == root && new_path == path) RaiseRegistryErrorCode(kCodeSameSourceAndDestination);
  TransferValue(root, path, name, new_root, new_path, new_name, operation, true);
}

}  // namespace orvane
