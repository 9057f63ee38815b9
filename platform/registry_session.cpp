#include "platform/registry_session.h"

#include <pthread.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string_view>
#include <system_error>
#include <thread>

#include "platform/registry_store.h"
#include "platform/store_location.h"
#include "platform/store_schema.h"

namespace orvane::platform {

LONG SqliteErrorStatus(int sqlite_code, bool write) {
  switch (sqlite_code & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return ERROR_BADDB;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return ERROR_ACCESS_DENIED;
    case SQLITE_CANTOPEN:
      return ERROR_CANTOPEN;
    case SQLITE_NOMEM:
      return ERROR_OUTOFMEMORY;
    case SQLITE_TOOBIG:
      return ERROR_INVALID_PARAMETER;
    case SQLITE_FULL:
      return ERROR_DISK_FULL;
    case SQLITE_BUSY:
      return ERROR_BUSY;
    default:
      return write ? ERROR_CANTWRITE : ERROR_CANTREAD;
  }
}

namespace {

// How long a process may keep changes of returned calls uncommitted when no
// other process asks for them: ORVANE_COMMIT_DELAY_MS, read once; 0 commits
// every call (and every method group) at once. This bounds what a killed
// process can lose; a normal exit, RegFlushKey and a program start commit
// at once. The value is decimal digits only; anything else (a sign, a
// fraction, an exponent, letters) is named in one message on standard
// error and the default is used. Larger values are cut to the longest.
std::chrono::milliseconds CommitDelay() {
  static const std::chrono::milliseconds delay = [] {
    constexpr long kDefaultMs = 20;
    constexpr long kLongestMs = 60'000;
    const char* text = std::getenv("ORVANE_COMMIT_DELAY_MS");
    if (text == nullptr || *text == '\0') return std::chrono::milliseconds(kDefaultMs);
    const std::string_view digits(text);
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) {
      std::fprintf(stderr,
                   "orvane: ORVANE_COMMIT_DELAY_MS=\"%s\" is not a whole number of milliseconds; "
                   "using %ld ms\n",
                   text, kDefaultMs);
      return std::chrono::milliseconds(kDefaultMs);
    }
    const long value = std::strtol(text, nullptr, 10);  // LONG_MAX when too large: cut below
    return std::chrono::milliseconds(std::min(value, kLongestMs));
  }();
  return delay;
}

// How often the commit thread looks again for a pause in registry calls.
constexpr auto kBusyRetry = std::chrono::milliseconds(1);

}  // namespace

Session::Session() {
  // A fork while another thread (the commit thread) holds the lock would
  // leave the child's copy locked for good; hold it across the fork.
  pthread_atfork([] { Instance().mutex_.lock(); }, [] { Instance().mutex_.unlock(); },
                 [] { Instance().AfterFork(); });
}

void Session::AfterFork() {
  // The child has no commit thread, and a transaction held by the parent is
  // not the child's: leave that store alone and open a fresh one on use.
  flusher_cv_.~condition_variable();
  new (&flusher_cv_) std::condition_variable();
  flusher_mutex_.~mutex();
  new (&flusher_mutex_) std::mutex();
  flusher_started_ = flusher_watching_ = flusher_wake_ = false;
  if (store_ && (store_->holding() || store_->broker() == nullptr)) {
    static_cast<void>(store_.release());
  } else if (store_) {
    store_->broker()->ForgetProcess();
  }
  mutex_.unlock();
}

void Session::AfterCall(KeyStore& store) {
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
      const std::shared_ptr<CommitBroker> broker = store_->broker();
      const auto until = store_->hold_deadline();
      lock.unlock();
      broker->WaitForRequest(until);
      lock_in_a_pause();
      if (!store_) break;
      try {
        store_->PublishIfDue();
      } catch (const SqliteError& error) {
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
  } catch (const SqliteError& error) {
    CommitFailed(error);
  }
}

int64_t Session::TakeLostCalls(KeyStore& store) {
  const int64_t lost = store.TakeLostCalls();
  if (lost > 0) {
    std::fprintf(stderr, "orvane: registry store %s: the changes of %lld registry calls were lost\n",
                 store.file().c_str(), static_cast<long long>(lost));
  }
  return lost;
}

