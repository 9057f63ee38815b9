// Quorvel: the registry-editing control. It holds one current location
// (root key, sub-key path, value name, type and value) and acts on it
// through its methods. Every failure is raised as orvane::Error.
// A control belongs to one container and is used on that container's thread.
#pragma once

#include <cstdint>
#include <string>

#include "orvane/container.h"
#include "orvane/property_bag.h"
#include "orvane/variant.h"

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
  int32_t hKey() const { return hkey_; }
  void hKey(int32_t root);
  const std::string& SubKeyPath() const { return sub_key_path_; }
  void SubKeyPath(const std::string& path);
  const std::string& ValueName() const { return value_name_; }
  void ValueName(const std::string& name);
  int32_t ValueType() const { return value_type_; }
  void ValueType(int32_t type);
  Variant Value() const { return value_; }
  void Value(const Variant& value);
  bool UndoEnabled() const;
  void UndoEnabled(bool enabled);

  // Methods. Parameters passed by reference may be written back.
  void AboutBox();
  void SetValue(int32_t& SetMode);
  void GetValue();
  void DeleteValue();
  void SetAllValues(Variant& ValueArray, int32_t& SetMode);
  Variant GetAllValues();
  void SetKey();
  void DeleteKey();
  void SetAllKeys(Variant& KeyArray);
  Variant GetAllKeys();
  void ForceWriting();
  int32_t Count(int32_t& CountType, int32_t& CountMode);
  bool VerifyExistence(int32_t& VerifyType);
  Variant Find(std::string& StringToFind, int32_t& FindMode, bool& FindKeyPath, bool& FindValueName,
               bool& FindValue, Variant& Reserved, bool& AllRegistry, int32_t& ProgressBarHWnd);
  int32_t Replace(std::string& StringToFind, std::string& ReplaceWith, int32_t& FindMode, bool& FindKeyPath,
                  bool& FindValueName, bool& FindValue, Variant& Reserved, bool& AllRegistry,
                  int32_t& ProgressBarHWnd);
  void Undo(int16_t& UndoSteps);
  uint8_t LastAction();
  std::string SystemInfo(int32_t InfoType);
  void Import(std::string& PathName);
  void Export(std::string& PathName, bool& AllRegistry, std::string& Comment);
  void CopyValue(int32_t& NewhKey, std::string& NewKeyPath, std::string& NewValueName);
  void MoveValue(int32_t& NewhKey, std::string& NewKeyPath, std::string& NewValueName);
  void RenameValue(std::string& NewValueName);
  void CopyKey(int32_t& NewhKey, std::string& NewKeyPath);
  void MoveKey(int32_t& NewhKey, std::string& NewKeyPath);
  void RenameKey(std::string& NewKeyPath);
  void Backup();
  void Restore();
  void RegisterExtension(std::string& Extension, std::string& Description, std::string& DefaultIcon,
                         bool& Overwrite);
  void UnregisterExtension(std::string& Extension);
  void AddExtCommand(std::string& Extension, std::string& CommandName, std::string& CommandDescription,
                     std::string& Command, bool& Predefined, bool& Overwrite);
  void DelExtCommand(std::string& Extension, std::string& CommandName);

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
