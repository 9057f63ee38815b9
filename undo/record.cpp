// RecordUndo and ShiftJournal.
//
// Journal layout (all under HKEY_LOCAL_MACHINE):
//   journal key   := "SOFTWARE\Orvane\Undo-" identifier
//                    default value (REG_SZ) = kJournalText
//                    sub-keys "Undo#0" (newest) .. "Undo#19", contiguous
//   record key    := default value (REG_SZ) = code in upper-case hex ("A1")
//                    REG_SZ values among hKey, KeyPath, ValueName, NewhKey,
//                    NewKeyPath, NewValueName, DelKeyPath, ValueName<i>,
//                    KeyPath<i> (which ones: kLayouts below)
//                    optional sub-key "OldValue": the parked old data
#include "undo/record.h"

#include <cstdio>
#include <span>

#include "undo/undo_enabled.h"
#include "keyops/key_transfer.h"
#include "keyops/subtree.h"
#include "orvane/runtime_errors.h"
#include "orvane/variant.h"
#include "store/store_extensions.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "undo/journal.h"

namespace orvane {
namespace {

using enum UndoActionCode;

// One value of a record: its name and the cell of the location table.
struct FieldWrite {
  const char* name;
  size_t slot;
  size_t field;
};

// Values written once per slot, named with the slot's index appended.
enum class Numbered { kNone, kValueNames, kKeyPaths };

struct RecordLayout {
  std::span<const UndoActionCode> codes;
  std::span<const FieldWrite> fields;
  Numbered numbered = Numbered::kNone;
};

constexpr FieldWrite kRootKey = {"hKey", 0, kRootField};
constexpr FieldWrite kKeyPath = {"KeyPath", 0, kKeyPathField};
constexpr FieldWrite kValueName = {"ValueName", 0, kValueNameField};
constexpr FieldWrite kNewRootKey = {"NewhKey", 1, kRootField};
constexpr FieldWrite kNewKeyPath = {"NewKeyPath", 1, kKeyPathField};
constexpr FieldWrite kNewValueName = {"NewValueName", 1, kValueNameField};
constexpr FieldWrite kDelKeyPath = {"DelKeyPath", 2, kKeyPathField};

constexpr FieldWrite kKeyFields[] = {kRootKey, kKeyPath};
constexpr FieldWrite kValueFields[] = {kRootKey, kKeyPath, kValueName};
constexpr FieldWrite kRenameValueFields[] = {kRootKey, kKeyPath, kValueName, kNewValueName};
constexpr FieldWrite kMoveValueFields[] = {kRootKey,   kKeyPath,    kValueName,
                                           kNewRootKey, kNewKeyPath, kNewValueName};
constexpr FieldWrite kMoveValueCreatedFields[] = {kRootKey,    kKeyPath,      kValueName, kNewRootKey,
                                                  kNewKeyPath, kNewValueName, kDelKeyPath};
constexpr FieldWrite kRootOnly[] = {kRootKey};
constexpr FieldWrite kRenameKeyFields[] = {kRootKey, kKeyPath, kNewRootKey, kNewKeyPath};
constexpr FieldWrite kMoveKeyFields[] = {kRootKey, kKeyPath, kNewRootKey, kNewKeyPath, kDelKeyPath};

constexpr UndoActionCode kKeyCodes[] = {ValueSetKeyCreated, ValuesSetKeyCreated, ValueCopiedKeyCreated,
                                        KeyCreated, KeyCopied, KeyDeleted};
constexpr UndoActionCode kValueCodes[] = {ValueSetCreated, ValueSetReplaced, ValueDeleted, ValueCopied,
                                          ValueCopiedReplaced};
constexpr UndoActionCode kValuesSetCodes[] = {ValuesSet};
constexpr UndoActionCode kRenameValueCodes[] = {ValueRenamed};
constexpr UndoActionCode kMoveValueCodes[] = {ValueMoved, ValueMovedReplaced};
constexpr UndoActionCode kMoveValueCreatedCodes[] = {ValueMovedKeyCreated};
constexpr UndoActionCode kKeysCreatedCodes[] = {KeysCreated};
constexpr UndoActionCode kRenameKeyCodes[] = {KeyRenamed};
constexpr UndoActionCode kMoveKeyCodes[] = {KeyMoved};

// Which values each code writes, in the order they are written.
constexpr RecordLayout kLayouts[] = {
    {kKeyCodes, kKeyFields},
    {kValueCodes, kValueFields},
    {kValuesSetCodes, kKeyFields, Numbered::kValueNames},
    {kRenameValueCodes, kRenameValueFields},
    {kMoveValueCodes, kMoveValueFields},
    {kMoveValueCreatedCodes, kMoveValueCreatedFields},
    {kKeysCreatedCodes, kRootOnly, Numbered::kKeyPaths},
    {kRenameKeyCodes, kRenameKeyFields},
    {kMoveKeyCodes, kMoveKeyFields},
};

// The codes whose record receives the temporary undo key as "OldValue".
constexpr UndoActionCode kOldValueCodes[] = {ValueSetReplaced,   ValueDeleted,        ValuesSet,
                                             ValueMovedReplaced, ValueCopiedReplaced, KeyDeleted};

const RecordLayout* LayoutOf(UndoActionCode code) {
  for (const RecordLayout& layout : kLayouts) {
    for (UndoActionCode c : layout.codes) {
      if (c == code) return &layout;
    }
  }
  return nullptr;
}

const std::string& Cell(const LocationTable& locations, size_t slot, size_t field) {
  if (slot >= locations.size()) RaiseRuntimeError(kErrSubscript);
  return locations[slot][field];
}

void SetText(HKEY key, const std::string& name, const std::string& text) {
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
}

// Root cells go through a 32-bit conversion and back to signed decimal.
std::string CellText(const FieldWrite& write, const std::string& cell) {
  if (write.field != kRootField) return cell;
  return std::to_string(ToLong(Variant::String(cell)));
}

void WriteNumbered(HKEY record, const LocationTable& locations, Numbered numbered) {
  if (numbered == Numbered::kNone) return;
  const bool names = numbered == Numbered::kValueNames;
  for (size_t i = 0; i < locations.size(); ++i) {
    const std::string name = (names ? "ValueName" : "KeyPath") + std::to_string(i);
    SetText(record, name, Cell(locations, i, names ? kValueNameField : kKeyPathField));
  }
}

void WriteFields(HKEY record, UndoActionCode code, const LocationTable& locations) {
  const RecordLayout* layout = LayoutOf(code);
  if (layout == nullptr) return;
  for (const FieldWrite& write : layout->fields) {
    SetText(record, write.name, CellText(write, Cell(locations, write.slot, write.field)));
  }
  WriteNumbered(record, locations, layout->numbered);
}

std::string CodeText(UndoActionCode code) {
  char text[8];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(code));
  return text;
}

void DeleteRecord(HKEY journal, int index) {
  const std::string name = RecordKeyName(index);
  DeleteKeyTree(journal, name);
  RegDeleteKeyA(journal, name.c_str());
}

void MoveRecord(HKEY journal, int from, int to) {
  TransferKey(journal, RecordKeyName(from), journal, RecordKeyName(to), TransferOperation::kMove, false);
}

// Raises the status of opening `path` for writing; a missing key is
// checked through the nearest existing key above it, which would have to
// take the missing one as a sub-key.
void RequireWritableKey(const std::string& path) {
  ScopedKey key;
  const LONG status = key.Open(HKEY_LOCAL_MACHINE, path);
  if (status == ERROR_FILE_NOT_FOUND && !path.empty()) return RequireWritableKey(ParentKeyPath(path));
  RaiseRegistryError(status);
}

}  // namespace

