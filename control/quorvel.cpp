// The property procedures of the control's current location (its life in
// the container is lifecycle.cpp). Each assignment validates, stores only
// when everything succeeded, and then notifies the container.
#include "orvane/quorvel.h"

#include "undo/undo_enabled.h"
#include "control/value_check.h"
#include "registry/key_path.h"
#include "registry/nt_platform.h"
#include "registry/registry_error.h"
#include "undo/journal.h"

namespace orvane {
namespace {

std::string JoinGlobalKeyPath(int32_t root, const std::string& sub_key_path) {
  std::string global = RootKeyName(root);
  if (!sub_key_path.empty()) global += "\\" + sub_key_path;
  return global;
}

}  // namespace

void Quorvel::Notify(std::string_view property) { container_.PropertyChanged(property); }

void Quorvel::GlobalKeyPath(const std::string& path) {
  GlobalKeyPathParts parts = ParseGlobalKeyPath(path, hkey_);
  hkey_ = parts.root;
  sub_key_path_ = std::move(parts.sub_key_path);
  global_key_path_ = std::move(parts.global_key_path);
  Notify("HKey");
  Notify("SubKeyPath");
  Notify("GlobalKeyPath");
}

void Quorvel::hKey(int32_t root) {
  if (root == kHkeyDynData && NtPlatform()) RaiseRegistryErrorCode(kCodeDynDataOnNt);
  hkey_ = root;
  global_key_path_ = JoinGlobalKeyPath(hkey_, sub_key_path_);
  Notify("GlobalKeyPath");
  Notify("HKey");
}

void Quorvel::SubKeyPath(const std::string& path) {
  std::string trimmed = TrimKeyPath(CollapseBackslashes(path));
  ValidateKeyPath(trimmed);
  sub_key_path_ = std::move(trimmed);
  global_key_path_ = JoinGlobalKeyPath(hkey_, sub_key_path_);
  Notify("GlobalKeyPath");
  Notify("SubKeyPath");
}

void Quorvel::ValueName(const std::string& name) {
  RefuseNulInName(name);
  value_name_ = TrimKeyPath(name);
  Notify("ValueName");
}

void Quorvel::ValueType(int32_t type) {
  value_type_ = type;
  Notify("ValueType");
  value_ = DefaultValueForType(type);
  Notify("Value");
}

void Quorvel::Value(const Variant& value) {
  CheckValueForType(value, value_type_);
  value_ = value;
  Notify("Value");
}

bool Quorvel::UndoEnabled() const { return UndoEnabledFlag(); }

void Quorvel::UndoEnabled(bool enabled) {
  SetUndoEnabledFlag(enabled);
  if (!enabled) ClearJournal();
  Notify("UndoEnabled");
}

}  // namespace orvane
