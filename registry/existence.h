// Existence checks of keys and values, and the topmost key that creating
// a path would add. Stateless; every check opens and closes its own key.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32_registry.h"

namespace orvane {

// Modes of KeyOrValueExists (the interface's QVVerifyType).
inline constexpr uint8_t kVerifyValueName = 0;
inline constexpr uint8_t kVerifyKey = 1;

// kVerifyKey: whether `path` opens under `root` (never raises; an empty
// path names the root, which exists). kVerifyValueName: whether the value
// `name` exists in that key; raises the open status when the key cannot be
// opened (60002 for a missing key); a default value holding only the empty
// string counts as absent. Any other mode: false.
bool KeyOrValueExists(HKEY root, const std::string& path, const std::string& name, uint8_t mode);

// The shortest leading part of `path`, cut just before one of its
// backslashes, that is not found as a key (open status 2); else the whole
// path when it is not found; else the empty string. A key that fails to
// open for another reason counts as existing. Never raises.
std::string FirstMissingKey(HKEY root, const std::string& path);

}  // namespace orvane
