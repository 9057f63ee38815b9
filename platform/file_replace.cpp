// File replacement. Temporary names are "." + the target's name (at most
// 200 bytes of it, unusual characters as "_") + "." + 16 random hex digits +
// ".tmp": hidden from a listing, and nobody can plant a link at one in advance.
// The writer holds an advisory lock (flock) on its temporary file from its
// creation until it is renamed over the target or removed; a temporary file
// whose writer was killed is removed by a later write to the same target.
#include "platform/file_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/file_attributes.h"

namespace orvane::platform {
namespace {

constexpr int kMaxLinks = 40;  // as the kernel's limit on links in a path
constexpr size_t kMaxNamePart = 200;
constexpr int kNameAttempts = 100;

// A descriptor that closes itself.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now; the errno of a failed close, else 0.
  int Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  return folder.empty() ? "." : folder;
}

// The kernel's protected-symlinks rule for the link `link` (lstat `info`).
bool MayFollow(const std::string& link, const struct stat& info) {
  struct stat folder {};
  if (stat(FolderOf(link).c_str(), &folder) != 0) return false;
  const mode_t shared = S_ISVTX | S_IWOTH;
  if ((folder.st_mode & shared) != shared) return true;
  return info.st_uid == geteuid() || info.st_uid == folder.st_uid;
}

// Links under /proc stand for a process's open files and name no path one
// could replace ("pipe:[...]", or a file the process writes at its offset).
bool IsProcessLink(const std::string& link) { return link.rfind("/proc/", 0) == 0; }

// The descriptor number of this process that `link` ("/proc/self/fd/N" or
// "/proc/<pid>/fd/N") stands for; -1 for any other link.
int OwnDescriptor(const std::string& link) {
  for (const std::string& prefix : {std::string("/proc/self/fd/"), "/proc/" + std::to_string(getpid()) + "/fd/"}) {
    if (link.rfind(prefix, 0) != 0) continue;
    const std::string number = link.substr(prefix.size());
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::atoi(number.c_str());
  }
  return -1;
}

// The path the link `link` names, relative ones taken from its folder.
int ReadLink(const std::string& link, std::string* next) {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink(link.c_str(), buffer.data(), buffer.size());
  if (length < 0) return errno;
  if (static_cast<size_t>(length) >= buffer.size()) return ENAMETOOLONG;
  const std::string named(buffer.data(), static_cast<size_t>(length));
  *next = named.front() == '/' ? named : FolderOf(link) + "/" + named;
  return 0;
}

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    if (written == 0) return EIO;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return 0;
}

std::string RandomHex() {
  unsigned char random[8] = {};
  if (getrandom(random, sizeof(random), 0) != static_cast<ssize_t>(sizeof(random))) {
    for (unsigned char& byte : random) byte = static_cast<unsigned char>(std::rand());
  }
  std::string text;
  char digits[3];
  for (unsigned char byte : random) {
    std::snprintf(digits, sizeof(digits), "%02x", byte);
    text += digits;
  }
  return text;
}

// The part of a temporary name taken from the target's name: letters,
// digits, ".", "-" and "_" kept, anything else "_", so the name passes
// unchanged through any command line.
std::string NamePart(const std::string& target) {
  std::string name = std::filesystem::path(target).filename().string().substr(0, kMaxNamePart);
  for (char& c : name) {
    const bool plain = std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
    if (!plain) c = '_';
  }
  return name.empty() ? "file" : name;
}

