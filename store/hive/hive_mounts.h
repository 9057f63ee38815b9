// The store as the registry functions see it when hive files are loaded on
// it: a RegistryKind that passes every call to the store, except for the
// keys of a loaded hive, which it answers from that hive (HiveView). A
// loaded hive appears as a sub-key of HKEY_LOCAL_MACHINE or HKEY_USERS;
// its keys have ids with kHiveIdBit set, the load's slot in bits 32..61
// and the key's offset in its file below. Which hives are loaded is kept
// beside the store (MountTable), so every process on the store sees them.
// Hive changes are written to their file when their call ends, whether or
// not a group is open: rollback points and groups do not undo them.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "store/handle_table.h"
#include "store/hive/hive_lock.h"
#include "store/hive/hive_mount_table.h"
#include "store/hive/hive_view.h"
#include "store/registry_kind.h"

namespace orvane::platform {

constexpr int64_t kHiveIdBit = int64_t{1} << 62;

class HiveMounts final : public RegistryKind {
 public:
  explicit HiveMounts(RegistryKind& base);

  // Inside a write call. Load: 0, 183 when `name` exists below `root`, 32
  // when the file is loaded already; an unusable file throws HiveError.
  LONG Load(int64_t root, std::string_view name, const std::filesystem::path& file);
  // 0, 2 when there is no such key, 5 when it is not a loaded hive or this
  // process has a handle open on one of its keys.
  LONG Unload(int64_t root, std::string_view name, const HandleTable& handles);

  const std::filesystem::path& file() const override { return base_.file(); }
  void BeginCall(bool write) override;
  void EndCall() override;
  void AbortCall() override;
  void BeginAtomicStep() override { base_.BeginAtomicStep(); }
  void BeginGroup() override { base_.BeginGroup(); }
  void EndGroup() override { base_.EndGroup(); }
  void CommitGroup() override { base_.CommitGroup(); }
  void SetRollbackPoint() override { base_.SetRollbackPoint(); }
  void ReleaseRollbackPoint(bool undo) override { base_.ReleaseRollbackPoint(undo); }

  const KeyInfo* Find(int64_t id) override;
  const KeyInfo* FindChild(int64_t parent, std::string_view name) override;
  const KeyInfo* FindPath(int64_t from, const std::vector<std::string_view>& names) override;
  PathPrefix FindLongestPrefix(int64_t from, const std::vector<std::string_view>& names) override;
  bool HasChildren(int64_t id) override;
  const ChildList& Children(int64_t id) override;
  const ValueList& Values(int64_t id) override;
  ValueSummary SummarizeValues(int64_t id) override;
  const KeyInfo* CreateChild(int64_t parent, std::string_view name) override;
  void DeleteLeaf(const KeyInfo& key) override;
  void SetValue(int64_t key, std::string_view name, uint32_t type, std::string_view data) override;
  bool DeleteValue(int64_t key, std::string_view name) override;
  void SetReadOnly(int64_t id, bool read_only) override;
  void Flush() override { base_.Flush(); }
  std::string IntegrityCheck() override { return base_.IntegrityCheck(); }
  const std::string& UserKeyName() const override { return base_.UserKeyName(); }

  // Deferred commits are the store's: hive changes are written when their
  // call ends.
  void SetCommitDelay(std::chrono::milliseconds delay) override { base_.SetCommitDelay(delay); }
  void SetWaitLimit(std::chrono::milliseconds limit) override { base_.SetWaitLimit(limit); }
  bool MayPublishNow() const override { return base_.MayPublishNow(); }
  Clock::time_point hold_deadline() const override { return base_.hold_deadline(); }
  std::shared_ptr<const CommitRequests> commit_requests() const override { return base_.commit_requests(); }
  void PublishIfDue() override { base_.PublishIfDue(); }
  void StopDeferring() override { base_.StopDeferring(); }
  void PublishBeforeFork() override { base_.PublishBeforeFork(); }
  bool ContinueInForkedChild() override { return base_.ContinueInForkedChild(); }
  int64_t group_write_calls() const override { return base_.group_write_calls(); }
  int64_t TakeLostCalls() override { return base_.TakeLostCalls(); }
  void Abandon() override { base_.Abandon(); }

 private:
  struct Mount {
    MountEntry entry;
    std::unique_ptr<HiveView> view;
    bool loaded = true;
  };

  static bool IsHive(int64_t id) { return (id & kHiveIdBit) != 0; }
  static bool IsRoot(int64_t id) { return id == kLocalMachineId || id == kUsersId; }
  static uint32_t OffsetIn(int64_t id) { return static_cast<uint32_t>(id & 0xFFFFFFFF); }
  // Reads the mount table at a call's first need of it.
  void EnsureTable();
  void Synchronize();
  // The loaded hive a hive id belongs to; throws 1018 when it was unloaded.
  HiveView& ViewOf(int64_t id);
  Mount* Loaded(int64_t root, std::string_view name);
  // True when `names` below `from` lead into a loaded hive.
  bool IntoHive(int64_t from, const std::vector<std::string_view>& names);

  RegistryKind& base_;
  MountTable table_;
  HiveLock lock_;
  std::vector<Mount> mounts_;     // by slot; a slot is never used again
  std::deque<ChildList> merged_;  // this call's sub-key lists of roots with hives
  bool table_checked_ = false;
};

}  // namespace orvane::platform
