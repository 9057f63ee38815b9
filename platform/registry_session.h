// The process-wide registry state: the store in use (opened on first use at
// the default location, or selected explicitly), the open handles, the
// method-group depth, and the lock that serialises registry calls. Store
// failures become Win32 statuses here, each reported once on stderr.
// A background thread commits held changes (KeyStore::SetCommitDelay) when
// another process asks for them or their delay has passed; an exit handler
// commits them when the process ends normally.
#pragma once

#include <filesystem>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "platform/handle_table.h"
#include "platform/key_store.h"
#include "platform/win32_registry.h"

namespace orvane::platform {

class Session {
 public:
  static Session& Instance();

  // Runs `fn(store, handles)` as one registry call (one transaction or part
  // of the current group) and returns its status; store failures give the
  // status of SqliteErrorStatus.
  template <typename Fn>
  LONG Call(bool write, Fn&& fn);

  // Closes an open handle; the store is not involved. 0, or 6 for a
  // closed or unknown handle (predefined roots are always open).
  LONG CloseHandle(HKEY handle);
  LONG Select(const std::filesystem::path& file);
  std::filesystem::path CurrentPath();
  void BeginGroup();
  void EndGroup();
  // Inside a group: begins a write and marks a rollback point (true when
  // set); ends it, undoing the changes since then when `undo`.
  bool SetRollbackPoint();
  void ReleaseRollbackPoint(bool undo);
  void CommitPending();
  void SetCommitDelay(std::chrono::milliseconds delay);
  // Commits the group and makes every committed change durable.
  LONG Flush();
  std::string Check();

 private:
  Session();
  // After a call or group: lets the background thread watch held changes.
  void AfterCall(KeyStore& store);
  void FlushLoop();
  void PublishAtExit();
  void AfterFork();
  void ReportLostChanges(KeyStore& store);
  // The open store, opening the default one on first use; nullptr with
  // *status set when it cannot be opened.
  KeyStore* Ensure(LONG* status);
  LONG OpenStore(const std::filesystem::path& file);
  LONG Report(const std::exception& error, LONG status);

  std::mutex mutex_;
  std::unique_ptr<KeyStore> store_;
  std::filesystem::path failed_path_;
  LONG failed_status_ = ERROR_SUCCESS;
  bool reported_ = false;
  int group_depth_ = 0;
  HandleTable handles_;
  std::mutex flusher_mutex_;  // guards flusher_wake_; taken after mutex_, never before
  std::condition_variable flusher_cv_;
  bool flusher_wake_ = false;
  bool flusher_started_ = false;
  bool flusher_watching_ = false;  // the thread waits for a request or the deadline
  bool exiting_ = false;  // the exit handler has run: commit at once
  std::chrono::milliseconds commit_delay_{-1};  // negative: not set, use the default
};

// The Win32 status for a store failure during a call.
LONG SqliteErrorStatus(int sqlite_code, bool write);

template <typename Fn>
LONG Session::Call(bool write, Fn&& fn) {
  std::lock_guard<std::mutex> lock(mutex_);
  LONG status = ERROR_SUCCESS;
  KeyStore* store = Ensure(&status);
  if (store == nullptr) return status;
  try {
    try {
      store->BeginCall(write);
      status = fn(*store, handles_);
    } catch (const RetryCall&) {
      // The caches were dropped and a read transaction is now open: the
      // second run reads everything afresh within it.
      status = fn(*store, handles_);
    }
    store->EndCall();
    AfterCall(*store);
    return status;
  } catch (const SqliteError& error) {
    store->AbortCall();
    ReportLostChanges(*store);
    return Report(error, SqliteErrorStatus(error.code(), write));
  } catch (const std::bad_alloc& error) {
    store->AbortCall();
    ReportLostChanges(*store);
    return Report(error, ERROR_OUTOFMEMORY);
  } catch (const RetryCall&) {
    store->AbortCall();
    return ERROR_CANTREAD;  // unreachable: a call inside a transaction never retries
  }
}

}  // namespace orvane::platform
