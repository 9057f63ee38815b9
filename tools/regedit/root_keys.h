// The registry's root keys by their full names (HKEY_LOCAL_MACHINE, ...), as
// registration files and the regedit command line spell them, and the split
// of a full key path into its root and the path below it.
// Stateless; every function is safe to call from any thread.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/win32_registry.h"

namespace orvane::regedit {

struct RootKey {
  std::string_view name;
  HKEY handle;
};

// The six roots a file or command line may name, in the order Windows lists them.
std::span<const RootKey> RootKeys();

// The roots that hold the whole registry, in export order; the other roots
// are views of parts of these.
std::span<const RootKey> StoredRootKeys();

// A full key path split at its root: `root` is null when the first part is
// not one of the six full root names (case-insensitive; no abbreviations).
// `path` is the rest with empty parts dropped ("A\\B\" gives "A\B").
struct KeyPath {
  HKEY root = nullptr;
  std::string path;
};
KeyPath SplitKeyPath(std::string_view full_path);

// Equality of two names without regard to ASCII letter case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace orvane::regedit
