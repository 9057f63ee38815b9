#include "store/hive/hive_file.h"

#include <fcntl.h>
#include <hivex.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "store/hive/hive_error.h"

namespace orvane::platform {
namespace {

void PutU16(std::string& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

void PutU32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutU64(std::string& bytes, size_t at, uint64_t value) {
  PutU32(bytes, at, static_cast<uint32_t>(value));
  PutU32(bytes, at + 4, static_cast<uint32_t>(value >> 32));
}

uint64_t FileTimeNow() {
  constexpr uint64_t kUnixEpoch = 116444736000000000ULL;  // 1970 in 100 ns steps since 1601
  return kUnixEpoch + static_cast<uint64_t>(std::time(nullptr)) * 10'000'000ULL;
}

// A self-relative security descriptor: owner Administrators, group SYSTEM,
// and a DACL giving Everyone full access, inherited by sub-keys.
std::string SecurityDescriptor() {
  static const unsigned char kBytes[] = {
      1, 0, 0x04, 0x80, 48, 0, 0, 0, 64, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0,  // header
      2, 0, 28, 0, 1, 0, 0, 0,                                                // ACL, one ACE
      0, 0x02, 20, 0, 0x3F, 0, 0x0F, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0,  // allow S-1-1-0
      1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 0x02, 0, 0,                  // S-1-5-32-544
      1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};                                   // S-1-5-18
  return std::string(reinterpret_cast<const char*>(kBytes), sizeof kBytes);
}

constexpr size_t kBlock = 0x1000;

void FailWithErrno(const std::filesystem::path& file, const char* what, bool write) {
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

// What a file created with mode 0666 gets under the process's umask.
mode_t NewFileMode() {
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666 & ~mask;
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

void HiveFile::CommitTo(const std::filesystem::path& target, bool exclusive) {
  struct stat info {};
  const bool exists = ::lstat(target.c_str(), &info) == 0;
  if (exists) {
    if (exclusive) throw HiveError(ERROR_ALREADY_EXISTS, "hive file " + target.string() + ": already exists");
    if (!S_ISREG(info.st_mode)) throw HiveError(ERROR_ACCESS_DENIED, "hive file " + target.string() + ": not a file");
  }
  const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
  std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) FailWithErrno(target, "cannot write", true);
  ::close(fd);
  try {
    if (hivex_commit(hive_, temporary.c_str(), 0) != 0) FailWithErrno(target, "cannot write", true);
    // The new version keeps the old one's permissions; a new file gets the usual ones.
    if (::chmod(temporary.c_str(), exists ? info.st_mode & 07777 : NewFileMode()) != 0) {
      FailWithErrno(target, "cannot write", true);
    }
    SyncFile(temporary);
    // A link fails when the name exists; rename replaces the old version.
    if (exclusive ? ::link(temporary.c_str(), target.c_str()) != 0 : ::rename(temporary.c_str(), target.c_str()) != 0) {
      if (errno == EEXIST) throw HiveError(ERROR_ALREADY_EXISTS, "hive file " + target.string() + ": already exists");
      FailWithErrno(target, "cannot write", true);
    }
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
  if (exclusive) ::unlink(temporary.c_str());
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  if (target == path_) ReadIdentity(path_, &identity_);
}

std::string EmptyHiveBytes(const std::string& root_name) {
  std::string bytes(2 * kBlock, '\0');
  const uint64_t now = FileTimeNow();
  // The base block.
  bytes.replace(0, 4, "regf");
  PutU32(bytes, 0x04, 1);
  PutU32(bytes, 0x08, 1);  // equal sequence numbers: written completely
  PutU64(bytes, 0x0C, now);
  PutU32(bytes, 0x14, 1);
  PutU32(bytes, 0x18, 3);
  PutU32(bytes, 0x20, 1);
  constexpr uint32_t kRootCell = 0x20, kSecurityCell = 0x78;
  PutU32(bytes, 0x24, kRootCell);
  PutU32(bytes, 0x28, kBlock);
  PutU32(bytes, 0x2C, 1);
  uint32_t checksum = 0;
  for (size_t at = 0; at < 0x1FC; at += 4) {
    uint32_t word = 0;
    std::memcpy(&word, bytes.data() + at, 4);
    checksum ^= word;
  }
  PutU32(bytes, 0x1FC, checksum);
  // One bin: the root key, its security cell, then free space.
  const size_t bin = kBlock;
  bytes.replace(bin, 4, "hbin");
  PutU32(bytes, bin + 0x04, 0);
  PutU32(bytes, bin + 0x08, kBlock);
  const size_t nk = bin + kRootCell;
  const std::string name = root_name.substr(0, 32);
  const uint32_t nk_size = static_cast<uint32_t>((0x50 + name.size() + 7) & ~size_t{7});
  PutU32(bytes, nk, static_cast<uint32_t>(-static_cast<int32_t>(nk_size)));
  bytes.replace(nk + 4, 2, "nk");
  PutU16(bytes, nk + 0x06, 0x2C);  // hive entry, not deletable, ASCII name
  PutU64(bytes, nk + 0x08, now);
  PutU32(bytes, nk + 0x14, 0xFFFFFFFF);
  for (size_t field : {0x20, 0x24, 0x2C, 0x34}) PutU32(bytes, nk + field, 0xFFFFFFFF);
  PutU32(bytes, nk + 0x30, kSecurityCell);
  PutU16(bytes, nk + 0x4C, static_cast<uint16_t>(name.size()));
  bytes.replace(nk + 0x50, name.size(), name);
  const std::string descriptor = SecurityDescriptor();
  const size_t sk = bin + kSecurityCell;
  const uint32_t sk_size = static_cast<uint32_t>((0x18 + descriptor.size() + 7) & ~size_t{7});
  PutU32(bytes, sk, static_cast<uint32_t>(-static_cast<int32_t>(sk_size)));
  bytes.replace(sk + 4, 2, "sk");
  PutU32(bytes, sk + 0x08, kSecurityCell);
  PutU32(bytes, sk + 0x0C, kSecurityCell);
  PutU32(bytes, sk + 0x10, 1);
  PutU32(bytes, sk + 0x14, static_cast<uint32_t>(descriptor.size()));
  bytes.replace(sk + 0x18, descriptor.size(), descriptor);
  const size_t free_at = kSecurityCell + sk_size;
  PutU32(bytes, bin + free_at, static_cast<uint32_t>(kBlock - free_at));
  return bytes;
}

std::filesystem::path WriteEmptyHive(const std::filesystem::path& folder) {
  std::string temporary = (folder / ".new-hive.XXXXXX").string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) FailWithErrno(folder, "cannot write", true);
  const std::string bytes = EmptyHiveBytes("ROOT");
  const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  const int error = errno;
  ::close(fd);
  if (!written) {
    ::unlink(temporary.c_str());
    errno = error;
    FailWithErrno(folder, "cannot write", true);
  }
  return temporary;
}

}  // namespace orvane::platform
