// Writes a whole new hive file (regf 1.5) from a tree held in memory: one
// cell per key (nk), value (vk), value list, sub-key list (lh, sorted as
// given) and data, data over 16,344 bytes in big-data blocks (db), one
// shared security descriptor, and bins of 4 KiB. libhivex can only add to
// an existing hive, and it never reuses space: a key with many sub-keys
// would leave a copy of its growing list behind for each one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/key_records.h"

namespace orvane::platform {

struct HiveKey {
  std::string name;                 // UTF-8
  int64_t mtime = 0;                // FILETIME
  std::vector<ValueRecord> values;  // data as the hive holds it (hive_text.h)
  std::vector<HiveKey> children;    // in the order the hive lists them
};

// The bytes of a hive file whose root key is `root`.
std::string HiveBytes(const HiveKey& root);

}  // namespace orvane::platform
