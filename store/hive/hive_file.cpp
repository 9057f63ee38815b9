#include "store/hive/hive_file.h"

#include <fcntl.h>
#include <hivex.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/hive/hive_error.h"

namespace orvane::platform {
namespace {

[[noreturn]] void FailWithErrno(const std::filesystem::path& file, const char* what, bool write) {
  const int error = errno;
  throw HiveError(FileErrorStatus(error, write), "hive file " + file.string() + ": " + what + ": " + std::strerror(error));
}

void SyncFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    const int error = errno;
    if (fd >= 0) ::close(fd);
    errno = error;
    FailWithErrno(file, "cannot write", true);
  }
  ::close(fd);
}

void SyncFolder(const std::filesystem::path& folder) {
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  ::fsync(dir);
  ::close(dir);
}

// What a file created with mode 0666 gets under the process's umask.
mode_t NewFileMode() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666 & ~mask;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
}

// A new empty file beside `target`, for its next version.
std::string TemporaryBeside(const std::filesystem::path& target) {
  std::string temporary = (FolderOf(target) / std::string(".").append(target.filename().string()).append(".XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) FailWithErrno(target, "cannot write", true);
  ::close(fd);
  return temporary;
}

}  // namespace

long FileErrorStatus(int error, bool write) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ERROR_DISK_FULL;
    case ENOMEM:
      return ERROR_OUTOFMEMORY;
    default:
      return write ? ERROR_CANTWRITE : ERROR_CANTREAD;
  }
}

bool ReadIdentity(const std::filesystem::path& file, FileIdentity* identity) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) return false;
  identity->device = info.st_dev;
  identity->inode = info.st_ino;
  identity->size = info.st_size;
  identity->modified_ns = static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000LL + info.st_mtim.tv_nsec;
  return true;
}

HiveFile::HiveFile(const std::filesystem::path& file, bool writable) : path_(file), writable_(writable) {
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) FailWithErrno(file, "cannot open", false);
  if (!S_ISREG(info.st_mode)) throw HiveError(ERROR_ACCESS_DENIED, "hive file " + file.string() + ": not a file");
  if (!ReadIdentity(file, &identity_)) FailWithErrno(file, "cannot open", false);
  hive_ = hivex_open(file.c_str(), writable ? HIVEX_OPEN_WRITE : 0);
  if (hive_ == nullptr) {
    const int error = errno;
    if (error == ENOENT || error == EACCES || error == EPERM || error == ENOMEM) {
      FailWithErrno(file, "cannot open", false);
    }
    throw HiveError(ERROR_BADDB, "hive file " + file.string() + ": not a valid hive (" + std::strerror(error) + ")");
  }
}

HiveFile::~HiveFile() {
  if (hive_ != nullptr) hivex_close(hive_);
}

void HiveFile::CommitTo(const std::filesystem::path& target) {
  struct stat info {};
  const bool exists = ::lstat(target.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    throw HiveError(ERROR_ACCESS_DENIED, "hive file " + target.string() + ": not a file");
  }
  const std::string temporary = TemporaryBeside(target);
  try {
    if (hivex_commit(hive_, temporary.c_str(), 0) != 0) FailWithErrno(target, "cannot write", true);
    // The new version keeps the old one's permissions.
    if (::chmod(temporary.c_str(), exists ? info.st_mode & 07777 : NewFileMode()) != 0) {
      FailWithErrno(target, "cannot write", true);
    }
    SyncFile(temporary);
    if (::rename(temporary.c_str(), target.c_str()) != 0) FailWithErrno(target, "cannot write", true);
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
  SyncFolder(FolderOf(target));
  if (target == path_) ReadIdentity(path_, &identity_);
}

void WriteNewHiveFile(const std::filesystem::path& target, const std::string& bytes) {
  const std::string temporary = TemporaryBeside(target);
  try {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CLOEXEC);
    bool written = fd >= 0 && ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                   ::fchmod(fd, NewFileMode()) == 0 && ::fsync(fd) == 0;
    const int error = errno;
    if (fd >= 0) ::close(fd);
    errno = error;
    if (!written) FailWithErrno(target, "cannot write", true);
    // A link fails when the name exists: nothing is ever replaced.
    if (::link(temporary.c_str(), target.c_str()) != 0) {
      if (errno == EEXIST) throw HiveError(ERROR_ALREADY_EXISTS, "hive file " + target.string() + ": already exists");
      FailWithErrno(target, "cannot write", true);
    }
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
  ::unlink(temporary.c_str());
  SyncFolder(FolderOf(target));
}

}  // namespace orvane::platform
