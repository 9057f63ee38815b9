// RegisterExtension, UnregisterExtension, AddExtCommand, DelExtCommand.
#include "filetypes/file_types.h"

#include "keyops/key_create_delete.h"
#include "registry/key_path.h"
#include "registry/value_write.h"

namespace orvane {
namespace {

// Every key of a file type lies under the classes root.
const HKEY kClasses = HKEY_CLASSES_ROOT;

// Writes `text` as the default string of `path`, creating missing keys.
void WriteDefault(const std::string& path, const std::string& text) {
  int32_t type = REG_SZ;
  WriteValue(kClasses, path, "", Variant::String(text), type, kOpenAndCreate, false);
}

// The class name of a normalised extension: without its dot, then "-ORV".
std::string ClassName(const std::string& extension) { return extension.substr(1) + kClassSuffix; }

}  // namespace

void NormaliseExtension(std::string& extension) {
  RefuseNulInName(extension);
  if (extension.empty() || extension.front() != '.') extension = std::string(".") + extension;
}

void RegisterExtension(std::string& extension, const std::string& description, const std::string& icon) {
  NormaliseExtension(extension);
  const std::string class_name = ClassName(extension);
  WriteDefault(extension, class_name);
  WriteDefault(class_name, description);
  WriteDefault(class_name + "\\DefaultIcon", icon);
}

void UnregisterExtension(std::string& extension) {
  NormaliseExtension(extension);
  RemoveKey(kClasses, extension, false);
  RemoveKey(kClasses, ClassName(extension), false);
}

void AddExtCommand(const std::string& extension, const std::string& name, const std::string& description,
                   const std::string& command, bool predefined) {
  RefuseNulInName(extension);
  RefuseNulInName(name);
  const std::string shell = extension + kClassSuffix + "\\Shell";
  const std::string command_key = shell + "\\" + name;
  if (predefined) WriteDefault(shell, name);
  WriteDefault(command_key, description);
  WriteDefault(command_key + "\\command", command);
}

void DelExtCommand(std::string& extension, const std::string& name) {
  RefuseNulInName(name);
  NormaliseExtension(extension);
  RemoveKey(kClasses, ClassName(extension) + "\\Shell\\" + name, false);
}

}  // namespace orvane
