#include "store/hive/hive_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/hive/hive_error.h"
#include "store/hive/hive_file.h"

namespace orvane::platform {

void HiveLock::Acquire() {
  if (fd_ >= 0) return;
  const int fd = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) {
    const int error = errno;
    throw HiveError(FileErrorStatus(error, true), "hive lock " + file_.string() + ": " + std::strerror(error));
  }
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    const int error = errno;
    ::close(fd);
    throw HiveError(ERROR_CANTWRITE, "hive lock " + file_.string() + ": " + std::strerror(error));
  }
  fd_ = fd;
}

void HiveLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);  // drops the flock
  fd_ = -1;
}

}  // namespace orvane::platform
