// The seam between the Win32 registry functions and a kind of registry
// store. The functions (registry_keys_api.cpp, registry_values_api.cpp,
// registry_calls.*) see a store only as a RegistryKind; the SQLite store
// (KeyStore) is the first kind. See README.md, "Kinds of store".
//
// Contract of a kind:
// - Open: a kind is made for one location (a file, a folder) and names it
//   in file(); a location it cannot use is refused before any call, as a
//   Win32 status (1009 not a registry of this kind, 1011 cannot open).
// - Calls: every operation runs between BeginCall and EndCall (AbortCall
//   when the call failed); a call is all or nothing. Groups nest calls into
//   one transaction; rollback points inside a group undo, or keep, what was
//   done since they were set (RegistryRollbackScope).
// - Keys are found by id (the stored roots have the ids of key_records.h),
//   by name below a parent (any letter case, as FoldCase folds) and by
//   path; sub-keys enumerate in FoldCase order, values in creation order.
//   A returned KeyInfo stays valid until the call ends or the key is
//   deleted.
// - Flush makes every committed change durable.
// - Locks and liveness are the kind's own: whatever it needs so that other
//   processes (or other programs sharing its files) see whole calls.
// - Deferred commits: a kind may hold the changes of finished calls for up
//   to the commit delay and commit them together (when asked by another
//   process, when due, at StopDeferring); it counts the returned calls whose
//   held changes a failure lost (TakeLostCalls).
// - Failure: what a kind cannot do ends the call with a Win32 status (5 a
//   file it may not write, 87 data it cannot hold, 112 disk full, 170 busy,
//   1009 damaged, 1013 cannot write): inside a call, or in a commit, it
//   throws a StoreFailure (store_failure.h) carrying that status, which the
//   session (registry_session.*) turns into the call's status at the call
//   boundary; no exception ever leaves a Win32 function. Code running
//   inside a call is exception-neutral.
// A kind is single-threaded: the session serialises the calls. Which kind
// a location holds is decided in one place (registry_kinds.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/key_records.h"
#include "store/store_failure.h"

namespace orvane::platform {

// Where the session's commit thread waits, without the session's lock, for
// another process to ask for held changes. It outlives the kind it came from.
class CommitRequests {
 public:
  using Clock = std::chrono::steady_clock;
  virtual ~CommitRequests() = default;
  // Sleeps until a process asks for publication or `until` passes.
  virtual void WaitForRequest(Clock::time_point until) const = 0;
};

class RegistryKind {
 public:
  virtual ~RegistryKind() = default;

  // The location this store was opened on (its real path).
  virtual const std::filesystem::path& file() const = 0;
  // The name of the current user's key below HKEY_USERS, which
  // HKEY_CURRENT_USER shows on the NT platform.
  virtual const std::string& UserKeyName() const = 0;

  // Calls, groups and rollback points (see the contract above).
  virtual void BeginCall(bool write) = 0;
  virtual void EndCall() = 0;
  virtual void AbortCall() = 0;
  // Before a call's first write when it may write more than one step:
  // inside a group, makes the rest of the call all or nothing.
  virtual void BeginAtomicStep() = 0;
  virtual void BeginGroup() = 0;
  virtual void EndGroup() = 0;
  // Commits what the current group has written; the group goes on.
  virtual void CommitGroup() = 0;
  virtual void SetRollbackPoint() = 0;
  virtual void ReleaseRollbackPoint(bool undo) = 0;

  // Enumeration and look-up.
  // The key with this id, or nullptr when it no longer exists.
  virtual const KeyInfo* Find(int64_t id) = 0;
  // The sub-key `name` (any letter case) of `parent`, or nullptr.
  virtual const KeyInfo* FindChild(int64_t parent, std::string_view name) = 0;
  // The key `names` below `from` (each in any letter case), or nullptr.
  virtual const KeyInfo* FindPath(int64_t from, const std::vector<std::string_view>& names) = 0;
  // The deepest key that exists along `names` below `from` (`from` itself
  // when the first name is missing; nullptr when `from` is gone) and how
  // many names it took to reach it.
  struct PathPrefix {
    const KeyInfo* key;
    size_t depth;
  };
  virtual PathPrefix FindLongestPrefix(int64_t from, const std::vector<std::string_view>& names) = 0;
  virtual bool HasChildren(int64_t id) = 0;
  // The sub-keys of `id` in FoldCase order.
  virtual const ChildList& Children(int64_t id) = 0;
  // The values of `id` in creation order.
  virtual const ValueList& Values(int64_t id) = 0;
  // How many values `id` has and the lengths of the longest name and data,
  // without keeping or copying large data.
  struct ValueSummary {
    size_t count = 0;
    size_t longest_name = 0;
    size_t longest_data = 0;
  };
  virtual ValueSummary SummarizeValues(int64_t id) = 0;

  // Writing and deleting.
  // Creates the sub-key `name` of `parent`, which must not exist yet.
  virtual const KeyInfo* CreateChild(int64_t parent, std::string_view name) = 0;
  // Deletes a key that has no sub-keys, with its values.
  virtual void DeleteLeaf(const KeyInfo& key) = 0;
  virtual void SetValue(int64_t key, std::string_view name, uint32_t type, std::string_view data) = 0;
  // False when the value does not exist.
  virtual bool DeleteValue(int64_t key, std::string_view name) = 0;
  virtual void SetReadOnly(int64_t id, bool read_only) = 0;

  // Durability and checking.
  virtual void Flush() = 0;
  // "ok", or the problems found, one a line.
  virtual std::string IntegrityCheck() = 0;

  // Deferred commits (see the contract). Outside calls these may throw a
  // StoreFailure too: the session keeps it for the next call.
  using Clock = CommitRequests::Clock;
  // How long finished calls' changes may be held (0: commit at once).
  virtual void SetCommitDelay(std::chrono::milliseconds delay) = 0;
  // How long one call, or all the calls of one outermost group together,
  // may wait for other processes before failing busy (170).
  virtual void SetWaitLimit(std::chrono::milliseconds limit) = 0;
  // Held changes may be committed now: nothing writes on top of them.
  virtual bool MayPublishNow() const = 0;
  // When held changes are due.
  virtual Clock::time_point hold_deadline() const = 0;
  // Where to wait for a request for held changes; nullptr when the kind
  // never holds any.
  virtual std::shared_ptr<const CommitRequests> commit_requests() const = 0;
  // Commits held changes when asked or due and nothing writes on top.
  virtual void PublishIfDue() = 0;
  // Commits held changes and commits at once from then on.
  virtual void StopDeferring() = 0;
  // Commits held changes before the process forks when nothing writes on
  // top of them.
  virtual void PublishBeforeFork() = 0;
  // In the child after a fork: true when the kind goes on serving there;
  // false when it belongs to the parent (it held changes), and the session
  // then leaves it alone, never destroying it, and opens a fresh one.
  virtual bool ContinueInForkedChild() = 0;
  // The write calls that ended inside the current (or last) outermost group.
  virtual int64_t group_write_calls() const = 0;
  // How many returned write calls lost their changes with the last
  // failure; counted once.
  virtual int64_t TakeLostCalls() = 0;
  // The location is damaged: drop what is held (counted as lost) and write
  // nothing more to it. The session destroys the kind next.
  virtual void Abandon() = 0;
};

}  // namespace orvane::platform
