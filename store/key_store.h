// The registry store over one database connection: keys by id and by name,
// their sub-keys in enumeration order and their values in creation order.
// Everything read is cached in memory until another connection commits,
// which each call detects at its start (PRAGMA data_version); the store's
// own writes update the caches. Single-threaded: the API layer serialises.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/commit_broker.h"
#include "store/key_records.h"
#include "store/registry_kind.h"
#include "store/sqlite_db.h"
#include "store/store_schema.h"

namespace orvane::platform {

// The SQLite kind of registry store (registry_kind.h).
class KeyStore final : public RegistryKind {
 public:
  // Opens (creating and seeding when new) the store in `file`. Throws
  // SqliteError or StoreFormatError.
  static std::unique_ptr<KeyStore> Open(const std::filesystem::path& file);
  ~KeyStore() override;

  const std::filesystem::path& file() const override { return file_; }
  const std::string& UserKeyName() const override { return user_key_name_; }

  // Transactions. Each registry call runs between BeginCall and EndCall (or
  // AbortCall when it threw); inside a group, calls share one transaction.
  // A read call with no transaction open whose caches are known to be
  // current (the WAL index shows no commit since they were checked) runs
  // without one until it needs the database; then it may throw RetryCall.
  void BeginCall(bool write) override;
  void EndCall() override;
  void AbortCall() override;
  // Called before a call's first write when it may write more than one
  // statement: inside a group, makes the rest of the call all or nothing.
  void BeginAtomicStep() override;
  void BeginGroup() override;
  void EndGroup() override;
  // Commits whatever the current group has written; the group goes on.
  void CommitGroup() override;
  // Inside a group whose call has begun a write: marks a point that
  // ReleaseRollbackPoint can return to (points nest). With `undo`, every
  // change since the matching mark is undone; without, they are kept.
  void SetRollbackPoint() override;
  void ReleaseRollbackPoint(bool undo) override;

  // Deferred commits. A write transaction whose calls (or outermost group)
  // have ended is kept open ("held") until another process asks for it
  // (CommitBroker), the commit delay has passed, or something commits it;
  // so a change is visible to every process once its call has returned,
  // and a burst of calls costs one commit. A killed process loses at most
  // what it held and nobody had seen. `delay` zero: commit at once.
  void SetCommitDelay(std::chrono::milliseconds delay) override { commit_delay_ = delay; }
  bool holding() const { return holding_; }
  // How long one call, or all the calls of one outermost group together,
  // may wait for other processes (a holder's commit, the write lock) before
  // failing with SQLITE_BUSY: a method whose every call meets a stopped
  // holder fails once, after the limit, not once per call.
  void SetWaitLimit(std::chrono::milliseconds limit) override { wait_limit_ = limit; }
  // The write calls that ended inside the current (or last) outermost group.
  int64_t group_write_calls() const override { return group_write_calls_; }
  // Commits held changes before the process forks, when nothing writes on
  // top of them, so that a child never starts beside a held transaction.
  void PublishBeforeFork() override {
    if (MayPublishNow()) Commit();
  }
  // A transaction held by the parent is not the child's.
  bool ContinueInForkedChild() override;
  // True when the held changes may be committed now (no call or group
  // writing on top of them): the commit thread then waits for a request or
  // the deadline.
  bool MayPublishNow() const override { return holding_ && !savepoint_ && (group_depth_ == 0 || !group_wrote_); }
  std::shared_ptr<const CommitRequests> commit_requests() const override { return broker_; }
  CommitBroker::Clock::time_point hold_deadline() const override { return hold_deadline_; }
  // Commits the held changes when asked or due and nothing writes on top.
  void PublishIfDue() override;
  // Commits held changes and commits at once from then on (the delay is
  // zero). Changes with a group writing on top are left to that group.
  void StopDeferring() override;
  // After a failure made SQLite drop a transaction (or a commit failed):
  // how many write calls that had already returned success lost their
  // changes with it; 0 when none did. Counted once.
  int64_t TakeLostCalls() override;
  // The file is damaged: drops the open transaction (its calls count as
  // lost) and makes sure closing writes nothing more to the file. Destroy
  // the store next.
  void Abandon() override;

