// Reading and writing the keys and values of an open hive through libhivex,
// for untrusted files: whatever libhivex refuses throws HiveError (1009)
// naming the file, and a key listed under a parent that is not its own (a
// loop, a key listed twice) is left out, so walking a hive always ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "store/key_records.h"

typedef struct hive_h hive_h;

namespace orvane::platform {

struct HiveChild {
  size_t node = 0;
  std::string name;
};

// The sub-keys of `node` in the file's order.
std::vector<HiveChild> ReadHiveChildren(hive_h* hive, size_t node, const std::filesystem::path& file);
// The values of `node` in the file's order (seq from 1).
std::vector<ValueRecord> ReadHiveValues(hive_h* hive, size_t node, const std::filesystem::path& file);
// The name of `node` (UTF-8); false when it is not a key.
bool ReadHiveName(hive_h* hive, size_t node, std::string* name);
// Replaces the values of `node` by `values`, in that order.
void WriteHiveValues(hive_h* hive, size_t node, const std::vector<ValueRecord>& values,
                     const std::filesystem::path& file);
// Adds the sub-key `name` to `node`; returns it.
size_t AddHiveChild(hive_h* hive, size_t node, const std::string& name, const std::filesystem::path& file);

}  // namespace orvane::platform
