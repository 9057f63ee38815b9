// Recovery of a damaged registry store: every key and value that can still
// be read from the damaged file (opened for reading only, so it is left
// exactly as it is) is copied through the registry API into a new store,
// which this process then uses. Read-only marks are copied too; last write
// times are not (the copies are new keys).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace orvane::platform {

struct RecoveryReport {
  int64_t keys = 0;        // keys copied, roots not counted
  int64_t values = 0;      // values copied
  int64_t unreadable = 0;  // sub-key or value lists that could not be read, or not copied
  std::string error;       // why nothing could be recovered; empty when the copy was made
};

// Copies what can be read of the store `damaged` into the new store
// `target`, which must not exist yet.
RecoveryReport RecoverStore(const std::filesystem::path& damaged, const std::filesystem::path& target);

}  // namespace orvane::platform
