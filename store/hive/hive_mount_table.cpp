#include "store/hive/hive_mount_table.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "store/hive/hive_error.h"

namespace orvane::platform {
namespace {

std::vector<MountEntry> Parse(std::istream& in) {
  std::vector<MountEntry> entries;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    MountEntry entry;
    std::string root, stamp, file;
    if (!std::getline(fields, root, '\t') || !std::getline(fields, stamp, '\t') ||
        !std::getline(fields, entry.name, '\t') || !std::getline(fields, file)) {
      continue;
    }
    entry.root = std::strtoll(root.c_str(), nullptr, 10);
    entry.stamp = std::strtoll(stamp.c_str(), nullptr, 10);
    entry.file = file;
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace

bool MountTable::Refresh() {
  FileIdentity now;
  if (!ReadIdentity(file_, &now)) {
    const bool changed = present_;
    present_ = false;
    entries_.clear();
    return changed;
  }
  if (present_ && now == identity_) return false;
  std::ifstream in(file_);
  entries_ = Parse(in);
  identity_ = now;
  present_ = true;
  return true;
}

void MountTable::Write(const std::vector<MountEntry>& entries) {
  std::string text;
  for (const MountEntry& entry : entries) {
    text += std::to_string(entry.root) + '\t' + std::to_string(entry.stamp) + '\t' + entry.name + '\t' +
            entry.file.string() + '\n';
  }
  std::string temporary = file_.string() + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  bool written = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                 ::fsync(fd) == 0;
  const int error = errno;
  if (fd >= 0) ::close(fd);
  written = written && ::rename(temporary.c_str(), file_.c_str()) == 0;
  if (!written) {
    ::unlink(temporary.c_str());
    throw HiveError(FileErrorStatus(error, true), "hive table " + file_.string() + ": " + std::strerror(error));
  }
  Refresh();
}

}  // namespace orvane::platform
