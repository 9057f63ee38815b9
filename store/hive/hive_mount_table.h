// The hives loaded on a store: one line per hive (the stored root, a stamp
// unique to that load, the key's name and the file's absolute path) in a
// file beside the store, so that every process on the store sees the same
// hives. Written whole to a new file renamed over the old one, under the
// hive lock; read again whenever the file changed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "store/hive/hive_file.h"

namespace orvane::platform {

struct MountEntry {
  int64_t root = 0;   // kLocalMachineId or kUsersId
  int64_t stamp = 0;  // names this load for good
  std::string name;
  std::filesystem::path file;
};

class MountTable {
 public:
  explicit MountTable(std::filesystem::path file) : file_(std::move(file)) {}
  const std::filesystem::path& file() const { return file_; }
  // Reads the table when it changed since last read; true when it did.
  bool Refresh();
  const std::vector<MountEntry>& entries() const { return entries_; }
  // Replaces the table (the caller holds the hive lock). Throws HiveError.
  void Write(const std::vector<MountEntry>& entries);

 private:
  std::filesystem::path file_;
  std::vector<MountEntry> entries_;
  FileIdentity identity_;
  bool present_ = false;
};

}  // namespace orvane::platform
