// Slots of the liveness file: one byte-range lock per live process.
//
// fcntl locks belong to the process and are dropped when the process closes
// any descriptor of the file, so the file is opened once per store and
// process and never through a second descriptor. A process's own locks never
// conflict with each other, so a slot this process holds is recognised by
// its number, not by testing the lock.
#include "platform/process_liveness.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <string>

namespace orvane::platform {
namespace {

// More slots than processes ever share a store; the search stops there.
constexpr int64_t kMaxSlots = 1 << 16;

struct LivenessFile {
  std::filesystem::path store;
  pid_t pid = 0;
  int fd = -1;
  int64_t slot = 0;
};

std::recursive_mutex& Mutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

LivenessFile& State() {
  static LivenessFile state;
  return state;
}

bool LockByte(int fd, int64_t slot, short type) {
  struct flock lock = {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = static_cast<off_t>(slot);
  lock.l_len = 1;
  return fcntl(fd, F_SETLK, &lock) == 0;
}

// Opens "<store>-live" (mode 0600, never through a link); -1 when it
// cannot be opened or is not a plain file.
int OpenLivenessFile(const std::filesystem::path& store) {
  const std::string name = store.string() + "-live";
  const int fd = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return -1;
  struct stat info = {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

int64_t TakeFreeSlot(int fd) {
  for (int64_t slot = 1; slot < kMaxSlots; ++slot) {
    if (LockByte(fd, slot, F_WRLCK)) return slot;
  }
  return 0;
}

std::filesystem::path Canonical(const std::filesystem::path& store) {
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(store, error);
  return error ? store : resolved;
}

// The state for `store` in this process, opening the file and taking a
// slot when the store or the process changed since the last call.
LivenessFile& Ensure(const std::filesystem::path& store) {
  LivenessFile& state = State();
  const std::filesystem::path canonical = Canonical(store);
  if (state.pid == getpid() && state.store == canonical) return state;
  // Closing gives up the locks of this process only: after a fork the
  // parent keeps its slot.
  if (state.fd >= 0) close(state.fd);
  state = LivenessFile{canonical, getpid(), OpenLivenessFile(canonical), 0};
  if (state.fd >= 0) state.slot = TakeFreeSlot(state.fd);
  return state;
}

}  // namespace

int64_t OwnLiveSlot(const std::filesystem::path& store) {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  return Ensure(store).slot;
}

bool WithUnheldSlot(const std::filesystem::path& store, int64_t slot, const std::function<void()>& fn) {
  std::lock_guard<std::recursive_mutex> lock(Mutex());
  LivenessFile& state = Ensure(store);
  if (state.fd < 0 || slot <= 0 || slot == state.slot) return false;
  if (!LockByte(state.fd, slot, F_WRLCK)) return false;
  struct Release {
    int fd;
    int64_t slot;
    ~Release() { LockByte(fd, slot, F_UNLCK); }
  } release{state.fd, slot};
  fn();
  return true;
}

}  // namespace orvane::platform
