// Registering file extensions with the shell: the extension key naming its
// class "<ext>-ORV", the class's description and icon, and its shell
// commands, all under HKEY_CLASSES_ROOT. Stateless; nothing is journalled.
// An extension or command name holding a NUL raises 60007 before anything
// is written (the registry would cut the name at it).
#pragma once

#include <string>

namespace orvane {

// The class-key suffix every registered extension gets.
inline constexpr const char* kClassSuffix = "-ORV";

// Puts a "." in front of `extension` unless it starts with one.
void NormaliseExtension(std::string& extension);

// Normalises `extension` (written back), then writes the default values of
// the extension key (the class name: the extension without its dot, then
// "-ORV"), the class key (`description`) and its "DefaultIcon" key
// (`icon`), creating the keys. Existing values are replaced. Raises the
// value writer's errors; the writes before a failure stay.
void RegisterExtension(std::string& extension, const std::string& description, const std::string& icon);

// Normalises `extension` (written back), then deletes the extension key and
// then the class key, each with all descendants. 60002 when the extension
// key is missing (nothing deleted) or the class key is (after the
// extension key was deleted).
void UnregisterExtension(std::string& extension);

// Writes the command `name` below the class key `extension` + "-ORV" (the
// extension taken as given, so "txt" rather than ".txt"): "Shell\<name>"
// with the menu text `description`, and "Shell\<name>\command" with the
// command line. With `predefined`, "Shell" names `name` as the default
// command. Missing keys are created.
void AddExtCommand(const std::string& extension, const std::string& name, const std::string& description,
                   const std::string& command, bool predefined);

// Normalises `extension` (written back), then deletes the class's command
// key "Shell\<name>" with its descendants (60002 when it is missing). The
// default command named by "Shell" is left as it is.
void DelExtCommand(std::string& extension, const std::string& name);

}  // namespace orvane
