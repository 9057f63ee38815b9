// WriteAllValues and WriteAllKeys.
#include "keyops/bulk_write.h"

#include <algorithm>
#include <vector>

#include "keyops/enumeration.h"
#include "keyops/key_transfer.h"
#include "keyops/root_views.h"
#include "orvane/runtime_errors.h"
#include "store/name_case.h"
#include "store/store_extensions.h"
#include "registry/existence.h"
#include "registry/key_path.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "registry/value_write.h"
#include "undo/journal.h"
#include "undo/record.h"

namespace orvane {
namespace {

// One row of a value table, converted.
struct ValueRow {
  std::string name;
  Variant data;
  int32_t type = 0;
};

// Rows whose data must be hexadecimal text whatever their name and mode:
// binary, and every type above 4 but the multi-string.
bool IsHexTypedRow(int32_t type) {
  constexpr int32_t kBinary = REG_BINARY, kDWord = REG_DWORD, kMultiString = REG_MULTI_SZ;
  return type == kBinary || (type > kDWord && type != kMultiString);
}

// Refuses, before anything is written, a row the value writer or the
// registry would refuse: hexadecimal-typed data that is no hexadecimal text
// (60007, in every mode), and in the modes that write, data that does not
// convert to the bytes of its type (a default value is written as a
// string), a name holding a NUL or longer than the registry takes, and
// more data than one value holds (60007).
void CheckRow(const ValueRow& row, uint8_t mode) {
  if (IsHexTypedRow(row.type) && !IsHexString(ToString(row.data))) {
    RaiseRegistryErrorCode(kCodeParameterIncorrect);
  }
  if (mode > kOpenOnly) return;
  const size_t size = ValueBytes(row.data, row.name.empty() ? REG_SZ : row.type).size();
  RefuseNulInName(row.name);
  if (platform::Utf16Length(row.name) > kMaxValueNameLength || size > kMaxValueDataSize) {
    RaiseRegistryErrorCode(kCodeParameterIncorrect);
  }
}

// The rows of a value table, converted and checked, in row order.
std::vector<ValueRow> TableRows(const Variant& table, uint8_t mode) {
  const SafeArray& array = table.array();
  if (array.dimensions() != 2 || array.bound(1).count() == 0) RaiseRuntimeError(kErrSubscript);
  std::vector<ValueRow> rows;
  rows.reserve(static_cast<size_t>(array.bound(1).count()));
  for (int32_t i = array.lower(1); i <= array.upper(1); ++i) {
    ValueRow row{ToString(array.at(i, kValueNameColumn)), array.at(i, kValueDataColumn),
                 ToLong(array.at(i, kValueTypeColumn))};
    CheckRow(row, mode);
    rows.push_back(std::move(row));
  }
  return rows;
}

// The location table of a recorded bulk write, made before anything is
// written; parks a copy of an existing key in the temporary undo key.
LocationTable ParkAndLocate(HKEY root, const std::string& path, bool existed, const std::vector<ValueRow>& rows) {
  ClearTempUndo();
  const std::string root_text = RootText(root);
  if (!existed) {
    std::string created = TrimKeyPath(FirstMissingKey(root, path));
    return {{root_text, created.empty() ? path : created, ""}};
  }
  LocationTable locations;
  locations.reserve(rows.size());
  for (const ValueRow& row : rows) locations.push_back({root_text, path, row.name});
  TransferKey(root, path, HKEY_LOCAL_MACHINE, TempUndoKeyPath(), TransferOperation::kCopy, false);
  return locations;
}

// The full path of one list element below `path`.
std::string FullKeyPath(const std::string& path, const Variant& element) {
  return TrimKeyPath(path + "\\" + TrimKeyPath(ToString(element)));
}

// The distinct non-empty entries in first-appearance order (exact text
// comparison); one empty entry when there is none, so the call still has
// its record.
std::vector<std::string> DistinctCreated(const std::vector<std::string>& created) {
  std::vector<std::string> kept;
  for (const std::string& entry : created) {
    if (!entry.empty() && std::find(kept.begin(), kept.end(), entry) == kept.end()) kept.push_back(entry);
  }
  if (kept.empty()) kept.emplace_back();
  return kept;
}

LocationTable KeysCreatedTable(HKEY root, const std::vector<std::string>& created) {
  LocationTable locations;
  for (const std::string& entry : DistinctCreated(created)) locations.push_back({RootText(root), entry, ""});
  return locations;
}

}  // namespace

void WriteAllValues(HKEY root, const std::string& path, const Variant& table, uint8_t mode, bool record) {
  const bool existed = KeyOrValueExists(root, path, "", kVerifyKey);
  if (mode == kOpenOnly && !existed) RaiseRegistryErrorCode(ERROR_FILE_NOT_FOUND);
  const std::vector<ValueRow> rows = TableRows(table, mode);
  // The other modes write nothing, so there is nothing to record either.
  if (mode > kOpenOnly) return;
  if (record && existed && IsSameOrInside({HKEY_LOCAL_MACHINE, TempUndoKeyPath()}, {root, path})) {
    RaiseRegistryErrorCode(kCodeCopyKeyIntoItself);
  }
  LocationTable locations;
  if (record) RequireWritableJournal();
  // The rows and the record are one unit: a write the checks could not
  // foresee (a full disk) takes the rows before it back with it.
  platform::RegistryRollbackScope unit;
  if (record) locations = ParkAndLocate(root, path, existed, rows);
  for (const ValueRow& row : rows) {
    int32_t type = row.type;
    WriteValue(root, path, row.name, row.data, type, mode, false);
  }
  if (record) RecordUndo(existed ? UndoActionCode::ValuesSet : UndoActionCode::ValuesSetKeyCreated, locations);
  unit.Keep();
}

void WriteAllKeys(HKEY root, const std::string& path, Variant& list, bool record) {
  SafeArray& array = list.array();
  if (array.dimensions() != 1 || array.size() == 0) RaiseRuntimeError(kErrSubscript);
  for (int32_t i = array.lower(); i <= array.upper(); ++i) RefuseNulInName(ToString(array.at(i)));
  std::vector<std::string> full_paths;
  std::vector<std::string> created;
  for (int32_t i = array.lower(); i <= array.upper(); ++i) {
    full_paths.push_back(FullKeyPath(path, array.at(i)));
    array.set(i, Variant::String(full_paths.back()));
    created.push_back(TrimKeyPath(FirstMissingKey(root, full_paths.back())));
  }
  LocationTable locations;
  if (record) {
    RequireWritableJournal();
    locations = KeysCreatedTable(root, created);
  }
  for (const std::string& full_path : full_paths) {
    ScopedKey key;
    RaiseRegistryError(key.Create(root, full_path));
  }
  if (record) RecordUndo(UndoActionCode::KeysCreated, locations);
}

}  // namespace orvane
