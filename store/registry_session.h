// The process-wide registry state: the store in use (opened on first use at
// the default location, or selected explicitly; any kind, RegistryKind), the
// open handles, the method-group depth, and the lock that serialises
// registry calls. A kind's failures (StoreFailure) become Win32 statuses
// here, each reported once on stderr. A background thread commits held
// changes (RegistryKind::SetCommitDelay) when another process asks for them
// or their delay has passed; an exit handler commits them when the process
// ends normally. When a commit outside any
// call fails, the next call (or CommitWrites) returns that failure instead
// of running, and the number of returned calls whose changes were lost is
// kept for the calling thread (LostCallsOfLastFailure).
#pragma once

#include <filesystem>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "store/call_body.h"
#include "store/handle_table.h"
#include "store/registry_kind.h"
#include "store/registry_store.h"
#include "platform/win32_registry.h"

namespace orvane::platform {

class HiveMounts;

class Session {
 public:
  static Session& Instance();
  ~Session();

  // Runs `body(store, handles)` as one registry call (one transaction or
  // part of the current group) and returns its status; a store failure
  // gives its StoreFailure::Status. Nothing the store throws gets out.
  LONG Call(bool write, CallBody body);

  // Closes an open handle; the store is not involved. 0, or 6 for a
  // closed or unknown handle (predefined roots are always open).
  LONG CloseHandle(HKEY handle);
  LONG Select(const std::filesystem::path& file);
  std::filesystem::path CurrentPath();
  void BeginGroup();
  // Ends a group. With `take`, returns the first store failure that a call
  // of the outermost group met (or its commit, or a commit of earlier held
  // changes that failed meanwhile), with the lost calls counted for this
  // thread, and clears it; a nested group returns it without clearing.
  LONG EndGroup(bool take);
  // The first failure since the store was selected that left changes of
  // this process unsaved (a write call or commit that failed, calls that
  // had returned and lost their changes), or 0.
  LONG UnsavedChangesStatus();
  // Inside a group: begins a write and marks a rollback point (true when
  // set); ends it, undoing the changes since then when `undo`.
  bool SetRollbackPoint();
  void ReleaseRollbackPoint(bool undo);
  void CommitPending();
  void SetCommitDelay(std::chrono::milliseconds delay);
  void SetWaitLimit(std::chrono::milliseconds limit);
  // Commits the group and makes every committed change durable.
  LONG Flush();
  // Commits every change made so far; returns 0, or the failure of that
  // commit or of an earlier one that no call has returned yet.
  LONG CommitWrites();
  std::string Check();

 private:
  Session();
  // After a call or group: lets the background thread watch held changes.
  void AfterCall(RegistryKind& store);
  void FlushLoop();
  void PublishAtExit();
  void BeforeFork();
  void AfterFork();
  // A store failure in a call: the status the call returns, with the
  // changes it took along counted for this thread.
  LONG CallFailed(const StoreFailure& error, bool write);
  // A store failure outside any call (a commit of held changes): returned
  // by the next call when it lost changes of calls that had returned.
  void CommitFailed(const StoreFailure& error);
  // The number of returned calls whose changes were just lost (reported
  // on stderr when not zero).
  int64_t TakeLostCalls(RegistryKind& store);
  // The store's file is damaged: this process writes nothing more to it,
  // and every call returns 1009 until another store is selected.
  void StopUsingDamagedStore();
  // The status of a commit failure that no call has returned yet, then 0.
  LONG TakePendingFailure();
  // A call of a group met a store failure: every later call of the group
  // returns it without running, and the group's end reports it.
  LONG NoteGroupFailure(LONG status);
  void NoteUnsaved(LONG status);
  // The open store, opening the default one on first use; nullptr with
  // *status set when it cannot be opened.
  RegistryKind* Ensure(LONG* status);
  LONG OpenStore(const std::filesystem::path& location);
  LONG Report(const std::exception& error, LONG status);

  std::mutex mutex_;
  std::unique_ptr<RegistryKind> store_;
  std::unique_ptr<HiveMounts> hives_;  // the store with its loaded hive files (store/hive)
  std::filesystem::path failed_path_;
  LONG failed_status_ = ERROR_SUCCESS;
  LONG pending_status_ = ERROR_SUCCESS;  // a failed commit no call has returned yet
  int64_t pending_lost_ = 0;             // the returned calls it lost
  LONG group_failure_ = ERROR_SUCCESS;   // met by a call of the open outermost group
  int64_t group_lost_ = 0;               // the calls from before the group it lost
  LONG unsaved_status_ = ERROR_SUCCESS;  // the first failure that left changes unsaved
  bool reported_ = false;
  int group_depth_ = 0;
  HandleTable handles_;
  std::mutex flusher_mutex_;  // guards flusher_wake_; taken after mutex_, never before
  std::condition_variable flusher_cv_;
  bool flusher_wake_ = false;
  bool flusher_started_ = false;
  bool flusher_watching_ = false;  // the thread waits for a request or the deadline
  bool exiting_ = false;  // the exit handler has run: commit at once
  std::chrono::milliseconds wait_limit_{-1};  // negative: not set, use the default
  std::chrono::milliseconds commit_delay_{-1};  // negative: not set, use the default
};

// The calling thread's count of returned calls lost with the failure its
// last registry call returned (see RegistryCallsLostWithLastFailure).
int64_t& LostCallsOfLastFailure();

}  // namespace orvane::platform
