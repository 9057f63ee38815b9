#include "store/registry_session.h"

#include <pthread.h>
#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string_view>
#include <system_error>
#include <thread>

#include "store/hive/hive_error.h"
#include "store/hive/hive_mounts.h"
#include "store/registry_kinds.h"
#include "store/registry_store.h"
#include "store/store_location.h"

namespace orvane::platform {

namespace {

// A number of milliseconds from the environment variable `name`, read by
// the caller once: decimal digits only; anything else (a sign, a fraction,
// an exponent, letters) is named in one message on standard error and
// `fallback` is used. Larger values are cut to `longest`.
std::chrono::milliseconds MillisecondsFromEnvironment(const char* name, long fallback, long longest) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return std::chrono::milliseconds(fallback);
  const std::string_view digits(text);
  if (digits.find_first_not_of("0123456789") != std::string_view::npos) {
    std::fprintf(stderr, "orvane: %s=\"%s\" is not a whole number of milliseconds; using %ld ms\n", name, text,
                 fallback);
    return std::chrono::milliseconds(fallback);
  }
  const long value = std::strtol(text, nullptr, 10);  // LONG_MAX when too large: cut below
  return std::chrono::milliseconds(std::min(value, longest));
}

// How long a process may keep changes of returned calls uncommitted when no
// other process asks for them: ORVANE_COMMIT_DELAY_MS (at most a minute);
// 0 commits every call (and every method group) at once. This bounds what
// a killed process can lose; a normal exit, RegFlushKey and a program start
// commit at once.
std::chrono::milliseconds CommitDelay() {
  static const std::chrono::milliseconds delay = MillisecondsFromEnvironment("ORVANE_COMMIT_DELAY_MS", 20, 60'000);
  return delay;
}

// How long a call (or a method group) waits in all for other processes:
// ORVANE_WAIT_LIMIT_MS, at most ten minutes, else kRegistryWaitLimit.
std::chrono::milliseconds WaitLimit() {
  static const std::chrono::milliseconds limit =
      MillisecondsFromEnvironment("ORVANE_WAIT_LIMIT_MS", kRegistryWaitLimit.count(), 600'000);
  return limit;
}

// How often the commit thread looks again for a pause in registry calls.
constexpr auto kBusyRetry = std::chrono::milliseconds(1);

}  // namespace

Session::~Session() = default;

LONG Session::Call(bool write, CallBody body) {
  std::lock_guard<std::mutex> lock(mutex_);
  LostCallsOfLastFailure() = 0;
  LONG status = ERROR_SUCCESS;
  RegistryKind* store = Ensure(&status);
  if (store == nullptr) return status;
  if (group_depth_ > 0 && group_failure_ != ERROR_SUCCESS) {
    LostCallsOfLastFailure() = group_lost_;
    return group_failure_;
  }
  if (pending_status_ != ERROR_SUCCESS) return NoteGroupFailure(TakePendingFailure());
  // Hive files loaded on the store (store/hive): the calls see the store
  // through the mount layer, which answers for their keys.
  RegistryKind& kind = *hives_;
  try {
    try {
      kind.BeginCall(write);
      status = body(kind, handles_);
    } catch (const RetryCall&) {
      // The caches were dropped and a read transaction is now open: the
      // second run reads everything afresh within it.
      status = body(kind, handles_);
    }
    kind.EndCall();
    AfterCall(*store);
    return status;
  } catch (const HiveError& error) {
    kind.AbortCall();
    std::fprintf(stderr, "orvane: %s (status %d)\n", error.what(), static_cast<int>(error.status()));
    return error.status();
  } catch (const StoreFailure& error) {
    kind.AbortCall();
    return NoteGroupFailure(CallFailed(error, write));
  } catch (const std::bad_alloc& error) {
    kind.AbortCall();
    LostCallsOfLastFailure() = TakeLostCalls(*store);
    if (write) NoteUnsaved(ERROR_OUTOFMEMORY);
    return NoteGroupFailure(Report(error, ERROR_OUTOFMEMORY));
  } catch (const RetryCall&) {
    kind.AbortCall();
    return ERROR_CANTREAD;  // unreachable: a call inside a transaction never retries
  }
}

Session::Session() {
  // A fork while another thread (the commit thread) holds the lock would
  // leave the child's copy locked for good; hold it across the fork.
  pthread_atfork([] { Instance().BeforeFork(); }, [] { Instance().mutex_.unlock(); },
                 [] { Instance().AfterFork(); });
}

void Session::BeforeFork() {
  mutex_.lock();
  // Held changes are committed first: a child beside a held transaction
  // would share SQLite's record of its locks and wait for it in vain.
  if (!store_) return;
  try {
    store_->PublishBeforeFork();
  } catch (const StoreFailure& error) {
    CommitFailed(error);
  }
}

void Session::AfterFork() {
  // The child has no commit thread. The parent's commit thread may have
  // been waiting on (or holding) these objects when it forked: they are
  // made anew in place, never destroyed, as destroying a condition
  // variable waits for waiters that do not exist in the child.
  new (&flusher_cv_) std::condition_variable();
  new (&flusher_mutex_) std::mutex();
  flusher_started_ = flusher_watching_ = flusher_wake_ = false;
  // A transaction held by the parent is not the child's: leave that store
  // alone and open a fresh one on use.
  if (store_ && !store_->ContinueInForkedChild()) static_cast<void>(store_.release());
  mutex_.unlock();
}

void Session::AfterCall(RegistryKind& store) {
  if (!store.MayPublishNow() || flusher_watching_) return;
  if (!flusher_started_) {
    static std::once_flag exit_handler;
    std::call_once(exit_handler, [] { std::atexit([] { Instance().PublishAtExit(); }); });
    try {
      std::thread([this] { FlushLoop(); }).detach();
      flusher_started_ = true;
    } catch (const std::system_error&) {
      // No thread, no deferred commits.
      store.StopDeferring();
      return;
    }
  }
  std::lock_guard<std::mutex> wake_lock(flusher_mutex_);
  flusher_wake_ = true;
  flusher_cv_.notify_one();
}

void Session::FlushLoop() {
  // The session lock is only ever tried here: a thread that is making
  // registry calls commits due changes itself when its call ends, and a
  // waiter queued on the lock would slow every one of its calls down.
  std::unique_lock<std::mutex> lock(mutex_, std::defer_lock);
  const auto lock_in_a_pause = [&lock] {
    while (!lock.try_lock()) std::this_thread::sleep_for(kBusyRetry);
  };
  for (;;) {
    {
      std::unique_lock<std::mutex> wake_lock(flusher_mutex_);
      flusher_cv_.wait(wake_lock, [this] { return flusher_wake_; });
      flusher_wake_ = false;
    }
    lock_in_a_pause();
    flusher_watching_ = true;
    while (store_ && store_->MayPublishNow()) {
      const std::shared_ptr<const CommitRequests> requests = store_->commit_requests();
      const auto until = store_->hold_deadline();
      lock.unlock();
      if (requests) requests->WaitForRequest(until);
      else std::this_thread::sleep_until(until);
      lock_in_a_pause();
      if (!store_) break;
      try {
        store_->PublishIfDue();
      } catch (const StoreFailure& error) {
        CommitFailed(error);
      }
    }
    // A group writing on top of held changes commits or wakes us at its end.
    flusher_watching_ = false;
    lock.unlock();
  }
}

void Session::PublishAtExit() {
  std::lock_guard<std::mutex> lock(mutex_);
  exiting_ = true;
  if (!store_) return;
  // Only reported: the program decides its exit status (CommitRegistryWrites).
  try {
    store_->StopDeferring();
  } catch (const StoreFailure& error) {
    CommitFailed(error);
  }
}

int64_t Session::TakeLostCalls(RegistryKind& store) {
  const int64_t lost = store.TakeLostCalls();
  if (lost > 0) {
    std::fprintf(stderr, "orvane: registry store %s: the changes of %lld registry calls were lost\n",
                 store.file().c_str(), static_cast<long long>(lost));
  }
  return lost;
}

LONG Session::CallFailed(const StoreFailure& error, bool write) {
  const LONG status = Report(error, error.Status(write));
  if (error.Damaged()) store_->Abandon();
  LostCallsOfLastFailure() = TakeLostCalls(*store_);
  if (write || LostCallsOfLastFailure() > 0) NoteUnsaved(status);
  if (error.Damaged()) StopUsingDamagedStore();
  return status;
}

LONG Session::NoteGroupFailure(LONG status) {
  // A parameter the store refuses (data too large) fails that call alone.
  if (group_depth_ == 0 || status == ERROR_SUCCESS || status == ERROR_INVALID_PARAMETER ||
      group_failure_ != ERROR_SUCCESS) {
    return status;
  }
  group_failure_ = status;
  // The group's own calls never returned to the method's caller: only the
  // calls from before it count as lost.
  const int64_t own = store_ ? store_->group_write_calls() : 0;
  group_lost_ = std::max<int64_t>(0, LostCallsOfLastFailure() - own);
  return status;
}

void Session::NoteUnsaved(LONG status) {
  if (unsaved_status_ == ERROR_SUCCESS) unsaved_status_ = status;
}

LONG Session::UnsavedChangesStatus() {
  std::lock_guard<std::mutex> lock(mutex_);
  return unsaved_status_;
}

void Session::StopUsingDamagedStore() {
  store_->Abandon();
  failed_path_ = store_->file();
  failed_status_ = ERROR_BADDB;
  hives_.reset();
  store_.reset();
}

void Session::CommitFailed(const StoreFailure& error) {
  const LONG status = Report(error, error.Status(true));
  if (error.Damaged()) store_->Abandon();
  const int64_t lost = TakeLostCalls(*store_);
  if (error.Damaged()) StopUsingDamagedStore();
  if (lost == 0) return;
  NoteUnsaved(status);
  if (pending_status_ == ERROR_SUCCESS) pending_status_ = status;
  pending_lost_ += lost;
}

LONG Session::TakePendingFailure() {
  const LONG status = pending_status_;
  LostCallsOfLastFailure() = pending_lost_;
  pending_status_ = ERROR_SUCCESS;
  pending_lost_ = 0;
  return status;
}

int64_t& LostCallsOfLastFailure() {
  thread_local int64_t lost = 0;
  return lost;
}

Session& Session::Instance() {
  static Session* session = new Session();  // never destroyed: calls may come from static destructors
  return *session;
}

LONG Session::Report(const std::exception& error, LONG status) {
  if (!reported_) {
    reported_ = true;
    const std::string file = store_ ? store_->file().string() : failed_path_.string();
    std::fprintf(stderr, "orvane: registry store %s: %s (status %d)\n", file.c_str(), error.what(),
                 static_cast<int>(status));
  }
  return status;
}

namespace {

// A process past its file size limit is killed by SIGXFSZ unless it
// ignores it; then the write fails with EFBIG, which the store reports as a
// full disk. A handler the program set is left alone.
void IgnoreFileSizeSignal() {
  struct sigaction current {};
  if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
      (current.sa_flags & SA_SIGINFO) == 0) {
    signal(SIGXFSZ, SIG_IGN);
  }
}

}  // namespace

LONG Session::OpenStore(const std::filesystem::path& location) {
  IgnoreFileSizeSignal();
  failed_path_ = location;
  reported_ = false;
  try {
    store_ = OpenRegistryKind(location);
    hives_ = std::make_unique<HiveMounts>(*store_);  // hive files loaded on it (store/hive)
  } catch (const StoreFailure& failure) {
    failed_status_ = failure.Status(true);
    return Report(failure, failed_status_);
  }
  failed_status_ = ERROR_SUCCESS;
  store_->SetCommitDelay(exiting_                               ? std::chrono::milliseconds(0)
                         : commit_delay_.count() >= 0 ? commit_delay_
                                                      : CommitDelay());
  store_->SetWaitLimit(wait_limit_.count() >= 0 ? wait_limit_ : WaitLimit());
  for (int i = 0; i < group_depth_; ++i) store_->BeginGroup();
  return ERROR_SUCCESS;
}

RegistryKind* Session::Ensure(LONG* status) {
  if (store_) return store_.get();
  if (failed_status_ != ERROR_SUCCESS) {
    *status = failed_status_;
    return nullptr;
  }
  std::string error;
  const std::filesystem::path file = ResolveDefaultStorePath(&error);
  *status = file.empty() ? Report(std::runtime_error(error), ERROR_CANTOPEN) : OpenStore(file);
  if (file.empty()) failed_status_ = ERROR_CANTOPEN;
  return store_.get();
}

LONG Session::Select(const std::filesystem::path& file) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::filesystem::path absolute = std::filesystem::absolute(file);
  handles_.Clear();
  hives_.reset();  // the hive layer stands on the store
  store_.reset();
  pending_status_ = ERROR_SUCCESS;  // a failure of the previous store was reported on stderr
  pending_lost_ = 0;
  group_failure_ = unsaved_status_ = ERROR_SUCCESS;
  group_lost_ = 0;
  setenv("ORVANE_REGISTRY", absolute.c_str(), 1);
  return OpenStore(absolute);
}

