#include "history_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace quorvel {
namespace {

// A file descriptor that closes itself.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Opens `path` without following a link; -1 unless it is a plain file.
int OpenPlainFile(const std::filesystem::path& path, int flags) {
  const int fd = open(path.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
  struct stat info;
  if (fd >= 0 && (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
    close(fd);
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[8192];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof(buffer));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return text;
    text.append(buffer, static_cast<size_t>(got));
  }
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// Creates the folder `dir` and the missing ones above it with mode 0700.
bool MakeFolders(const std::filesystem::path& dir) {
  if (dir.empty()) return true;
  struct stat info;
  if (stat(dir.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  if (!MakeFolders(dir.parent_path())) return false;
  return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

std::filesystem::path DefaultHistoryPath() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return std::filesystem::path(state) / "orvane" / "history";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') return {};
  return std::filesystem::path(home) / ".local" / "state" / "orvane" / "history";
}

HistoryFile::HistoryFile(std::filesystem::path path, size_t limit) : path_(std::move(path)), limit_(limit) {}

std::vector<std::string> HistoryFile::Load() {
  if (path_.empty()) return {};
  Fd fd(OpenPlainFile(path_, O_RDONLY));
  if (fd.get() < 0) return {};
  std::vector<std::string> entries = SplitLines(ReadAll(fd.get()));
  if (entries.size() <= limit_) return entries;
  entries.erase(entries.begin(), entries.end() - static_cast<std::ptrdiff_t>(limit_));
  // Keep the file from growing without end: the kept entries replace it.
  const std::filesystem::path temporary = path_.string() + "." + std::to_string(getpid()) + ".part";
  Fd out(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  std::string text;
  for (const std::string& entry : entries) text += entry + "\n";
  if (out.get() < 0 || !WriteAll(out.get(), text) || rename(temporary.c_str(), path_.c_str()) != 0) {
    unlink(temporary.c_str());
  }
  return entries;
}

bool HistoryFile::Append(const std::string& entry) {
  if (path_.empty() || entry.find('\n') != std::string::npos || !MakeFolders(path_.parent_path())) return false;
  Fd fd(OpenPlainFile(path_, O_WRONLY | O_APPEND | O_CREAT));
  return fd.get() >= 0 && WriteAll(fd.get(), entry + "\n");
}

}  // namespace quorvel
