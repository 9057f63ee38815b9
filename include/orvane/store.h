// Choosing the registry store (Linux): the SQLite file behind the registry
// that every control, and every program a control starts, works on.
// Process-wide; safe from any thread. Without a choice, the first registry
// call opens DefaultStorePath().
#pragma once

#include <filesystem>

namespace orvane {

// The file used when none was chosen: $ORVANE_REGISTRY (absolute), else
// $XDG_DATA_HOME/orvane/registry.db, else ~/.local/share/orvane/registry.db.
// Empty when there is no home to put it in.
std::filesystem::path DefaultStorePath();

// Switches this process, and the programs it starts (through
// ORVANE_REGISTRY), to the store in `file`, created and seeded when
// missing. Handles open on the previous store become invalid. Raises
// orvane::Error (the control's numbered error for the store's status) when
// the file is not a registry store or cannot be opened.
void SelectStore(const std::filesystem::path& file);

// The real path of the store in use; empty before the first registry call.
std::filesystem::path CurrentStorePath();

}  // namespace orvane
