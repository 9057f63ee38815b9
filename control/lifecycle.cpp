// The control's life in its container: initialise, initialise properties,
// read and write properties through a property bag, resize, terminate.
// Loading takes every saved value as saved: none of the property
// procedures' checks, normalisations or notifications apply, except that a
// location holding a NUL is refused (the registry would cut it there).
#include "about/about_box.h"
#include "undo/undo_enabled.h"
#include "orvane/quorvel.h"
#include "store/store_extensions.h"
#include "registry/key_path.h"
#include "registry/nt_platform.h"
#include "undo/journal.h"

namespace orvane {
namespace {

// The saved names with their defaults.
const Variant kDefaultHKey = Variant::Long(kHkeyClassesRoot);
const Variant kDefaultSubKeyPath = Variant::String("");
const Variant kDefaultGlobalKeyPath = Variant::String("HKEY_CLASSES_ROOT");
const Variant kDefaultValueName = Variant::String("");
const Variant kDefaultValueType = Variant::Long(1);
const Variant kDefaultValue = Variant::String("");
const Variant kDefaultUndoEnabled = Variant::Boolean(false);

}  // namespace

Quorvel::Quorvel(Container& container) : container_(container) {
  // One group, so that the registry calls of creation wait at most the
  // store's wait limit in all.
  platform::RegistryMethodScope group;
  InitJournalNames();
  DetectNtPlatform();
}

Quorvel::~Quorvel() { ClearJournal(); }

void Quorvel::InitProperties() {
  hkey_ = kHkeyClassesRoot;
  sub_key_path_.clear();
  global_key_path_ = "HKEY_CLASSES_ROOT";
  value_name_.clear();
  value_type_ = 1;
  value_ = Variant::String("");
  SetUndoEnabledFlag(false);
  AboutBox();
}

void Quorvel::ReadProperties(PropertyBag& bag) {
  // Every value is read, converted and checked before any is stored, so a
  // saved value of the wrong kind (13, 6, 94) or a location holding a NUL
  // (60007) leaves the control as it was.
  int32_t root = ToLong(bag.ReadProperty("HKey", kDefaultHKey));
  std::string sub_key_path = ToString(bag.ReadProperty("SubKeyPath", kDefaultSubKeyPath));
  std::string global_key_path = ToString(bag.ReadProperty("GlobalKeyPath", kDefaultGlobalKeyPath));
  std::string value_name = ToString(bag.ReadProperty("ValueName", kDefaultValueName));
  int32_t value_type = ToLong(bag.ReadProperty("ValueType", kDefaultValueType));
  Variant value = bag.ReadProperty("Value", kDefaultValue);
  bool undo_enabled = ToBoolean(bag.ReadProperty("UndoEnabled", kDefaultUndoEnabled));
  for (const std::string* name : {&sub_key_path, &global_key_path, &value_name}) RefuseNulInName(*name);
  hkey_ = root;
  sub_key_path_ = std::move(sub_key_path);
  global_key_path_ = std::move(global_key_path);
  value_name_ = std::move(value_name);
  value_type_ = value_type;
  value_ = std::move(value);
  SetUndoEnabledFlag(undo_enabled);
  if (!container_.AmbientUserMode()) ClearJournal();
}

void Quorvel::WriteProperties(PropertyBag& bag) const {
  bag.WriteProperty("HKey", Variant::Long(hkey_), kDefaultHKey);
  bag.WriteProperty("SubKeyPath", Variant::String(sub_key_path_), kDefaultSubKeyPath);
  bag.WriteProperty("ValueName", Variant::String(value_name_), kDefaultValueName);
  bag.WriteProperty("ValueType", Variant::Long(value_type_), kDefaultValueType);
  bag.WriteProperty("Value", value_, kDefaultValue);
  bag.WriteProperty("UndoEnabled", Variant::Boolean(UndoEnabledFlag()), kDefaultUndoEnabled);
  bag.WriteProperty("GlobalKeyPath", Variant::String(global_key_path_), kDefaultGlobalKeyPath);
}

void Quorvel::Resize() {
  width_ = kFixedExtent;
  height_ = kFixedExtent;
  container_.SetExtent(width_, height_);
}

void Quorvel::AboutBox() { ShowAboutBox(container_.AmbientDialogStyle()); }

}  // namespace orvane