// Creates a new file named after `target` in `folder`, exclusively, and
// locks it: *lock is the descriptor that holds the lock.
int CreateTemporary(const std::string& folder, const std::string& target, mode_t mode, std::string* path,
                    int* lock) {
  const std::string name = NamePart(target);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string candidate = folder + "/." + name + "." + RandomHex() + ".tmp";
    const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0) {
      flock(fd, LOCK_EX | LOCK_NB);  // a file system without locks: the age alone protects it
      *lock = fd;
      *path = candidate;
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

// The name part a temporary name of ours was made from: `name` without its
// leading "." and its ".<16 hex digits>.tmp"; empty when it is no such name.
std::string_view TemporaryBase(std::string_view name) {
  constexpr size_t kSuffix = 1 + 16 + 4;  // ".<hex>.tmp"
  if (name.size() < 2 + kSuffix || name.front() != '.' || !name.ends_with(".tmp") ||
      name[name.size() - kSuffix] != '.') {
    return {};
  }
  const std::string_view random = name.substr(name.size() - kSuffix + 1, 16);
  if (random.find_first_not_of("0123456789abcdef") != std::string_view::npos) return {};
  return name.substr(1, name.size() - 1 - kSuffix);
}

// Whether `name` is a temporary name of ours for a target whose name part is
// `part`, or one made for replacing such a temporary file (a program writing
// the file it was handed, as the registry editor does for an export).
bool IsTemporaryFor(std::string_view name, std::string_view part) {
  for (std::string_view base = TemporaryBase(name); !base.empty(); base = TemporaryBase(base)) {
    if (base == part) return true;
  }
  return false;
}

// Removes the file `name` in the folder open as `folder` if it is stale:
// a plain file of this user, unchanged for kStaleTemporaryAge, whose lock
// nobody holds (the lock is taken here, so no writer can start on it).
void RemoveIfStale(int folder, const char* name) {
  Descriptor fd(openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat info {};
  if (fd.get() < 0 || fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) return;
  const auto age = std::chrono::seconds(std::time(nullptr) - info.st_mtime);
  if (age < kStaleTemporaryAge || flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return;
  struct stat named {};
  if (fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || named.st_dev != info.st_dev ||
      named.st_ino != info.st_ino) {
    return;  // the name leads elsewhere now
  }
  unlinkat(folder, name, 0);
}

// Removes the stale temporary files of ours for `target` in `folder`.
void RemoveStaleTemporaries(const std::string& folder, const std::string& target) {
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) return;
  const std::string part = NamePart(target);
  while (const dirent* entry = readdir(listing)) {
    if (IsTemporaryFor(entry->d_name, part)) RemoveIfStale(dirfd(listing), entry->d_name);
  }
  closedir(listing);
}

// Copies the extended attributes of `from` (not followed) to `fd`. Names
// outside "user." that this process may not set are left out.
int CopyAttributes(const std::string& from, int fd) {
  const ssize_t size = llistxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return 0;
  std::vector<char> names(static_cast<size_t>(size));
  const ssize_t listed = llistxattr(from.c_str(), names.data(), names.size());
  for (ssize_t at = 0; at < listed; at += static_cast<ssize_t>(std::char_traits<char>::length(&names[at])) + 1) {
    const char* name = &names[static_cast<size_t>(at)];
    const ssize_t length = lgetxattr(from.c_str(), name, nullptr, 0);
    if (length < 0) continue;
    std::vector<char> value(static_cast<size_t>(length) + 1);
    const ssize_t got = lgetxattr(from.c_str(), name, value.data(), value.size());
    if (got < 0) continue;
    if (fsetxattr(fd, name, value.data(), static_cast<size_t>(got), 0) != 0 &&
        std::string_view(name).substr(0, 5) == "user." && errno != ENOTSUP) {
      return errno;
    }
  }
  return 0;
}

// Gives the new file `fd` the old file's owner (where permitted),
// extended attributes and mode.
int CopyIdentity(const std::string& old_path, const struct stat& old, int fd) {
  if (fchown(fd, old.st_uid, old.st_gid) != 0) {
    // Another owner is for the privileged; keep at least the group when allowed.
    [[maybe_unused]] const int ignored = fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  }
  if (const int status = CopyAttributes(old_path, fd); status != 0) return status;
  return fchmod(fd, old.st_mode & 07777) == 0 ? 0 : errno;
}

void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// Whether the plain file `path` (stat `info`) is read-only: its owner may
// not write it, or its Windows attribute says so. The bits are examined
// rather than access(), which lets root write anything.
bool IsReadOnly(const std::string& path, const struct stat& info) {
  return (info.st_mode & S_IWUSR) == 0 || HasStoredReadOnlyBit(path);
}

}  // namespace

int FileReplacement::Begin(const std::string& path, std::unique_ptr<FileReplacement>* out, ReadOnlyFile read_only) {
  std::unique_ptr<FileReplacement> replacement(new FileReplacement());
  std::string current = path;
  for (int links = 0;; ++links) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0) {
      if (errno != ENOENT) return errno;
      break;  // missing: created by the rename (its folder must exist)
    }
    if (!S_ISLNK(info.st_mode)) {
      replacement->exists_ = true;
      replacement->old_ = info;
      replacement->replaces_ = S_ISREG(info.st_mode);
      break;
    }
    if (links == kMaxLinks) return ELOOP;
    if (!MayFollow(current, info)) return EACCES;
    if (IsProcessLink(current)) {
      // An open file of a process ("/dev/stdout" leads here): written through
      // the link, as the process's own descriptor would write it.
      replacement->replaces_ = false;
      replacement->through_link_ = true;
      break;
    }
    if (const int status = ReadLink(current, &current); status != 0) return status;
  }
  if (read_only == ReadOnlyFile::kRefuse && replacement->exists_ && replacement->replaces_ &&
      IsReadOnly(current, replacement->old_)) {
    return EACCES;
  }
  replacement->target_ = current;
  *out = std::move(replacement);
  return 0;
}

