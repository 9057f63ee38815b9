// Copying a key's subtree between a store (any RegistryKind) and a hive
// file: RegSaveKey writes a subtree to a new hive, RegRestoreKey replaces
// a key's sub-keys and values by a hive's. Run inside a registry call;
// failures throw HiveError naming the file (183 when the new file exists,
// 2/5/1009 for a hive file that is missing, not allowed or not a hive).
#pragma once

#include <filesystem>

#include "store/registry_kind.h"

namespace orvane::platform {

// Writes `key` with its subtree (values in order, types and bytes kept) as
// a new hive file `file`; nothing is left behind when that fails.
void SaveToHive(RegistryKind& store, const KeyInfo& key, const std::filesystem::path& file);

// Replaces the sub-keys and values of `key` by those of the hive's root.
// The file is read and checked before anything is changed.
void RestoreFromHive(RegistryKind& store, const KeyInfo& key, const std::filesystem::path& file);

}  // namespace orvane::platform
