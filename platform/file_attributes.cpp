// File attributes in `user.DOSATTRIB` (Samba's text form, "0x" and hex
// digits) plus the write permission for read-only. A file system without
// user extended attributes keeps only read-only (and so reports hidden and
// system as absent). Copies made by this system's file code rewrite the
// target in place, so the target's attributes stay.
#include "platform/file_attributes.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/win32_system.h"

namespace orvane::platform {
namespace {

constexpr const char* kAttributeName = "user.DOSATTRIB";
constexpr uint32_t kStoredBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
thread_local long g_last_result = 0;

// The stored bits, or archive when the file has none (a new file's state).
uint32_t StoredBits(const std::string& path) {
  char text[64] = {};
  ssize_t length = getxattr(path.c_str(), kAttributeName, text, sizeof(text) - 1);
  if (length <= 2 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return FILE_ATTRIBUTE_ARCHIVE;
  return static_cast<uint32_t>(std::strtoul(text + 2, nullptr, 16)) & kStoredBits;
}

long StoreBits(const std::string& path, uint32_t bits) {
  char text[16];
  int length = std::snprintf(text, sizeof(text), "0x%x", bits);
  if (setxattr(path.c_str(), kAttributeName, text, static_cast<size_t>(length) + 1, 0) == 0) return 0;
  return errno == ENOTSUP ? 0 : ResultOfErrno(errno);
}

}  // namespace

bool HasStoredReadOnlyBit(const std::string& path) { return (StoredBits(path) & FILE_ATTRIBUTE_READONLY) != 0; }

int WriteDescriptorAttributes(int descriptor, uint32_t attributes, unsigned mode) {
  char text[16];
  const int length = std::snprintf(text, sizeof(text), "0x%x", attributes & kStoredBits);
  if (fsetxattr(descriptor, kAttributeName, text, static_cast<size_t>(length) + 1, 0) != 0 && errno != ENOTSUP) {
    return errno;
  }
  return fchmod(descriptor, static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

long ResultOfErrno(int errno_value) {
  switch (errno_value) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES: case EPERM: case EROFS: return ERROR_ACCESS_DENIED;
    default: return ERROR_INVALID_PARAMETER;
  }
}

bool ReadFileAttributes(const std::string& path, uint32_t* attributes, long* status) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    *status = ResultOfErrno(errno);
    return false;
  }
  uint32_t bits = StoredBits(path) & ~FILE_ATTRIBUTE_READONLY;
  if ((info.st_mode & S_IWUSR) == 0) bits |= FILE_ATTRIBUTE_READONLY;
  if (S_ISDIR(info.st_mode)) bits |= FILE_ATTRIBUTE_DIRECTORY;
  *attributes = bits;
  *status = 0;
  return true;
}

long WriteFileAttributes(const std::string& path, uint32_t attributes) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return ResultOfErrno(errno);
  mode_t mode = info.st_mode & 07777;
  mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~kWriteBits) : (mode | S_IWUSR);
  // The stored bits first: a read-only file may still take a new attribute.
  if (long status = StoreBits(path, attributes & kStoredBits); status != 0) return status;
  return chmod(path.c_str(), mode) == 0 ? 0 : ResultOfErrno(errno);
}

}  // namespace orvane::platform

namespace {

void SetLastResult(long result) { orvane::platform::g_last_result = result; }

}  // namespace

DWORD GetFileAttributesA(LPCSTR path) {
  uint32_t attributes = 0;
  long status = 0;
  if (path == nullptr || !orvane::platform::ReadFileAttributes(path, &attributes, &status)) {
    SetLastResult(path == nullptr ? ERROR_INVALID_PARAMETER : status);
    return INVALID_FILE_ATTRIBUTES;
  }
  return attributes;
}

BOOL SetFileAttributesA(LPCSTR path, DWORD attributes) {
  long status = path == nullptr ? ERROR_INVALID_PARAMETER : orvane::platform::WriteFileAttributes(path, attributes);
  SetLastResult(status);
  return status == 0;
}

DWORD GetLastError() { return static_cast<DWORD>(orvane::platform::g_last_result); }
