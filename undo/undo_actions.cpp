// UndoActions, Undo and LastAction.
//
// A record is read back as (layout: record.h):
//   kind      := first two characters of the default value, as hex
//   hKey      := signed decimal root (NewhKey likewise)
//   KeyPath, ValueName, NewKeyPath, NewValueName, DelKeyPath := text
//   KeyPath<i>, ValueName<i> := found by enumerating the record's values
//   OldValue  := optional sub-key with the parked data
#include "undo/undo_actions.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "undo/undo_enabled.h"
#include "keyops/key_transfer.h"
#include "keyops/root_views.h"
#include "keyops/subtree.h"
#include "keyops/value_ops.h"
#include "orvane/variant.h"
#include "store/store_extensions.h"
#include "store/name_case.h"
#include "registry/hex_text.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "undo/journal.h"
#include "undo/record.h"

namespace orvane {
namespace {

using enum UndoActionCode;

// The longest value name the registry allows in UTF-8, plus its terminator.
constexpr DWORD kNameBuffer = kValueNameBufferSize;
// A root as the journal writes it has at most 11 characters.
constexpr size_t kRootTextLength = 11;

// The text of a string value without its terminator; empty when it cannot
// be read.
std::string ReadText(HKEY key, const std::string& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  std::string text(size, '\0');
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  text.resize(size);
  return text.substr(0, text.find('\0'));
}

HKEY ReadRoot(HKEY key, const std::string& name) {
  const std::string text = ReadText(key, name).substr(0, kRootTextLength);
  return RootHandle(text.empty() ? 0 : ToLong(Variant::String(text)));
}

// The names of an open key's values, in enumeration order.
std::vector<std::string> ValueNames(HKEY key) {
  std::vector<std::string> names;
  std::string buffer(kNameBuffer, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = kNameBuffer;
    if (RegEnumValueA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(buffer.data(), length);
  }
  return names;
}

// The data of every value of `key` whose name starts with `prefix`
// (letter case counts), in enumeration order.
std::vector<std::string> NumberedEntries(HKEY key, const std::string& prefix) {
  std::vector<std::string> entries;
  for (const std::string& name : ValueNames(key)) {
    if (name.compare(0, prefix.size(), prefix) == 0) entries.push_back(ReadText(key, name));
  }
  return entries;
}

// Deletes the key `path` under `root` with its subtree, all or nothing. A
// key already gone is fine; any other failure is raised and undoes the
// partial deletion. A path that names no key below the root (empty, or
// only backslashes) deletes nothing: such an entry stands for a key that
// existed already.
void DeleteCreatedKey(HKEY root, const std::string& path) {
  const std::string normal = TrimKeyPath(CollapseBackslashes(path));
  if (normal.empty()) return;
  platform::RegistryRollbackScope unit;
  DeleteKeyTree(root, normal);
  ScopedKey parent;
  LONG status = parent.Open(root, ParentKeyPath(normal));
  if (status == ERROR_SUCCESS) status = RegDeleteKeyA(parent.get(), LeafKeyName(normal).c_str());
  if (status != ERROR_FILE_NOT_FOUND) RaiseRegistryError(status);
  unit.Keep();
}

// Raised before a step that ends with DeleteCreatedKey changes anything:
// every key it would delete must open for writing (a key already gone is
// fine), so that the step cannot fail half done where the registry cannot
// roll back (the system registry on Windows).
void CheckCreatedKeyDeletable(HKEY root, const std::string& path) {
  const std::string normal = TrimKeyPath(CollapseBackslashes(path));
  if (normal.empty()) return;
  ScopedKey probe;
  if (probe.Open(root, normal) == ERROR_FILE_NOT_FOUND) return;
  CheckSubtreeOpens(root, normal);
}

// Record 0, opened for one undo step.
struct OpenRecord {
  std::string path;  // below HKEY_LOCAL_MACHINE
  ScopedKey key;
  ScopedKey old_value;
  HKEY root = nullptr;
  std::string key_path;

  std::string Text(const char* name) const { return ReadText(key.get(), name); }
  HKEY Root(const char* name) const { return ReadRoot(key.get(), name); }
  std::string OldValuePath() const { return path + "\\OldValue"; }
};

void DeleteKeyPath(const OpenRecord& record) { DeleteCreatedKey(record.root, record.key_path); }

// Raises a status other than "not found": a key or value already gone is
// what the undo step wanted, any other failure means it was not done.
void RaiseUnlessGone(LONG status) {
  if (status != ERROR_FILE_NOT_FOUND) RaiseRegistryError(status);
}

void DeleteCreatedValue(const OpenRecord& record) {
  ScopedKey key;
  const LONG opened = key.Open(record.root, record.key_path);
  if (opened != ERROR_SUCCESS) return RaiseUnlessGone(opened);
  RaiseUnlessGone(RegDeleteValueA(key.get(), record.Text("ValueName").c_str()));
}

// Copies the saved value back, under the spelling it was saved with.
void RestoreOldValueTo(const OpenRecord& record, HKEY root, const std::string& path, const std::string& name) {
  const std::string saved = StoredValueName(HKEY_LOCAL_MACHINE, record.OldValuePath(), name);
  TransferValue(HKEY_LOCAL_MACHINE, record.OldValuePath(), saved, root, path, saved, TransferOperation::kCopy, false);
}

void RestoreOldValue(const OpenRecord& record) {
  RestoreOldValueTo(record, record.root, record.key_path, record.Text("ValueName"));
}

bool EqualNoCase(const std::string& a, const std::string& b) { return platform::SameIgnoringCase(a, b); }

// Several values written into an existing key: every written value is
// deleted, then each of them that existed before comes back from the saved
// copy of the key. Names are taken exactly as written and matched without
// regard to letter case, as the registry matches them.
void RestoreValues(const OpenRecord& record) {
  const std::vector<std::string> written = NumberedEntries(record.key.get(), "ValueName");
  ScopedKey target;
  RaiseUnlessGone(target.Open(record.root, record.key_path));
  for (const std::string& name : written) {
    if (target.is_open()) RaiseUnlessGone(RegDeleteValueA(target.get(), name.c_str()));
  }
  for (const std::string& name : ValueNames(record.old_value.get())) {
    for (const std::string& candidate : written) {
      if (!EqualNoCase(name, candidate)) continue;
      RestoreOldValueTo(record, record.root, record.key_path, name);
      break;
    }
  }
}

void UndoValueRename(const OpenRecord& record) {
  TransferValue(record.root, record.key_path, record.Text("NewValueName"), record.root, record.key_path,
                record.Text("ValueName"), TransferOperation::kRename, false);
}

void UndoValueMove(const OpenRecord& record, UndoActionCode code) {
  const HKEY new_root = record.Root("NewhKey");
  const std::string new_path = record.Text("NewKeyPath");
  const std::string new_name = record.Text("NewValueName");
  if (code == ValueMovedKeyCreated) CheckCreatedKeyDeletable(new_root, record.Text("DelKeyPath"));
  TransferValue(new_root, new_path, new_name, record.root, record.key_path, record.Text("ValueName"),
                TransferOperation::kMove, false);
  if (code == ValueMovedKeyCreated) DeleteCreatedKey(new_root, record.Text("DelKeyPath"));
  if (code == ValueMovedReplaced) RestoreOldValueTo(record, new_root, new_path, new_name);
}

void RestoreDeletedKey(const OpenRecord& record) {
  TransferKey(HKEY_LOCAL_MACHINE, record.OldValuePath(), record.root, record.key_path, TransferOperation::kCopy,
              false);
}

void DeleteCreatedKeys(const OpenRecord& record) {
  for (const std::string& path : NumberedEntries(record.key.get(), "KeyPath")) DeleteCreatedKey(record.root, path);
}

void UndoKeyTransfer(const OpenRecord& record, UndoActionCode code) {
  const HKEY new_root = record.Root("NewhKey");
  const std::string new_path = record.Text("NewKeyPath");
  if (code == KeyRenamed) {
    TransferKey(new_root, new_path, record.root, record.key_path, TransferOperation::kRename, false);
    return;
  }
  CheckCreatedKeyDeletable(new_root, record.Text("DelKeyPath"));
  TransferKey(new_root, new_path, record.root, record.key_path, TransferOperation::kCopy, false);
  DeleteCreatedKey(new_root, record.Text("DelKeyPath"));
}

// Reverses one record by its kind; an unknown kind does nothing.
void Reverse(const OpenRecord& record, UndoActionCode code) {
  switch (code) {
    case ValueSetKeyCreated:
    case ValuesSetKeyCreated:
    case ValueCopiedKeyCreated:
    case KeyCreated:
    case KeyCopied:
      return DeleteKeyPath(record);
    case ValueSetCreated:
    case ValueCopied:
      return DeleteCreatedValue(record);
    case ValueSetReplaced:
    case ValueDeleted:
    case ValueCopiedReplaced:
      return RestoreOldValue(record);
    case ValuesSet:
      return RestoreValues(record);
    case ValueRenamed:
      return UndoValueRename(record);
    case ValueMovedKeyCreated:
    case ValueMoved:
    case ValueMovedReplaced:
      return UndoValueMove(record, code);
    case KeyDeleted:
      return RestoreDeletedKey(record);
    case KeysCreated:
      return DeleteCreatedKeys(record);
    case KeyRenamed:
    case KeyMoved:
      return UndoKeyTransfer(record, code);
  }
}

uint8_t RecordKind(HKEY record) {
  std::string kind = ReadText(record, "").substr(0, 2);
  return HexPairToByte(kind);
}

// The name of the one value a record's parked copy holds, for the codes
// that bring one value back; none for the others.
std::optional<std::string> ParkedValueName(const OpenRecord& record, UndoActionCode code) {
  switch (code) {
    case ValueSetReplaced:
    case ValueDeleted:
    case ValueCopiedReplaced:
      return record.Text("ValueName");
    case ValueMovedReplaced:
      return record.Text("NewValueName");
    default:
      return std::nullopt;
  }
}

// Whether record 0 still holds what only the journal keeps: the record
// itself, its root, and for the codes that park old data the parked copy
// (and in it the one value to bring back). What the registry outside the
// journal holds is checked by the reversal itself.
bool RecordIsWhole(const OpenRecord& record, UndoActionCode code) {
  if (!record.key.is_open()) return false;
  if (!IsRecordedCode(code)) return true;  // an unknown kind is undone by doing nothing
  if (record.Text("hKey").empty()) return false;
  if (!KeepsOldValue(code)) return true;
  if (!record.old_value.is_open()) return false;
  const std::optional<std::string> name = ParkedValueName(record, code);
  return !name || RegQueryValueExA(record.old_value.get(), name->c_str(), nullptr, nullptr, nullptr, nullptr) ==
                      ERROR_SUCCESS;
}

// Reverses record 0; false, changing nothing, when the record is not whole.
bool UndoNewest() {
  OpenRecord record;
  record.path = JournalKeyPath() + "\\" + RecordKeyName(0);
  record.key.Open(HKEY_LOCAL_MACHINE, record.path);
  record.old_value.Open(record.key.get(), "OldValue");
  const auto code = static_cast<UndoActionCode>(RecordKind(record.key.get()));
  if (!RecordIsWhole(record, code)) return false;
  record.root = record.Root("hKey");
  record.key_path = record.Text("KeyPath");
  Reverse(record, code);
  return true;
}

}  // namespace

uint8_t LastAction() {
  ScopedKey record;
  if (record.Open(HKEY_LOCAL_MACHINE, JournalKeyPath() + "\\" + RecordKeyName(0)) != ERROR_SUCCESS) return 0;
  return RecordKind(record.get());
}

void UndoActions(int16_t steps) {
  if (!UndoEnabledFlag()) RaiseRegistryErrorCode(kCodeUndoDisabled);
  // Every step and its removal from the journal commit together: a kill
  // leaves all of them done or none.
  platform::RegistryMethodScope method;
  ScopedKey journal;
  journal.Open(HKEY_LOCAL_MACHINE, JournalKeyPath());
  if (steps > QueryKeyInfo(journal.get()).sub_keys) RaiseRegistryErrorCode(kCodeNoActionsToUndo);
  for (int16_t step = 0; step < steps; ++step) {
    // One step's reversal and the removal of its record are one unit: a
    // failure part-way rolls both back, so the record stays and still
    // describes the registry.
    platform::RegistryRollbackScope unit;
    // Shifting the journal after the step moves every record: checked
    // first, so that the step is not done when the shift must fail.
    CheckSubtreeOpens(HKEY_LOCAL_MACHINE, JournalKeyPath());
    const bool undone = UndoNewest();
    ShiftJournal(journal.get(), false);
    unit.Keep();
    // A record whose saved data was removed from the journal by hand can
    // never be undone: it is dropped, and the error says so this once.
    if (!undone) RaiseRegistryErrorCode(kCodeUndoRecordDropped);
  }
}

void Undo(int16_t steps) {
  if (steps == 0) {
    ClearJournal();
    return;
  }
  UndoActions(steps);
}

}  // namespace orvane
