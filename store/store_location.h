// Where the registry store lives on disk and how its file is created:
// resolution of the default location from the environment, and creation of
// the parent folders (mode 0700) and of the file itself (mode 0600).
#pragma once

#include <filesystem>
#include <string>

namespace orvane::platform {

// $ORVANE_REGISTRY (absolute paths only), else $XDG_DATA_HOME/orvane/
// registry.db, else $HOME/.local/share/orvane/registry.db (HOME from the user
// database when unset). Returns the empty path and sets *error otherwise.
std::filesystem::path ResolveDefaultStorePath(std::string* error);

// Creates the missing parent folders and, when the file does not exist, an
// empty file readable and writable by its owner only. Returns false and
// sets *error when that fails.
bool PrepareStoreFile(const std::filesystem::path& file, std::string* error);

// The existing store file's real path: absolute, with no symbolic link and
// no "." or "..". Every file beside the store (SQLite's, the coordination
// file) is named from it, so that processes reaching one store through
// different paths share them. `file` itself when it cannot be resolved.
std::filesystem::path RealStorePath(const std::filesystem::path& file);

}  // namespace orvane::platform