LONG Session::CallFailed(const SqliteError& error, bool write) {
  const LONG status = Report(error, SqliteErrorStatus(error.code(), write));
  if (IsDamage(error.code())) store_->Abandon();
  LostCallsOfLastFailure() = TakeLostCalls(*store_);
  if (IsDamage(error.code())) StopUsingDamagedStore();
  return status;
}

void Session::StopUsingDamagedStore() {
  store_->Abandon();
  failed_path_ = store_->file();
  failed_status_ = ERROR_BADDB;
  store_.reset();
}

void Session::CommitFailed(const SqliteError& error) {
  const LONG status = Report(error, SqliteErrorStatus(error.code(), true));
  if (IsDamage(error.code())) store_->Abandon();
  const int64_t lost = TakeLostCalls(*store_);
  if (IsDamage(error.code())) StopUsingDamagedStore();
  if (lost == 0) return;
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

LONG Session::OpenStore(const std::filesystem::path& file) {
  failed_path_ = file;
  reported_ = false;
  std::string error;
  if (!PrepareStoreFile(file, &error)) {
    failed_status_ = ERROR_CANTOPEN;
    return Report(std::runtime_error(error), ERROR_CANTOPEN);
  }
  try {
    store_ = KeyStore::Open(RealStorePath(file));
  } catch (const StoreFormatError& format) {
    failed_status_ = ERROR_BADDB;
    return Report(format, ERROR_BADDB);
  } catch (const SqliteError& sqlite) {
    failed_status_ = SqliteErrorStatus(sqlite.code(), true);
    return Report(sqlite, failed_status_);
  }
  failed_status_ = ERROR_SUCCESS;
  store_->SetCommitDelay(exiting_                               ? std::chrono::milliseconds(0)
                         : commit_delay_.count() >= 0 ? commit_delay_
                                                      : CommitDelay());
  store_->SetWaitLimit(wait_limit_);
  for (int i = 0; i < group_depth_; ++i) store_->BeginGroup();
  return ERROR_SUCCESS;
}

KeyStore* Session::Ensure(LONG* status) {
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
  store_.reset();
  pending_status_ = ERROR_SUCCESS;  // a failure of the previous store was reported on stderr
  pending_lost_ = 0;
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

void Session::EndGroup() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (group_depth_ > 0) --group_depth_;
  if (!store_) return;
  try {
    store_->EndGroup();
    AfterCall(*store_);
  } catch (const SqliteError& error) {
    CommitFailed(error);
  }
}

bool Session::SetRollbackPoint() {
  return Call(true, [](KeyStore& store, HandleTable&) -> LONG {
           store.SetRollbackPoint();
           return ERROR_SUCCESS;
         }) == ERROR_SUCCESS;
}

void Session::ReleaseRollbackPoint(bool undo) {
  Call(true, [undo](KeyStore& store, HandleTable&) -> LONG {
    store.ReleaseRollbackPoint(undo);
    return ERROR_SUCCESS;
  });
}

void Session::CommitPending() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!store_) return;
  try {
    store_->CommitGroup();
  } catch (const SqliteError& error) {
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
  } catch (const SqliteError& error) {
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
  } catch (const SqliteError& error) {
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
  } catch (const SqliteError& error) {
    return CallFailed(error, true);
  }
  return ERROR_SUCCESS;
}

std::string Session::Check() {
  std::string report;
  const LONG status = Call(false, [&](KeyStore& store, HandleTable&) {
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

RegistryMethodScope::RegistryMethodScope() { Session::Instance().BeginGroup(); }

RegistryMethodScope::~RegistryMethodScope() { Session::Instance().EndGroup(); }

RegistryRollbackScope::RegistryRollbackScope() : marked_(Session::Instance().SetRollbackPoint()) {}

RegistryRollbackScope::~RegistryRollbackScope() {
  if (marked_) Session::Instance().ReleaseRollbackPoint(!keep_);
}

}  // namespace orvane::platform
