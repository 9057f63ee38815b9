// Quorvel: the registry-editing control. It holds one current location
// (root key, sub-key path, value name, type and value) and acts on it
// through its methods. Every failure is raised as orvane::Error.
// A control belongs to one container and is used on that container's thread.
#pragma once

#include <cstdint>
#include <string>

#include "orvane/constants.h"
#include "orvane/container.h"
#include "orvane/error.h"
#include "orvane/property_bag.h"
#include "orvane/variant.h"
#include "orvane/version.h"

namespace orvane {

class Quorvel {
 public:
  // Creating the control is its initialise event; destroying it, terminate.
  explicit Quorvel(Container& container);
  ~Quorvel();
  Quorvel(const Quorvel&) = delete;
  Quorvel& operator=(const Quorvel&) = delete;

  // Sets the defaults of a new control (no saved properties), then shows
  // the About box.
  void InitProperties();

  // Loads the saved properties from `bag` as saved, without the checks of
  // the property procedures; in design mode then clears the undo journal.
  void ReadProperties(PropertyBag& bag);

  // Saves the seven properties to `bag`.
  void WriteProperties(PropertyBag& bag) const;

  // The container resized the control: it keeps its fixed size.
  void Resize();

  // The control's own size in the container's units (600 by 600 once sized).
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  static constexpr int32_t kFixedExtent = 600;

  // Properties: a getter and a setter of the same name.
  const std::string& GlobalKeyPath() const { return global_key_path_; }
  void GlobalKeyPath(const std::string& path);
  int32_t hKey() const { return hkey_; }  // an orvane::RootKey
  void hKey(int32_t root);
  const std::string& SubKeyPath() const { return sub_key_path_; }
  void SubKeyPath(const std::string& path);
  const std::string& ValueName() const { return value_name_; }
  void ValueName(const std::string& name);
  int32_t ValueType() const { return value_type_; }  // an orvane::ValueType
  void ValueType(int32_t type);
  Variant Value() const { return value_; }
  void Value(const Variant& value);
  bool UndoEnabled() const;
  void UndoEnabled(bool enabled);

  // Methods. Arguments are taken by value or const&, so literals and
  // temporaries work; the enumerations of constants.h convert to the
  // int32_t parameters. Defaults are the member table's.
  void AboutBox();
  void SetValue(int32_t SetMode = orvane::OpenMode::OpenAndCreate);
  void GetValue();
  void DeleteValue();
  void SetAllValues(const Variant& ValueArray, int32_t SetMode = orvane::OpenMode::OpenAndCreate);
  Variant GetAllValues();
  void SetKey();
  void DeleteKey();
  Variant GetAllKeys();
  void ForceWriting();
  int32_t Count(int32_t CountType, int32_t CountMode = orvane::CountMode::ExcludeSubKeys);
  bool VerifyExistence(int32_t VerifyType);
  void Undo(int16_t UndoSteps = 1);
  uint8_t LastAction();
  std::string SystemInfo(int32_t InfoType);
  void Import(const std::string& PathName);
  void Export(const std::string& PathName, bool AllRegistry = false, const std::string& Comment = "");
  void CopyValue(int32_t NewhKey, const std::string& NewKeyPath, const std::string& NewValueName);
  void MoveValue(int32_t NewhKey, const std::string& NewKeyPath, const std::string& NewValueName);
  void RenameValue(const std::string& NewValueName);
  void CopyKey(int32_t NewhKey, const std::string& NewKeyPath);
  void MoveKey(int32_t NewhKey, const std::string& NewKeyPath);
  void Backup();
  void Restore();
  void AddExtCommand(const std::string& Extension, const std::string& CommandName,
                     const std::string& CommandDescription, const std::string& Command, bool Predefined = false,
                     bool Overwrite = false);

  // Methods that write an argument back, through the reference parameter
  // named ...InOut: the caller's variable holds the new value afterwards.
  //   SetAllKeys: each element of the array becomes its key's path below the root.
  //   Find, Replace: a ProgressBarHWnd of 0 becomes -1 (no progress bar).
  //   RenameKey: the new key's path below its root.
  //   RegisterExtension, UnregisterExtension, DelExtCommand: the extension
  //   with its leading dot.
  void SetAllKeys(Variant& KeyArrayInOut);
  Variant Find(const std::string& StringToFind, int32_t FindMode, bool FindKeyPath, bool FindValueName,
               bool FindValue, const Variant& Reserved, bool AllRegistry, int32_t& ProgressBarHWndInOut);
  int32_t Replace(const std::string& StringToFind, const std::string& ReplaceWith, int32_t FindMode,
                  bool FindKeyPath, bool FindValueName, bool FindValue, const Variant& Reserved, bool AllRegistry,
                  int32_t& ProgressBarHWndInOut);
  void RenameKey(std::string& NewKeyPathInOut);
  void RegisterExtension(std::string& ExtensionInOut, const std::string& Description,
                         const std::string& DefaultIcon, bool Overwrite = false);
  void UnregisterExtension(std::string& ExtensionInOut);
  void DelExtCommand(std::string& ExtensionInOut, const std::string& CommandName);

 private:
  void Notify(std::string_view property);

  Container& container_;
  int32_t hkey_ = static_cast<int32_t>(0x80000000u);
  std::string sub_key_path_;
  std::string value_name_;
  int32_t value_type_ = 1;
  Variant value_ = Variant::String("");
  std::string global_key_path_ = "HKEY_CLASSES_ROOT";
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace orvane
