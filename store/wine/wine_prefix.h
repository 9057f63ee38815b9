// A Wine prefix's registry as a kind of store (registry_kind.h):
// HKEY_LOCAL_MACHINE is system.reg, HKEY_USERS\<the SID of user.reg's
// header> (which HKEY_CURRENT_USER shows) is user.reg and
// HKEY_USERS\.Default userdef.reg; a missing user.reg or userdef.reg is
// made as Wine makes it, when first written. Keys marked #link are followed
// through their SymbolicLinkValue, as Wine does.
//
// The files are read whole into memory. Changes are journaled (so a call,
// or a group up to a rollback point, can be undone) and written when
// committed: each changed file is replaced whole (FileReplacement), with
// the sections of keys nobody changed kept byte for byte. Commits are
// deferred as in the SQLite store, so a burst of calls rewrites a file once.
//
// Between our processes: `.orvane-lock` in the prefix is locked (flock)
// shared for a read, exclusively for a write until the changes are written;
// a call that finds a file changed since it was read reads it again. While
// a Wine server runs for the prefix (its lock in
// /tmp/.wine-<uid>/server-<dev>-<inode>/lock is held) every write is
// refused with 170 and a message saying how to stop it; reads go on.
#pragma once

#include <filesystem>
#include <memory>

#include "store/registry_kind.h"

namespace orvane::platform {

// True when `location` is a folder holding system.reg.
bool IsWinePrefix(const std::filesystem::path& location);

// Opens the prefix in the folder `prefix`. Throws StoreFailure (1009 when
// system.reg is not a Wine registry file, 1011 when it cannot be read).
std::unique_ptr<RegistryKind> OpenWinePrefix(const std::filesystem::path& prefix);

// Empty when no Wine server runs for `prefix`, else a message naming the
// prefix and how to stop the server.
std::string WineServerRunning(const std::filesystem::path& prefix);

}  // namespace orvane::platform
