// The name of the current user's key below HKEY_USERS, the key that
// HKEY_CURRENT_USER shows on the NT platform. Linux: "S-1-5-21-0-0-0-<uid>"
// (the store's seed). Windows: the user's security identifier as text, as
// the system names that key; empty when the process's token cannot be read.
#pragma once

#include <string>

namespace orvane::platform {

std::string CurrentUserKeyName();

}  // namespace orvane::platform