  // The key with this id, or nullptr when it no longer exists.
  const KeyInfo* Find(int64_t id) override;
  // The sub-key `name` (any letter case) of `parent`, or nullptr.
  const KeyInfo* FindChild(int64_t parent, std::string_view name) override;
  // The key `names` below `from` (each name in any letter case), or nullptr.
  // Deep paths continue from the path found last when they extend it, and
  // are remembered whole when finding them needed more than sorted sub-key
  // lists, so that opening a deep key again is one look-up.
  const KeyInfo* FindPath(int64_t from, const std::vector<std::string_view>& names) override;
  // The deepest key that exists along `names` below `from` (`from` itself
  // when the first name is missing; nullptr when `from` is gone) and how
  // many names it took to reach it.
  PathPrefix FindLongestPrefix(int64_t from, const std::vector<std::string_view>& names) override;
  // Creates the sub-key `name` of `parent`, which must not exist yet.
  const KeyInfo* CreateChild(int64_t parent, std::string_view name) override;
  // Deletes a key that has no sub-keys, with its values.
  void DeleteLeaf(const KeyInfo& key) override;
  bool HasChildren(int64_t id) override;
  // The sub-keys of `id` in case-insensitive name order.
  const ChildList& Children(int64_t id) override;
  const ValueList& Values(int64_t id) override;
  // From the cached values, else counted in the database; large data is
  // neither kept nor copied (SQLite still passes over its pages once: a
  // row of `vals` is compared whole).
  ValueSummary SummarizeValues(int64_t id) override;
  void SetValue(int64_t key, std::string_view name, uint32_t type, std::string_view data) override;
  // Returns false when the value does not exist.
  bool DeleteValue(int64_t key, std::string_view name) override;
  void SetReadOnly(int64_t id, bool read_only) override;
  // Makes every committed change durable on disk.
  void Flush() override;
  // SQLite's integrity check: "ok" or the problems found, one a line.
  std::string IntegrityCheck() override;

 private:
  struct Node {
    KeyInfo info;
    bool deleted = false;
    std::optional<ChildList> children;
    std::optional<ValueList> values;
    // The values of its children were loaded (PrefetchChildValues).
    bool children_prefetched = false;
    // Its values summed up while they are not loaded (they hold large data).
    // A change of its values loads them first, so the list then answers.
    std::optional<ValueSummary> summary;
  };

  using WalHeader = std::array<unsigned char, 48>;

  KeyStore(std::unique_ptr<Db> db, std::filesystem::path file, std::unique_ptr<CommitBroker> broker);
  // Starts a transaction and drops the caches if another connection has
  // committed since they were filled.
  void Begin(bool write);
  // Ends the transaction of a finished call or group: holds a write
  // transaction when commits are deferred and nobody waits, else commits.
  void FinishTransaction();
  // Commits the open transaction; on failure rolls back and rethrows.
  void Commit();
  bool PublicationDue() const;
  // The open transaction is gone: the calls that returned with changes in
  // it have lost them (TakeLostCalls), and nothing is held any more.
  void DropReturnedCalls();
  // SQLite's busy handler: waits for the lock's holder (asking a deferring
  // holder to commit), up to the running call's deadline.
  static int WaitWhileBusy(void* store, int attempts);
  // Counts a wait that has ended against the running group's budget.
  void NoteWaited(CommitBroker::Clock::duration waited);
  // Starts a read transaction for a cache miss of a call running without one.
  void EnsureSnapshot();
  bool ReadWalHeader(WalHeader* header);
  void MapWalIndex();
  void ClearCaches();
  Node* LoadNode(int64_t id);
  // When the path in path_key_ (`depth` names) extends the path found last,
  // sets *key to the key found then and returns its number of names; else 0.
  size_t ContinueFromLastPath(size_t depth, const KeyInfo** key);
  void RememberLastPath(size_t depth, const KeyInfo& key);
  // The cached sub-key list of `id` when it is loaded, else nullptr.
  const ChildList* LoadedChildren(int64_t id) const;
  // Caches the key of a row (id, name, read_only, mtime, born) of `query`,
  // starting at `column`, whose parent is `parent`.
  Node* AddNode(const Query& query, int column, int64_t parent);
  Node* AddNode(KeyInfo info);
  // Loads the values of every child of `parent` whose values are not cached,
  // in one query, except those of children holding data longer than
  // kPrefetchDataLimit: for them only the summary is kept, and the values
  // load when asked for.
  void PrefetchChildValues(int64_t parent);
  static constexpr int64_t kPrefetchDataLimit = 65536;
  // Whoever lists sub-keys usually reads their values next (a walk, a copy,
  // a search): the first values asked for of a key whose siblings are
  // listed prefetch those of all of them. True when that was done now.
  bool PrefetchWithSiblings(const Node& node);
  // Records a key's new last write time; written at commit (WriteTouches).
  void Touch(int64_t id);
  void WriteTouches();
  // Forgets the touches and creations recorded for the transaction.
  void ForgetTouches();
  static std::string ChildKey(int64_t parent, std::string_view folded);

