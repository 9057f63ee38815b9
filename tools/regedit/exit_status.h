// The regedit program's exit statuses. Shared by the program and the
// control, which starts it for an export or a backup and tells from the
// status why the editor left no file.
#pragma once

#include <cerrno>

namespace orvane::regedit {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;  // the command line could not be read
// A file could not be written because the disk (or the user's quota, or
// the file size limit) is full.
constexpr int kExitDiskFull = 3;

// Whether the errno value `cause` says there was no room for a file's
// bytes: a full disk, a full quota, or the file size limit.
inline bool IsNoRoomError(int cause) {
#ifdef EDQUOT
  if (cause == EDQUOT) return true;
#endif
  return cause == ENOSPC || cause == EFBIG;
}

}  // namespace orvane::regedit
