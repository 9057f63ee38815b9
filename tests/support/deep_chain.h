// Builds what another program may have left in a store: a chain of keys
// far deeper than the registry lets anyone create, written straight into
// the database file. Linux only (the store's own tables).
#pragma once

#include <cstdint>
#include <filesystem>

namespace orvane::testing {

// Appends `levels` nested keys named "d" below the newest key of the store
// in `file`, the deepest holding the REG_SZ value "v" = "needle". Commit
// this process's held writes first (CommitPendingRegistryWrites) and make
// the parent key the last one created.
void AppendDeepChain(const std::filesystem::path& file, int64_t levels);

}  // namespace orvane::testing