LONG Session::CloseHandle(HKEY handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto value = static_cast<int64_t>(reinterpret_cast<intptr_t>(handle));
  const int64_t first_root = static_cast<int32_t>(0x80000000u);
  if (value >= first_root && value <= first_root + 6) return ERROR_SUCCESS;
  return handles_.Remove(handle) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::filesystem::path Session::CurrentPath() {
  std::lock_guard<std::mutex> lock(mutex_);
  return store_ ? store_->file() : std::filesystem::path();
}

void Session::BeginGroup() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++group_depth_;
  if (store_) store_->BeginGroup();
}

LONG Session::EndGroup(bool take) {
  std::lock_guard<std::mutex> lock(mutex_);
  const bool outermost = group_depth_ <= 1;
  if (group_depth_ > 0) --group_depth_;
  if (store_) {
    try {
      store_->EndGroup();
      AfterCall(*store_);
    } catch (const StoreFailure& error) {
      CommitFailed(error);  // returned by the next call unless taken here
    }
  }
  LONG status = group_failure_;
  int64_t lost = group_lost_;
  if (!outermost) {
    if (take) LostCallsOfLastFailure() = lost;
    return take ? status : ERROR_SUCCESS;
  }
  group_failure_ = ERROR_SUCCESS;
  group_lost_ = 0;
  if (!take) return ERROR_SUCCESS;
  if (status == ERROR_SUCCESS && pending_status_ != ERROR_SUCCESS) {
    // The group's commit failed, or a commit of earlier held changes did.
    status = pending_status_;
    const int64_t own = store_ ? store_->group_write_calls() : 0;
    lost = std::max<int64_t>(0, pending_lost_ - own);
    pending_status_ = ERROR_SUCCESS;
    pending_lost_ = 0;
  }
  LostCallsOfLastFailure() = lost;
  return status;
}

