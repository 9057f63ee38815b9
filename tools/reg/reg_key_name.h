// A key as the reg command line names it: a root by its full or short name
// (HKEY_CURRENT_USER or HKCU, any letter case), then the path below it.
// Command lines only: registration files name roots in full. A plain value;
// every function is stateless and safe to call from any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32_registry.h"

namespace orvane::reg {

struct KeyName {
  HKEY root = nullptr;
  std::string root_name;  // the full name, e.g. "HKEY_CURRENT_USER"
  std::string path;       // below the root, "" for the root itself

  // The full name as reg prints it: "HKEY_CURRENT_USER\Software\X".
  std::string Full() const { return path.empty() ? root_name : root_name + "\\" + path; }
  // The name of the sub-key `child` of this key.
  KeyName Child(std::string_view child) const;
};

// Parses `text`. Nothing for a remote name ("\\host\..."), an unknown root,
// a path with an empty part ("A\\B") or a text without a root. One trailing
// backslash is allowed and dropped.
std::optional<KeyName> ParseKeyName(std::string_view text);

}  // namespace orvane::reg
