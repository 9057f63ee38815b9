// Coordination of deferred commits between the processes sharing a store.
//
// A process may keep the changes of finished registry calls in an open write
// transaction for a short while instead of committing each call (the
// "holder"; at most one, since it owns SQLite's write lock). A few words in
// a small shared file beside the database say who holds; any other process
// about to read or write asks the holder to commit first and waits until it
// has, so a change is visible everywhere once its call has returned. A
// holder that died is noticed through a per-process lock byte of that file
// (the system drops the lock with the process): its transaction died with
// it, so there is nothing to wait for.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "store/registry_kind.h"

namespace orvane::platform {

class CommitBroker final : public CommitRequests {
 public:

  // Opens (creating, mode 0600) the coordination file `file`. Returns
  // nullptr when it cannot be opened or mapped: the caller then commits
  // every change at once.
  static std::unique_ptr<CommitBroker> Open(const std::filesystem::path& file);
  ~CommitBroker() override;
  CommitBroker(const CommitBroker&) = delete;
  CommitBroker& operator=(const CommitBroker&) = delete;

  // True when another process holds uncommitted changes (one memory load).
  bool OtherHolds() const;
  // Asks the holding process to commit and waits until it has, has died, or
  // `until` has passed. Returns false on the time limit.
  bool AwaitPublication(Clock::time_point until);

  // Holder side. Call with SQLite's write lock held: this process now has
  // changes that others must not miss. Clears a stale entry of a dead
  // holder; it cannot still hold anything while we own the write lock.
  void MarkHolding();
  // The changes are committed (or gone): clears the entry and wakes every
  // process waiting for it.
  void MarkPublished();
  // True when another process has asked since MarkHolding.
  bool PublicationRequested() const;
  // Sleeps until a process asks for publication or `until` passes.
  void WaitForRequest(Clock::time_point until) const override;

  // Fairness between writers. A writer that waits for the write lock says
  // so (NoteWriterWaiting) and, once it has it, says that too
  // (NoteWriteLockTaken). A holder that has just committed because it was
  // asked lets such a waiter go first (YieldToWaitingWriter, a few ms at
  // most) instead of taking the lock straight back.
  void NoteWriterWaiting();
  void NoteWriteLockTaken();
  void YieldToWaitingWriter();

  // Call in a child process after fork: it is another process now.
  void ForgetProcess();

 private:
  struct Shared;
  CommitBroker(int fd, Shared* shared);
  bool HolderAlive(uint32_t pid) const;

  int fd_;
  Shared* shared_;
  uint32_t pid_;
  std::atomic<uint32_t> request_seen_{0};  // request_seq at MarkHolding
};

}  // namespace orvane::platform
