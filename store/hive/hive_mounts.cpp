#include "store/hive/hive_mounts.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "store/hive/hive_error.h"
#include "store/name_case.h"

namespace orvane::platform {
namespace {

std::filesystem::path TableFile(const RegistryKind& base) { return base.file().string() + ".hives"; }

}  // namespace

HiveMounts::HiveMounts(RegistryKind& base)
    : base_(base), table_(TableFile(base)), lock_(TableFile(base).string() + ".lock") {}

void HiveMounts::BeginCall(bool write) {
  base_.BeginCall(write);
  table_checked_ = false;
  merged_.clear();
  for (Mount& mount : mounts_) mount.view->BeginCall();
}

void HiveMounts::EndCall() {
  for (Mount& mount : mounts_) mount.view->EndCall();
  lock_.Release();
  base_.EndCall();
}

void HiveMounts::AbortCall() {
  for (Mount& mount : mounts_) mount.view->AbortCall();
  lock_.Release();
  base_.AbortCall();
}

void HiveMounts::EnsureTable() {
  if (table_checked_) return;
  table_checked_ = true;
  if (table_.Refresh()) Synchronize();
}

void HiveMounts::Synchronize() {
  for (Mount& mount : mounts_) mount.loaded = false;
  for (const MountEntry& entry : table_.entries()) {
    auto same = std::find_if(mounts_.begin(), mounts_.end(), [&](const Mount& m) { return m.entry.stamp == entry.stamp; });
    if (same != mounts_.end()) {
      same->loaded = true;
      continue;
    }
    KeyInfo root;
    root.id = kHiveIdBit | (static_cast<int64_t>(mounts_.size()) << 32);
    root.parent = entry.root;
    root.name = entry.name;
    root.folded = FoldCase(entry.name);
    root.born = entry.stamp;
    mounts_.push_back({entry, std::make_unique<HiveView>(entry.file, std::move(root), lock_), true});
  }
  for (Mount& mount : mounts_) {
    if (!mount.loaded) mount.view->Close();
  }
}

HiveView& HiveMounts::ViewOf(int64_t id) {
  EnsureTable();
  const size_t slot = static_cast<size_t>((id & ~kHiveIdBit) >> 32);
  if (slot >= mounts_.size() || !mounts_[slot].loaded) throw HiveError(ERROR_KEY_DELETED, "the hive was unloaded");
  return *mounts_[slot].view;
}

HiveMounts::Mount* HiveMounts::Loaded(int64_t root, std::string_view name) {
  EnsureTable();
  const std::string folded = FoldCase(name);
  for (Mount& mount : mounts_) {
    if (mount.loaded && mount.entry.root == root && mount.view->root().folded == folded) return &mount;
  }
  return nullptr;
}

bool HiveMounts::IntoHive(int64_t from, const std::vector<std::string_view>& names) {
  return IsHive(from) || (IsRoot(from) && !names.empty() && Loaded(from, names[0]) != nullptr);
}

LONG HiveMounts::Load(int64_t root, std::string_view name, const std::filesystem::path& file) {
  lock_.Acquire();
  table_checked_ = false;
  EnsureTable();
  if (Loaded(root, name) != nullptr || base_.FindChild(root, name) != nullptr) return ERROR_ALREADY_EXISTS;
  const std::filesystem::path absolute = std::filesystem::absolute(file);
  for (const MountEntry& entry : table_.entries()) {
    std::error_code error;
    if (std::filesystem::equivalent(entry.file, absolute, error)) return ERROR_SHARING_VIOLATION;
  }
  auto opened = std::make_unique<HiveFile>(absolute, false);  // throws for a file that is missing or not a hive
  std::vector<MountEntry> entries = table_.entries();
  int64_t stamp = std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::system_clock::now().time_since_epoch()).count();
  for (const MountEntry& entry : entries) stamp = std::max(stamp, entry.stamp + 1);
  entries.push_back({root, stamp, std::string(name), absolute});
  table_.Write(entries);
  Synchronize();
  mounts_.back().view->Adopt(std::move(opened));  // the file is read once
  return ERROR_SUCCESS;
}

LONG HiveMounts::Unload(int64_t root, std::string_view name, const HandleTable& handles) {
  lock_.Acquire();
  table_checked_ = false;
  EnsureTable();
  Mount* mount = Loaded(root, name);
  if (mount == nullptr) return base_.FindChild(root, name) != nullptr ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
  const int64_t first = mount->view->root().id;
  if (handles.AnyKeyIn(first, first | 0xFFFFFFFF)) return ERROR_ACCESS_DENIED;
  std::vector<MountEntry> entries = table_.entries();
  std::erase_if(entries, [&](const MountEntry& entry) { return entry.stamp == mount->entry.stamp; });
  table_.Write(entries);
  Synchronize();
  return ERROR_SUCCESS;
}