bool Session::SetRollbackPoint() {
  return Call(true, [](RegistryKind& store, HandleTable&) -> LONG {
           store.SetRollbackPoint();
           return ERROR_SUCCESS;
         }) == ERROR_SUCCESS;
}

void Session::ReleaseRollbackPoint(bool undo) {
  Call(true, [undo](RegistryKind& store, HandleTable&) -> LONG {
    store.ReleaseRollbackPoint(undo);
    return ERROR_SUCCESS;
  });
}

void Session::CommitPending() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!store_) return;
  try {
    store_->CommitGroup();
  } catch (const StoreFailure& error) {
    CommitFailed(error);
  }
}

void Session::SetWaitLimit(std::chrono::milliseconds limit) {
  std::lock_guard<std::mutex> lock(mutex_);
  wait_limit_ = std::max(limit, std::chrono::milliseconds(0));
  if (store_) store_->SetWaitLimit(wait_limit_);
}

void Session::SetCommitDelay(std::chrono::milliseconds delay) {
  std::lock_guard<std::mutex> lock(mutex_);
  commit_delay_ = std::max(delay, std::chrono::milliseconds(0));
  if (!store_ || exiting_) return;
  try {
    if (commit_delay_.count() == 0) store_->StopDeferring();
    store_->SetCommitDelay(commit_delay_);
  } catch (const StoreFailure& error) {
    CommitFailed(error);
  }
}