  enum class Txn { kNone, kRead, kWrite };
  std::unique_ptr<Db> db_;
  std::shared_ptr<CommitBroker> broker_;  // nullptr: every transaction commits at once
  std::chrono::milliseconds commit_delay_{0};
  bool holding_ = false;      // the write transaction holds changes of finished calls
  bool group_wrote_ = false;  // the outermost group has written since it began or committed
  bool call_writes_ = false;     // the running call was begun as a write
  int64_t returned_calls_ = 0;   // write calls returned with their changes uncommitted
  int64_t lost_calls_ = 0;       // returned calls whose changes a failure dropped
  int64_t changes_at_begin_ = 0;  // the connection's total changes when the transaction began
  bool values_go_with_key_ = false;  // deleting a key's row deletes its values (trigger)
  CommitBroker::Clock::time_point hold_deadline_;
  bool in_call_ = false;
  std::chrono::milliseconds wait_limit_{30'000};
  // When the running call (or, outside calls, the current wait) gives up.
  CommitBroker::Clock::time_point call_deadline_;
  CommitBroker::Clock::duration group_waited_{};  // waits of the outermost group's calls so far
  int64_t group_write_calls_ = 0;
  std::filesystem::path file_;
  std::string user_key_name_ = CurrentUserKeyName();
  Txn txn_ = Txn::kNone;
  int group_depth_ = 0;
  bool savepoint_ = false;
  int rollback_points_ = 0;  // rollback points set and not released
  int64_t data_version_ = -1;
  uint64_t cache_epoch_ = 0;  // counts ClearCaches calls
  const volatile unsigned char* wal_index_ = nullptr;  // SQLite's shared WAL index
  WalHeader seen_header_{};
  bool header_checked_ = false;
  std::unordered_map<int64_t, Node> nodes_;  // elements never move: pointers to them stay valid
  struct BytesHash {
    using is_transparent = void;
    size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
  };
  // (parent id, folded name) -> the child's node (never a deleted one);
  // nullptr: known to be missing. Only for parents whose sub-key list is
  // not loaded; a loaded list answers for its parent.
  std::unordered_map<std::string, Node*, BytesHash, std::equal_to<>> children_by_name_;
  std::string lookup_key_;
  struct PathTarget {
    int64_t id;
    int64_t born;
  };
  // (start id, folded path) -> the key found there when last walked.
  std::unordered_map<std::string, PathTarget, BytesHash, std::equal_to<>> paths_;
  std::string path_key_;
  // The path found last (as in paths_), how many names it had, its key.
  std::string last_path_;
  size_t last_depth_ = 0;
  PathTarget last_target_{0, 0};
  std::unordered_map<int64_t, int64_t> touched_;        // key id -> last write time
  // The first key created in this transaction. A new key's id is above
  // every id in use when it is created, so the keys created in this
  // transaction are exactly those with ids from this one up.
  int64_t first_created_ = std::numeric_limits<int64_t>::max();
  int64_t last_born_ = 0;
};

}  // namespace orvane::platform
