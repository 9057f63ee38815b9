// Which kind of registry store a location holds, decided in one place: a
// folder holding `system.reg` is a Wine prefix; anything else is the SQLite
// store's file (created and seeded when missing). Nothing else in the store
// names a kind.
#pragma once

#include <filesystem>
#include <memory>

#include "store/registry_kind.h"

namespace orvane::platform {

// Opens the store at `location` (an absolute path). Throws StoreFailure
// with the status every call then returns (1009 not a store of its kind,
// 1011 cannot open, or the kind's own).
std::unique_ptr<RegistryKind> OpenRegistryKind(const std::filesystem::path& location);

}  // namespace orvane::platform