bool IsRecordedCode(UndoActionCode code) { return LayoutOf(code) != nullptr; }

bool KeepsOldValue(UndoActionCode code) {
  for (UndoActionCode c : kOldValueCodes) {
    if (c == code) return true;
  }
  return false;
}

std::string RecordKeyName(int index) { return "Undo#" + std::to_string(index); }

std::string RootText(HKEY root) { return std::to_string(RootValue(root)); }

void RecordUndo(UndoActionCode code, const LocationTable& locations) {
  if (!UndoEnabledFlag()) return;
  // The record and the shift of the older ones are one transaction: a kill
  // leaves the journal as it was before or after, never part-way.
  platform::RegistryMethodScope method;
  ScopedKey journal;
  journal.Create(HKEY_LOCAL_MACHINE, JournalKeyPath());
  SetText(journal.get(), "", kJournalText);
  ShiftJournal(journal.get(), true);
  ScopedKey record;
  record.Create(journal.get(), RecordKeyName(0));
  SetText(record.get(), "", CodeText(code));
  WriteFields(record.get(), code, locations);
  if (KeepsOldValue(code)) {
    TransferKey(HKEY_LOCAL_MACHINE, TempUndoKeyPath(), HKEY_LOCAL_MACHINE,
                JournalKeyPath() + "\\" + RecordKeyName(0) + "\\OldValue", TransferOperation::kMove, false);
  }
}

void RequireWritableJournal() {
  if (!UndoEnabledFlag()) return;
  for (const std::string& path : {std::string(kProductKeyPath), JournalKeyPath(), TempUndoKeyPath()}) {
    RequireWritableKey(path);
  }
}

void ShiftJournal(HKEY journal, bool push) {
  const int count = QueryKeyInfo(journal).sub_keys;
  if (push) {
    for (int i = count - 1; i >= 0; --i) MoveRecord(journal, i, i + 1);
    if (count == kMaxJournalRecords) DeleteRecord(journal, kMaxJournalRecords);
    return;
  }
  DeleteRecord(journal, 0);
  for (int i = 1; i < count; ++i) MoveRecord(journal, i, i - 1);
  if (count > 1) DeleteRecord(journal, count - 1);
}

}  // namespace orvane
