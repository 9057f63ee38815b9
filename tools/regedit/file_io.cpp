#include "tools/regedit/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_replace.h"

#ifdef _WIN32
#include "platform/utf16_text.h"

// Binary: the bytes are read as they are, without CR LF translation.
constexpr int kOpenFlags = O_BINARY;
#else
constexpr int kOpenFlags = O_CLOEXEC;
#endif

namespace orvane::regedit {
namespace {

// A file descriptor that closes itself.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ > 2) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now; false when closing reported an error.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd <= 2 || close(fd) == 0;
  }

 private:
  int fd_;
};

// Opens a file by its UTF-8 name (on Windows through the name's UTF-16).
int OpenByName(const std::string& path, int flags) {
#ifdef _WIN32
  return _wopen(platform::Utf16FromUtf8(path).c_str(), flags);
#else
  return open(path.c_str(), flags);
#endif
}

std::string Describe(const std::string& what, const std::string& path) {
  return what + " '" + path + "': " + std::strerror(errno);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written == 0) errno = EIO;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error) {
  Fd fd(path == "-" ? 0 : OpenByName(path, O_RDONLY | kOpenFlags));
  if (fd.get() < 0) {
    *error = Describe("Cannot open the file", path);
    return false;
  }
  bytes->clear();
  struct stat info;
  if (fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode)) bytes->reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  while (true) {
    const ssize_t got = read(fd.get(), buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      *error = Describe("Cannot read the file", path);
      return false;
    }
    if (got == 0) return true;
    bytes->append(buffer, static_cast<size_t>(got));
  }
}

bool WriteWholeFile(const std::string& path, std::string_view bytes, std::string* error, int* cause) {
  const int status = path == "-" ? (WriteAll(1, bytes) ? 0 : errno) : platform::ReplaceFileContents(path, bytes);
  if (status == 0) return true;
  if (cause != nullptr) *cause = status;
  errno = status;
  *error = path == "-" ? Describe("Cannot write", "standard output") : Describe("Cannot create the file", path);
  return false;
}

}  // namespace orvane::regedit
