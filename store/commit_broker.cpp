#include "store/commit_broker.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <ctime>

namespace orvane::platform {

// The shared words. A new (zero-filled) file is a valid empty state; any
// garbage heals itself: a holder that is not alive is cleared.
struct CommitBroker::Shared {
  std::atomic<uint32_t> holder;          // pid holding uncommitted changes, 0: none
  std::atomic<uint32_t> request_seq;     // bumped by a process asking for publication
  std::atomic<uint32_t> publish_seq;     // bumped by the holder after it committed
  std::atomic<uint32_t> lock_taken_seq;  // bumped when a waiting writer got the lock
  std::atomic<uint32_t> waiting_writer;  // pid of a writer waiting for the lock, 0: none
  std::atomic<uint32_t> padding;
  std::atomic<int64_t> waiting_until;  // steady-clock nanoseconds the wait notice lasts
};

namespace {

constexpr size_t kMappedSize = 4096;
// Each process holds a write lock on the byte kLivenessBase + its pid for as
// long as it has the file open; the lock vanishes with the process.
constexpr off_t kLivenessBase = off_t{1} << 32;
// Waits for a holder are cut into slices of this length, so that a holder
// that died is noticed soon.
constexpr auto kLivenessPoll = std::chrono::milliseconds(2);
// How long a waiting writer's notice holds without being renewed, and how
// long a holder lets such a writer go first.
constexpr auto kWaitNotice = std::chrono::milliseconds(50);
constexpr auto kYieldLimit = std::chrono::milliseconds(2);

static_assert(std::atomic<uint32_t>::is_always_lock_free && std::atomic<int64_t>::is_always_lock_free,
              "the shared words must be lock-free to be shared between processes");

uint32_t* Word(std::atomic<uint32_t>& word) { return reinterpret_cast<uint32_t*>(&word); }

void WakeAll(std::atomic<uint32_t>& word) {
  syscall(SYS_futex, Word(word), FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

// Sleeps while `word` still holds `expected`, until `until` at the latest.
void WaitWhileEqual(std::atomic<uint32_t>& word, uint32_t expected, CommitBroker::Clock::time_point until) {
  const auto left = until - CommitBroker::Clock::now();
  if (left <= CommitBroker::Clock::duration::zero()) return;
  const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
  const timespec timeout{static_cast<time_t>(nanoseconds / 1'000'000'000), static_cast<long>(nanoseconds % 1'000'000'000)};
  syscall(SYS_futex, Word(word), FUTEX_WAIT, expected, &timeout, nullptr, 0);
}

int64_t Nanoseconds(CommitBroker::Clock::time_point at) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count();
}

bool LockByte(int fd, off_t at, short type, int command, struct flock* lock) {
  *lock = {};
  lock->l_type = type;
  lock->l_whence = SEEK_SET;
  lock->l_start = at;
  lock->l_len = 1;
  return fcntl(fd, command, lock) == 0;
}

}  // namespace

std::unique_ptr<CommitBroker> CommitBroker::Open(const std::filesystem::path& file) {
  const int fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return nullptr;
  struct stat status {};
  // Growing a short file only appends zeros, which any process may do.
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
      (status.st_size < static_cast<off_t>(kMappedSize) && ftruncate(fd, kMappedSize) != 0)) {
    close(fd);
    return nullptr;
  }
  void* mapped = mmap(nullptr, kMappedSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (mapped == MAP_FAILED) {
    close(fd);
    return nullptr;
  }
  std::unique_ptr<CommitBroker> broker(new CommitBroker(fd, static_cast<Shared*>(mapped)));
  broker->ForgetProcess();
  return broker;
}

CommitBroker::CommitBroker(int fd, Shared* shared) : fd_(fd), shared_(shared), pid_(0) {}

CommitBroker::~CommitBroker() {
  munmap(shared_, kMappedSize);
  close(fd_);  // drops this process's liveness lock
}

void CommitBroker::ForgetProcess() {
  pid_ = static_cast<uint32_t>(getpid());
  struct flock lock {};
  LockByte(fd_, kLivenessBase + pid_, F_WRLCK, F_SETLK, &lock);
  // An entry naming our pid was left by a dead process that had it before:
  // we hold nothing yet.
  uint32_t stale = pid_;
  shared_->holder.compare_exchange_strong(stale, 0);
}

bool CommitBroker::HolderAlive(uint32_t pid) const {
  struct flock lock {};
  if (!LockByte(fd_, kLivenessBase + pid, F_WRLCK, F_GETLK, &lock)) return true;  // cannot tell: keep waiting
  return lock.l_type != F_UNLCK;
}

bool CommitBroker::OtherHolds() const {
  const uint32_t holder = shared_->holder.load(std::memory_order_acquire);
  return holder != 0 && holder != pid_;
}

bool CommitBroker::AwaitPublication(Clock::time_point until) {
  // The sequence is read before the holder: a commit after this point is
  // seen as a changed sequence, one before it as a changed holder.
  const uint32_t published = shared_->publish_seq.load();
  const uint32_t holder = shared_->holder.load();
  if (holder == 0 || holder == pid_) return true;
  shared_->request_seq.fetch_add(1);
  WakeAll(shared_->request_seq);
  for (;;) {
    if (shared_->holder.load() != holder || shared_->publish_seq.load() != published) return true;
    const auto now = Clock::now();
    if (now >= until) return false;
    WaitWhileEqual(shared_->publish_seq, published, std::min(until, now + kLivenessPoll));
    if (shared_->publish_seq.load() == published && !HolderAlive(holder)) {
      // Its transaction died with it: nothing of it can become visible.
      uint32_t dead = holder;
      shared_->holder.compare_exchange_strong(dead, 0);
      return true;
    }
  }
}

void CommitBroker::MarkHolding() {
  request_seen_.store(shared_->request_seq.load());
  shared_->holder.store(pid_);
}

void CommitBroker::MarkPublished() {
  uint32_t self = pid_;
  shared_->holder.compare_exchange_strong(self, 0);
  shared_->publish_seq.fetch_add(1);
  WakeAll(shared_->publish_seq);
}

bool CommitBroker::PublicationRequested() const {
  return shared_->request_seq.load(std::memory_order_relaxed) != request_seen_.load(std::memory_order_relaxed);
}

void CommitBroker::WaitForRequest(Clock::time_point until) const {
  const uint32_t seen = request_seen_.load();
  if (shared_->request_seq.load() != seen) return;
  WaitWhileEqual(shared_->request_seq, seen, until);
}

void CommitBroker::NoteWriterWaiting() {
  shared_->waiting_until.store(Nanoseconds(Clock::now() + kWaitNotice));
  shared_->waiting_writer.store(pid_);
}

void CommitBroker::NoteWriteLockTaken() {
  if (shared_->waiting_writer.load(std::memory_order_relaxed) != pid_) return;
  shared_->waiting_writer.store(0);
  shared_->lock_taken_seq.fetch_add(1);
  WakeAll(shared_->lock_taken_seq);
}

void CommitBroker::YieldToWaitingWriter() {
  const uint32_t writer = shared_->waiting_writer.load(std::memory_order_relaxed);
  if (writer == 0 || writer == pid_) return;
  const auto now = Clock::now();
  if (shared_->waiting_until.load() < Nanoseconds(now)) return;
  const uint32_t taken = shared_->lock_taken_seq.load();
  if (shared_->waiting_writer.load() == 0) return;
  WaitWhileEqual(shared_->lock_taken_seq, taken, now + kYieldLimit);
}

}  // namespace orvane::platform
