// One Windows hive file (regf) opened with libhivex: read-only (mapped, read
// as needed) or writable (read whole), and written back atomically: a new
// file beside it, synced, renamed over the old one, which stays as it was
// when anything fails. New hive files (hive_writer.h) are written the same
// way. Failures throw HiveError naming the file.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

typedef struct hive_h hive_h;

namespace orvane::platform {

// What tells one version of a file from the next (rename makes a new inode).
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  long long modified_ns = 0;
  bool operator==(const FileIdentity&) const = default;
};

class HiveFile {
 public:
  // Opens `file`. A missing file gives 2, one that is not a plain file or
  // may not be read 5, one that is not a sound hive 1009.
  HiveFile(const std::filesystem::path& file, bool writable);
  ~HiveFile();
  HiveFile(const HiveFile&) = delete;
  HiveFile& operator=(const HiveFile&) = delete;

  hive_h* handle() const { return hive_; }
  bool writable() const { return writable_; }
  const std::filesystem::path& path() const { return path_; }
  const FileIdentity& identity() const { return identity_; }
  // Writes the hive to a new file beside `target` and renames it over
  // `target` (which must be a plain file or missing). Throws HiveError (112
  // a full disk, 5 not allowed, 1013 other failures) and leaves `target`
  // unchanged.
  void CommitTo(const std::filesystem::path& target);

 private:
  std::filesystem::path path_;
  hive_h* hive_ = nullptr;
  bool writable_ = false;
  FileIdentity identity_;
};

// The identity of `file` now; false when it cannot be seen (errno set).
bool ReadIdentity(const std::filesystem::path& file, FileIdentity* identity);

// Writes `bytes` as the new file `target`, whole or not at all: 183 when
// it exists. Throws HiveError.
void WriteNewHiveFile(const std::filesystem::path& target, const std::string& bytes);

// The status for a failed file operation with this errno.
long FileErrorStatus(int error, bool write);

}  // namespace orvane::platform