FileReplacement::~FileReplacement() {
  if (!staged_.empty()) unlink(staged_.c_str());
  if (lock_ >= 0) close(lock_);
}

int FileReplacement::Stage(std::string* path) {
  if (staged_.empty()) {
    const char* temporary = std::getenv("TMPDIR");
    const std::string folder = replaces_ ? FolderOf(target_) : (temporary && *temporary ? temporary : "/tmp");
    // A replaced file is private until its old mode is copied; a new one
    // gets the mode the umask gives any new file.
    const mode_t mode = exists_ || !replaces_ ? 0600 : 0666;
    RemoveStaleTemporaries(folder, target_);
    if (const int status = CreateTemporary(folder, target_, mode, &staged_, &lock_); status != 0) {
      return status;
    }
  }
  *path = staged_;
  return 0;
}

int FileReplacement::ReadStaged(std::string* bytes) const {
  if (staged_.empty()) return ENOENT;
  Descriptor fd(open(staged_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  bytes->clear();
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd.get(), buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return 0;
    bytes->append(buffer, static_cast<size_t>(got));
  }
}

int FileReplacement::Commit(std::string_view bytes, const PrepareNewFile& prepare) {
  return replaces_ ? CommitReplacement(bytes, prepare) : CommitDirect(bytes);
}

int FileReplacement::CommitReplacement(std::string_view bytes, const PrepareNewFile& prepare) {
  std::string staged;
  if (const int status = Stage(&staged); status != 0) return status;
  Descriptor fd(open(staged.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  if (const int status = WriteAll(fd.get(), bytes); status != 0) return status;
  if (exists_) {
    if (const int status = CopyIdentity(target_, old_, fd.get()); status != 0) return status;
  }
  if (prepare) {
    if (const int status = prepare(fd.get()); status != 0) return status;
  }
  if (fsync(fd.get()) != 0) return errno;
  if (const int status = fd.Close(); status != 0) return status;
  if (rename(staged.c_str(), target_.c_str()) != 0) return errno;
  staged_.clear();
  close(lock_);  // the target's lock is nobody's business
  lock_ = -1;
  SyncFolder(FolderOf(target_));
  return 0;
}

int FileReplacement::CommitDirect(std::string_view bytes) {
  // This process's own descriptor is written as it stands (its offset, its
  // append mode); anything else is opened.
  const int own = through_link_ ? OwnDescriptor(target_) : -1;
  const int follow = through_link_ ? 0 : O_NOFOLLOW;
  Descriptor fd(own >= 0 ? fcntl(own, F_DUPFD_CLOEXEC, 0)
                         : open(target_.c_str(), O_WRONLY | O_NOCTTY | follow | O_CLOEXEC));
  if (fd.get() < 0) return errno;
  if (const int status = WriteAll(fd.get(), bytes); status != 0) return status;
  if (const int status = fd.Close(); status != 0) return status;
  if (!staged_.empty() && unlink(staged_.c_str()) == 0) staged_.clear();
  return 0;
}

int ReplaceFileContents(const std::string& path, std::string_view bytes, const PrepareNewFile& prepare) {
  std::unique_ptr<FileReplacement> replacement;
  if (const int status = FileReplacement::Begin(path, &replacement); status != 0) return status;
  return replacement->Commit(bytes, prepare);
}

}  // namespace orvane::platform