LONG Session::Flush() {
  std::lock_guard<std::mutex> lock(mutex_);
  LostCallsOfLastFailure() = 0;
  if (!store_) return ERROR_SUCCESS;
  if (pending_status_ != ERROR_SUCCESS) return TakePendingFailure();
  try {
    store_->Flush();
  } catch (const StoreFailure& error) {
    return CallFailed(error, true);
  }
  return ERROR_SUCCESS;
}

LONG Session::CommitWrites() {
  std::lock_guard<std::mutex> lock(mutex_);
  LostCallsOfLastFailure() = 0;
  if (!store_) return ERROR_SUCCESS;
  if (pending_status_ != ERROR_SUCCESS) return TakePendingFailure();
  try {
    store_->CommitGroup();
  } catch (const StoreFailure& error) {
    return CallFailed(error, true);
  }
  return ERROR_SUCCESS;
}

std::string Session::Check() {
  std::string report;
  const LONG status = Call(false, [&](RegistryKind& store, HandleTable&) {
    report = store.IntegrityCheck();
    return ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS) return "cannot check the store: status " + std::to_string(status);
  if (report != "ok") {
    std::lock_guard<std::mutex> lock(mutex_);
    if (store_) StopUsingDamagedStore();
  }
  return report;
}

std::filesystem::path DefaultRegistryPath(std::string* error) {
  std::string ignored;
  return ResolveDefaultStorePath(error != nullptr ? error : &ignored);
}

LONG SelectRegistryStore(const std::filesystem::path& file) { return Session::Instance().Select(file); }

std::filesystem::path CurrentRegistryPath() { return Session::Instance().CurrentPath(); }

void CommitPendingRegistryWrites() { Session::Instance().CommitPending(); }

void SetRegistryWaitLimit(std::chrono::milliseconds limit) { Session::Instance().SetWaitLimit(limit); }

LONG CommitRegistryWrites() { return Session::Instance().CommitWrites(); }

int64_t RegistryCallsLostWithLastFailure() { return LostCallsOfLastFailure(); }

void SetRegistryCommitDelay(std::chrono::milliseconds delay) { Session::Instance().SetCommitDelay(delay); }

std::string CheckRegistryStore() { return Session::Instance().Check(); }

LONG RegistryUnsavedChangesStatus() { return Session::Instance().UnsavedChangesStatus(); }

RegistryMethodScope::RegistryMethodScope() { Session::Instance().BeginGroup(); }

RegistryMethodScope::~RegistryMethodScope() {
  if (!ended_) Session::Instance().EndGroup(false);
}

LONG RegistryMethodScope::End() {
  if (ended_) return ERROR_SUCCESS;
  ended_ = true;
  return Session::Instance().EndGroup(true);
}

RegistryRollbackScope::RegistryRollbackScope() : marked_(Session::Instance().SetRollbackPoint()) {}

RegistryRollbackScope::~RegistryRollbackScope() {
  if (marked_) Session::Instance().ReleaseRollbackPoint(!keep_);
}

}  // namespace orvane::platform