const KeyInfo* HiveMounts::Find(int64_t id) {
  if (!IsHive(id)) return base_.Find(id);
  EnsureTable();
  const size_t slot = static_cast<size_t>((id & ~kHiveIdBit) >> 32);
  if (slot >= mounts_.size() || !mounts_[slot].loaded) return nullptr;
  return mounts_[slot].view->Find(OffsetIn(id));
}

const KeyInfo* HiveMounts::FindChild(int64_t parent, std::string_view name) {
  if (IsHive(parent)) return ViewOf(parent).FindChild(OffsetIn(parent), name);
  if (IsRoot(parent)) {
    if (Mount* mount = Loaded(parent, name)) return mount->view->Find(0);
  }
  return base_.FindChild(parent, name);
}

const KeyInfo* HiveMounts::FindPath(int64_t from, const std::vector<std::string_view>& names) {
  if (!IntoHive(from, names)) return base_.FindPath(from, names);
  const PathPrefix prefix = FindLongestPrefix(from, names);
  return prefix.depth == names.size() ? prefix.key : nullptr;
}

RegistryKind::PathPrefix HiveMounts::FindLongestPrefix(int64_t from, const std::vector<std::string_view>& names) {
  if (!IntoHive(from, names)) return base_.FindLongestPrefix(from, names);
  PathPrefix prefix{Find(from), 0};
  while (prefix.key != nullptr && prefix.depth < names.size()) {
    const KeyInfo* next = FindChild(prefix.key->id, names[prefix.depth]);
    if (next == nullptr) break;
    prefix = {next, prefix.depth + 1};
  }
  return prefix;
}

bool HiveMounts::HasChildren(int64_t id) {
  if (IsHive(id)) return !ViewOf(id).Children(OffsetIn(id)).empty();
  return base_.HasChildren(id) || (IsRoot(id) && !Children(id).empty());
}

const ChildList& HiveMounts::Children(int64_t id) {
  if (IsHive(id)) return ViewOf(id).Children(OffsetIn(id));
  const ChildList& stored = base_.Children(id);
  if (!IsRoot(id)) return stored;
  EnsureTable();
  std::vector<const KeyInfo*> keys(stored.begin(), stored.end());
  const size_t stored_count = keys.size();
  for (const Mount& mount : mounts_) {
    if (mount.loaded && mount.entry.root == id) keys.push_back(&mount.view->root());
  }
  if (keys.size() == stored_count) return stored;
  std::stable_sort(keys.begin(), keys.end(), [](const KeyInfo* a, const KeyInfo* b) { return a->folded < b->folded; });
  ChildList& merged = merged_.emplace_back();
  for (const KeyInfo* key : keys) merged.push_back(key);
  return merged;
}

const ValueList& HiveMounts::Values(int64_t id) {
  return IsHive(id) ? ViewOf(id).Values(OffsetIn(id)) : base_.Values(id);
}

RegistryKind::ValueSummary HiveMounts::SummarizeValues(int64_t id) {
  if (!IsHive(id)) return base_.SummarizeValues(id);
  ValueSummary summary;
  for (const ValueRecord& value : Values(id).items()) {
    ++summary.count;
    summary.longest_name = std::max(summary.longest_name, value.name.size());
    summary.longest_data = std::max(summary.longest_data, value.data.size());
  }
  return summary;
}

const KeyInfo* HiveMounts::CreateChild(int64_t parent, std::string_view name) {
  return IsHive(parent) ? ViewOf(parent).CreateChild(OffsetIn(parent), name) : base_.CreateChild(parent, name);
}

void HiveMounts::DeleteLeaf(const KeyInfo& key) {
  if (!IsHive(key.id)) return base_.DeleteLeaf(key);
  ViewOf(key.id).DeleteLeaf(OffsetIn(key.id));
}

void HiveMounts::SetValue(int64_t key, std::string_view name, uint32_t type, std::string_view data) {
  if (!IsHive(key)) return base_.SetValue(key, name, type, data);
  ViewOf(key).SetValue(OffsetIn(key), name, type, data);
}

bool HiveMounts::DeleteValue(int64_t key, std::string_view name) {
  return IsHive(key) ? ViewOf(key).DeleteValue(OffsetIn(key), name) : base_.DeleteValue(key, name);
}

void HiveMounts::SetReadOnly(int64_t id, bool read_only) {
  if (!IsHive(id)) return base_.SetReadOnly(id, read_only);
  throw HiveError(ERROR_INVALID_PARAMETER, "keys of a loaded hive cannot be marked read-only");
}

}  // namespace orvane::platform
