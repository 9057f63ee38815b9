#include "store/wine/wine_prefix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <unordered_map>
#include <utility>

#include "platform/file_replace.h"
#include "store/name_case.h"
#include "store/store_schema.h"
#include "store/wine/wine_reg_file.h"

namespace orvane::platform {
namespace {

using wine::WineKey;
using wine::WineRegFile;
using wine::WineValue;

constexpr const char* kFileNames[3] = {"system.reg", "user.reg", "userdef.reg"};
constexpr const char* kFileRoots[3] = {"REGISTRY\\Machine", "REGISTRY\\User\\", "REGISTRY\\User\\.Default"};
constexpr std::string_view kDefaultUserSid = "S-1-5-21-0-0-0-1000";  // the SID Wine gives every user
constexpr uint32_t kRegLink = 6;
constexpr int kMaxLinkHops = 16;

bool IsStringType(uint32_t type) { return type == 1 || type == 2 || type == 7; }

// Value data as the A functions see it (strings in UTF-8) and as Wine keeps it.
std::string AnsiData(uint32_t type, std::string_view data) {
  if (!IsStringType(type) || data.size() % 2 != 0) return std::string(data);
  return wine::Utf16ToUtf8(wine::UnitsOf(data));
}

std::string WineData(uint32_t type, std::string_view data) {
  if (!IsStringType(type)) return std::string(data);
  std::string bytes;
  for (char16_t unit : wine::Utf8ToUtf16(data)) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// Wine's order of sub-keys: names compared unit by unit in lower case.
bool WineLess(const std::u16string& a, const std::u16string& b) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    if (lower(a[i]) != lower(b[i])) return lower(a[i]) < lower(b[i]);
  }
  return a.size() < b.size();
}

bool FoldedLess(const KeyInfo* child, std::string_view folded) { return child->folded < folded; }

struct FileStamp {
  bool exists = false;
  ino_t inode = 0;
  off_t size = 0;
  timespec mtime{};
  bool operator==(const FileStamp& o) const {
    return exists == o.exists && inode == o.inode && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec;
  }
};

FileStamp StampOf(const std::filesystem::path& file) {
  struct stat info {};
  if (stat(file.c_str(), &info) != 0) return {};
  return {true, info.st_ino, info.st_size, info.st_mtim};
}

LONG StatusOfErrno(int error) {
  if (error == ENOSPC || error == EDQUOT || error == EFBIG) return ERROR_DISK_FULL;
  if (error == EACCES || error == EPERM || error == EROFS) return ERROR_ACCESS_DENIED;
  return ERROR_CANTWRITE;
}

class WinePrefix final : public RegistryKind {
 public:
  explicit WinePrefix(std::filesystem::path prefix) : prefix_(std::move(prefix)) {
    lock_fd_ = open((prefix_ / ".orvane-lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock_fd_ < 0) lock_fd_ = open((prefix_ / ".orvane-lock").c_str(), O_RDONLY | O_CLOEXEC);
    Load();
  }
  ~WinePrefix() override {
    // Switching stores commits what is held, as the process's end does.
    try {
      if (!undo_.empty() && rollback_marks_.empty()) Commit();
    } catch (const StoreFailure& failure) {
      std::fprintf(stderr, "orvane: registry store %s: %s: the changes held were lost\n", prefix_.c_str(),
                   failure.what());
    }
    if (lock_fd_ >= 0) close(lock_fd_);
  }

  const std::filesystem::path& file() const override { return prefix_; }
  const std::string& UserKeyName() const override { return user_sid_; }

  void BeginCall(bool write) override {
    // Held changes that are due are written before the call, while nothing writes on top of them.
    PublishIfDue();
    in_call_ = true;
    call_writes_ = write;
    call_mark_ = undo_.size();
    call_deadline_ = Clock::now() + wait_limit_;
    if (write) {
      const std::string server = WineServerRunning(prefix_);
      if (!server.empty()) throw StoreStatusError(ERROR_BUSY, server);
    }
    Acquire(write);
    if (write && group_depth_ > 0) group_wrote_ = true;
  }
  void EndCall() override {
    in_call_ = false;
    if (call_writes_ && undo_.size() > call_mark_) {
      if (group_depth_ > 0) ++group_write_calls_;
      ++returned_calls_;
    }
    if (group_depth_ == 0) FinishTransaction();
  }
  void AbortCall() override {
    in_call_ = false;
    UndoTo(call_mark_);
    if (group_depth_ == 0 && !holding_ && undo_.empty()) Release();
  }
  void BeginAtomicStep() override {}
  void BeginGroup() override {
    if (group_depth_++ == 0) {
      group_wrote_ = false;
      group_write_calls_ = 0;
    }
  }
  void EndGroup() override {
    if (group_depth_ > 0 && --group_depth_ == 0) {
      group_wrote_ = false;
      FinishTransaction();
    }
  }
  void CommitGroup() override {
    if (rollback_marks_.empty()) Commit();
    group_wrote_ = false;
  }
  void SetRollbackPoint() override { rollback_marks_.push_back(undo_.size()); }
  void ReleaseRollbackPoint(bool undo) override {
    if (rollback_marks_.empty()) return;
    const size_t mark = rollback_marks_.back();
    rollback_marks_.pop_back();
    if (undo) UndoTo(mark);
  }

  const KeyInfo* Find(int64_t id) override {
    auto found = nodes_.find(id);
    return found == nodes_.end() || found->second.deleted ? nullptr : &found->second.info;
  }
  const KeyInfo* FindChild(int64_t parent, std::string_view name) override {
    const KeyInfo* child = FindOwnChild(parent, name);
    for (int hop = 0; child != nullptr && hop < kMaxLinkHops && nodes_.at(child->id).link; ++hop) {
      const KeyInfo* target = LinkTarget(child->id);
      if (target == nullptr) break;
      child = target;
    }
    return child;
  }
  const KeyInfo* FindPath(int64_t from, const std::vector<std::string_view>& names) override {
    const PathPrefix prefix = FindLongestPrefix(from, names);
    return prefix.depth == names.size() ? prefix.key : nullptr;
  }
  PathPrefix FindLongestPrefix(int64_t from, const std::vector<std::string_view>& names) override {
    const KeyInfo* key = Find(from);
    if (key == nullptr) return {nullptr, 0};
    for (size_t depth = 0; depth < names.size(); ++depth) {
      const KeyInfo* child = FindChild(key->id, names[depth]);
      if (child == nullptr) return {key, depth};
      key = child;
    }
    return {key, names.size()};
  }
  bool HasChildren(int64_t id) override { return !nodes_.at(id).children.empty(); }
  const ChildList& Children(int64_t id) override { return nodes_.at(id).children; }
  const ValueList& Values(int64_t id) override { return nodes_.at(id).values; }
  ValueSummary SummarizeValues(int64_t id) override {
    ValueSummary summary;
    for (const ValueRecord& value : nodes_.at(id).values.items()) {
      ++summary.count;
      summary.longest_name = std::max(summary.longest_name, value.name.size());
      summary.longest_data = std::max(summary.longest_data, value.data.size());
    }
    return summary;
  }

  const KeyInfo* CreateChild(int64_t parent_id, std::string_view name) override {
    Node& parent = Writable(parent_id);
    const int64_t id = next_id_++;
    Node& node = nodes_[id];
    node.info = KeyInfo{id, parent_id, std::string(name), FoldName(name), false, FileTimeNow(), ++last_born_};
    node.file = parent.file;
    node.dirty = true;
    InsertChild(parent, node.info);
    Touch(parent);
    undo_.push_back([this, id, parent_id] {
      EraseChild(nodes_.at(parent_id), nodes_.at(id).info);
      nodes_.erase(id);
    });
    return &node.info;
  }
  void DeleteLeaf(const KeyInfo& key) override {
    const int64_t id = key.id;
    Node& parent = Writable(key.parent);
    Node& node = nodes_.at(id);
    EraseChild(parent, node.info);
    node.deleted = true;
    Touch(parent);
    undo_.push_back([this, id] {
      Node& restored = nodes_.at(id);
      restored.deleted = false;
      InsertChild(nodes_.at(restored.info.parent), restored.info);
    });
  }
  void SetValue(int64_t key, std::string_view name, uint32_t type, std::string_view data) override {
    Node& node = Writable(key);
    const std::string folded = FoldName(name);
    if (ValueRecord* existing = node.values.FindFolded(folded)) {
      undo_.push_back([this, key, folded, type = existing->type, data = std::move(existing->data)]() mutable {
        ValueRecord* value = nodes_.at(key).values.FindFolded(folded);
        value->type = type;
        value->data = std::move(data);
      });
      existing->type = type;
      existing->data.assign(data);
    } else {
      node.values.Append({std::string(name), type, std::string(data), node.values.NextSeq()});
      undo_.push_back([this, key, folded] { nodes_.at(key).values.Erase(folded); });
    }
    Touch(node);
  }
  bool DeleteValue(int64_t key, std::string_view name) override {
    Node& node = Writable(key);
    const std::string folded = FoldName(name);
    const ValueRecord* value = node.values.FindFolded(folded);
    if (value == nullptr) return false;
    std::vector<ValueRecord> before = node.values.items();
    node.values.Erase(folded);
    undo_.push_back([this, key, before = std::move(before)] {
      ValueList list;
      for (const ValueRecord& record : before) list.Append(record);
      nodes_.at(key).values = std::move(list);
    });
    Touch(node);
    return true;
  }
  void SetReadOnly(int64_t id, bool read_only) override {
    // Kept by this process only: Wine's files have no such mark.
    KeyInfo& info = nodes_.at(id).info;
    undo_.push_back([&info, was = info.read_only] { info.read_only = was; });
    info.read_only = read_only;
  }

  void Flush() override { CommitGroup(); }
  std::string IntegrityCheck() override { return "ok"; }

  void SetCommitDelay(std::chrono::milliseconds delay) override { commit_delay_ = delay; }
  void SetWaitLimit(std::chrono::milliseconds limit) override { wait_limit_ = limit; }
  bool MayPublishNow() const override { return holding_ && !in_call_ && (group_depth_ == 0 || !group_wrote_); }
  Clock::time_point hold_deadline() const override { return hold_deadline_; }
  std::shared_ptr<const CommitRequests> commit_requests() const override { return nullptr; }
  void PublishIfDue() override {
    if (MayPublishNow() && Clock::now() >= hold_deadline_) Commit();
  }
  void StopDeferring() override {
    commit_delay_ = std::chrono::milliseconds(0);
    if (MayPublishNow()) Commit();
  }
  void PublishBeforeFork() override {
    if (MayPublishNow()) Commit();
  }
  bool ContinueInForkedChild() override { return !holding_ && lock_ == Lock::kNone; }
  int64_t group_write_calls() const override { return group_write_calls_; }
  int64_t TakeLostCalls() override { return std::exchange(lost_calls_, 0); }
  void Abandon() override {
    UndoTo(0);
    DropReturnedCalls();
    Release();
  }

 private:
  struct Node {
    KeyInfo info;
    int file = -1;  // index in kFileNames; -1 for HKEY_USERS and HKEY_DYN_DATA themselves
    bool deleted = false;
    bool dirty = false;  // its section is written anew
    bool link = false;
    std::optional<std::string> class_name;
    std::vector<std::string> other_lines;
    const WineKey* source = nullptr;  // the section it was read from
    ChildList children;
    ValueList values;
  };
  enum class Lock { kNone, kShared, kExclusive };

  // Reads the three files afresh; keys keep their ids where their paths do.
  void Load() {
    std::unordered_map<std::string, std::pair<int64_t, int64_t>> ids;
    for (const auto& [id, node] : nodes_) {
      if (!node.deleted) ids[PathKey(node.info)] = {id, node.info.born};
    }
    nodes_.clear();
    undo_.clear();
    loaded_ = false;
    AddRoot(kLocalMachineId, 0);
    AddRoot(kUsersId, -1);
    AddRoot(kDynDataId, -1);
    for (int f = 0; f < 3; ++f) ReadFile(f);
    const std::string& user_root = files_[1].root;
    user_sid_ = user_root.rfind(kFileRoots[1], 0) == 0 ? user_root.substr(std::strlen(kFileRoots[1]))
                                                       : std::string(kDefaultUserSid);
    file_root_[0] = kLocalMachineId;
    file_root_[1] = AddChild(kUsersId, user_sid_, 1, ids);
    file_root_[2] = AddChild(kUsersId, ".Default", 2, ids);
    std::unordered_map<int64_t, std::vector<const KeyInfo*>> children;
    for (int f = 0; f < 3; ++f) {
      for (const WineKey& key : files_[f].keys) {
        int64_t id = file_root_[f];
        for (size_t from = 0; from < key.path.size();) {
          const size_t end = std::min(key.path.find('\\', from), key.path.size());
          id = AddChild(id, key.path.substr(from, end - from), f, ids);
          from = end + 1;
        }
        Node& node = nodes_.at(id);
        node.source = &key;
        node.info.mtime = key.modif;
        node.link = key.link;
        node.class_name = key.class_name;
        node.other_lines = key.other_lines;
        for (const WineValue& value : key.values) {
          node.values.Append({value.name, value.type, AnsiData(value.type, value.data), node.values.NextSeq()});
        }
      }
    }
    loaded_ = true;
  }

  void ReadFile(int f) {
    const std::filesystem::path path = prefix_ / kFileNames[f];
    stamps_[f] = StampOf(path);
    file_dirty_[f] = false;
    if (!stamps_[f].exists) {
      if (f == 0) throw StoreStatusError(ERROR_CANTOPEN, "no system.reg in the prefix");
      files_[f] = WineRegFile{};
      files_[f].root = f == 1 ? std::string(kFileRoots[1]) + std::string(kDefaultUserSid) : kFileRoots[2];
      files_[f].header = wine::WineRegHeader(files_[f].root);
      return;
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    if (!(bytes << in.rdbuf())) {
      if (in.peek() != std::char_traits<char>::eof()) {
        throw StoreStatusError(ERROR_CANTOPEN, "cannot read " + path.string());
      }
    }
    try {
      files_[f] = wine::ParseWineRegFile(bytes.str());
    } catch (const StoreFailure& failure) {
      throw StoreStatusError(ERROR_BADDB, path.string() + ": " + failure.what());
    }
  }

  std::string PathKey(const KeyInfo& info) {
    std::string key = info.folded;
    for (const KeyInfo* at = &info; at->parent != 0;) {
      at = &nodes_.at(at->parent).info;
      key = at->folded + "\\" + key;
    }
    return key;
  }

  void AddRoot(int64_t id, int file) {
    Node& node = nodes_[id];
    node.info = KeyInfo{id, 0, "", "", false, FileTimeNow(), id};
    node.file = file;
  }

  // The child `name` of `parent`, added (as a key without a section of its own) when missing.
  int64_t AddChild(int64_t parent, std::string_view name, int file,
                   const std::unordered_map<std::string, std::pair<int64_t, int64_t>>& ids) {
    if (const KeyInfo* known = FindOwnChild(parent, name)) return known->id;
    Node& parent_node = nodes_.at(parent);
    KeyInfo info{0, parent, std::string(name), FoldName(name), false, parent_node.info.mtime, 0};
    auto same = ids.find(PathKey(info));
    if (same != ids.end()) {
      info.id = same->second.first;
      info.born = same->second.second;
    } else {
      info.id = next_id_++;
      info.born = ++last_born_;
    }
    Node& node = nodes_[info.id];
    node.info = std::move(info);
    node.file = file;
    InsertChild(parent_node, node.info);
    return node.info.id;
  }

  const KeyInfo* FindOwnChild(int64_t parent, std::string_view name) {
    const ChildList& list = nodes_.at(parent).children;
    const std::string folded = FoldName(name);
    auto at = std::lower_bound(list.begin(), list.end(), folded, FoldedLess);
    return at != list.end() && (*at)->folded == folded ? *at : nullptr;
  }

  // Where a link key leads: its SymbolicLinkValue, \Registry\Machine\... or \Registry\User\...
  const KeyInfo* LinkTarget(int64_t id) {
    const ValueRecord* value = nodes_.at(id).values.Find("SymbolicLinkValue");
    if (value == nullptr || value->type != kRegLink) return nullptr;
    const std::string path = wine::Utf16ToUtf8(wine::UnitsOf(value->data));
    std::vector<std::string_view> names;
    for (size_t from = 0; from <= path.size();) {
      const size_t end = std::min(path.find('\\', from), path.size());
      if (end > from) names.push_back(std::string_view(path).substr(from, end - from));
      from = end + 1;
    }
    if (names.size() < 2 || !SameIgnoringCase(names[0], "Registry")) return nullptr;
    const int64_t root = SameIgnoringCase(names[1], "Machine") ? kLocalMachineId
                         : SameIgnoringCase(names[1], "User")  ? kUsersId
                                                               : 0;
    if (root == 0) return nullptr;
    names.erase(names.begin(), names.begin() + 2);
    return FindPath(root, names);
  }

  void InsertChild(Node& parent, const KeyInfo& child) {
    auto at = std::lower_bound(parent.children.begin(), parent.children.end(), child.folded, FoldedLess);
    parent.children.insert(at, &child);
  }
  void EraseChild(Node& parent, const KeyInfo& child) {
    auto at = std::lower_bound(parent.children.begin(), parent.children.end(), child.folded, FoldedLess);
    if (at != parent.children.end() && *at == &child) parent.children.erase(at);
  }

  // A key about to change: it must belong to one of the files.
  Node& Writable(int64_t id) {
    Node& node = nodes_.at(id);
    if (node.file < 0) throw StoreStatusError(ERROR_ACCESS_DENIED, "this key is in none of the prefix's files");
    return node;
  }

  // A changed key: a new time, its section written anew.
  void Touch(Node& node) {
    undo_.push_back([&node, mtime = node.info.mtime, dirty = node.dirty] {
      node.info.mtime = mtime;
      node.dirty = dirty;
    });
    node.info.mtime = FileTimeNow();
    node.dirty = true;
    if (node.file >= 0) file_dirty_[node.file] = true;
  }

  void UndoTo(size_t mark) {
    while (undo_.size() > mark) {
      undo_.back()();
      undo_.pop_back();
    }
  }

  void Acquire(bool exclusive) {
    const Lock needed = exclusive ? Lock::kExclusive : Lock::kShared;
    if (lock_fd_ < 0) {  // a prefix we may not add our lock to: nothing to share it with
      if (undo_.empty()) ReloadIfChanged();
      return;
    }
    if (lock_ >= needed) return;
    const bool had_lock = lock_ != Lock::kNone;
    while (flock(lock_fd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) break;  // a lock we cannot take protects nothing
      if (Clock::now() >= call_deadline_) {
        throw StoreStatusError(ERROR_BUSY, "another process has kept the prefix's registry locked for too long");
      }
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    lock_ = needed;
    if (!had_lock || undo_.empty()) ReloadIfChanged();
  }

  void Release() {
    if (lock_ == Lock::kNone) return;
    flock(lock_fd_, LOCK_UN);
    lock_ = Lock::kNone;
  }

  void ReloadIfChanged() {
    if (!loaded_) return Load();
    for (int f = 0; f < 3; ++f) {
      if (!(StampOf(prefix_ / kFileNames[f]) == stamps_[f])) {
        Load();
        return;
      }
    }
  }

  void FinishTransaction() {
    if (undo_.empty()) {
      if (!holding_) Release();
      return;
    }
    if (commit_delay_.count() == 0 || (holding_ && Clock::now() >= hold_deadline_)) {
      Commit();
      return;
    }
    if (!holding_) {
      holding_ = true;
      hold_deadline_ = Clock::now() + commit_delay_;
    }
  }

  // Writes every changed file; on failure the changes are dropped (the
  // files are read again) and the failure thrown.
  void Commit() {
    try {
      for (int f = 0; f < 3; ++f) {
        if (!file_dirty_[f]) continue;
        const std::string server = WineServerRunning(prefix_);
        if (!server.empty()) throw StoreStatusError(ERROR_BUSY, server);
        WriteFile(f);
      }
    } catch (const StoreFailure&) {
      // The changes are lost: memory goes back to the files as they are.
      DropReturnedCalls();
      UndoTo(0);
      rollback_marks_.clear();
      for (bool& dirty : file_dirty_) dirty = false;
      try {
        Load();
      } catch (const StoreFailure&) {
        // The files cannot be read now; the next call that can will.
      }
      Release();
      throw;
    }
    undo_.clear();
    rollback_marks_.clear();
    returned_calls_ = 0;
    holding_ = false;
    if (!in_call_ && group_depth_ == 0) Release();
  }

  void DropReturnedCalls() {
    lost_calls_ += returned_calls_;
    returned_calls_ = 0;
    holding_ = false;
  }

  void WriteFile(int f) {
    WineRegFile out;
    out.header = files_[f].header;
    out.root = files_[f].root;
    std::vector<int64_t> written;
    AppendSections(file_root_[f], "", &out, &written);
    const std::string bytes = wine::FormatWineRegFile(out);
    const std::filesystem::path path = prefix_ / kFileNames[f];
    if (const int error = ReplaceFileContents(path.string(), bytes)) {
      throw StoreStatusError(StatusOfErrno(error), "cannot write " + path.string() + ": " + std::strerror(error));
    }
    files_[f] = std::move(out);
    for (size_t i = 0; i < written.size(); ++i) {
      Node& node = nodes_.at(written[i]);
      node.source = &files_[f].keys[i];
      node.dirty = false;
    }
    stamps_[f] = StampOf(path);
    file_dirty_[f] = false;
  }

  // The sections of `id` and the keys below it in Wine's order, where Wine
  // writes one: a key with values, without sub-keys, with a class or a link.
  void AppendSections(int64_t id, const std::string& path, WineRegFile* out, std::vector<int64_t>* written) {
    Node& node = nodes_.at(id);
    if (!node.values.items().empty() || node.children.empty() || node.class_name || node.link) {
      WineKey key = !node.dirty && node.source != nullptr ? *node.source : SectionOf(node, path);
      if (key.text.empty()) key.text = wine::FormatWineKey(key);
      out->keys.push_back(std::move(key));
      written->push_back(id);
    }
    std::vector<std::pair<std::u16string, int64_t>> order;
    for (const KeyInfo* child : node.children) order.emplace_back(wine::Utf8ToUtf16(child->name), child->id);
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return WineLess(a.first, b.first); });
    for (const auto& [name, child] : order) {
      AppendSections(child, path.empty() ? nodes_.at(child).info.name : path + "\\" + nodes_.at(child).info.name, out,
                     written);
    }
  }

  // A changed key's section; values nobody changed keep their lines.
  WineKey SectionOf(const Node& node, const std::string& path) {
    WineKey key;
    key.path = path;
    key.modif = node.info.mtime;
    key.class_name = node.class_name;
    key.link = node.link;
    key.other_lines = node.other_lines;
    for (const ValueRecord& value : node.values.items()) {
      WineValue written{value.name, value.type, WineData(value.type, value.data), ""};
      if (node.source != nullptr) {
        for (const WineValue& old : node.source->values) {
          if (old.name == value.name && old.type == value.type && AnsiData(old.type, old.data) == value.data) {
            written = old;
          }
        }
      }
      key.values.push_back(std::move(written));
    }
    key.text = wine::FormatWineKey(key);
    for (WineValue& value : key.values) {
      if (value.text.empty()) value.text = wine::FormatWineValue(value);
    }
    return key;
  }

  std::filesystem::path prefix_;
  int lock_fd_ = -1;
  Lock lock_ = Lock::kNone;
  WineRegFile files_[3];
  FileStamp stamps_[3];
  bool file_dirty_[3] = {false, false, false};
  int64_t file_root_[3] = {kLocalMachineId, 0, 0};
  std::string user_sid_;
  std::unordered_map<int64_t, Node> nodes_;  // elements never move: pointers to them stay valid
  bool loaded_ = false;                      // the files were read whole
  int64_t next_id_ = 16;
  int64_t last_born_ = 16;
  std::vector<std::function<void()>> undo_;  // undoes each change since the last commit
  size_t call_mark_ = 0;
  std::vector<size_t> rollback_marks_;
  bool in_call_ = false;
  bool call_writes_ = false;
  int group_depth_ = 0;
  bool group_wrote_ = false;
  int64_t group_write_calls_ = 0;
  bool holding_ = false;
  Clock::time_point hold_deadline_;
  Clock::time_point call_deadline_;
  std::chrono::milliseconds commit_delay_{0};
  std::chrono::milliseconds wait_limit_{30'000};
  int64_t returned_calls_ = 0;
  int64_t lost_calls_ = 0;
};

}  // namespace

bool IsWinePrefix(const std::filesystem::path& location) {
  std::error_code error;
  return std::filesystem::is_directory(location, error) && std::filesystem::exists(location / kFileNames[0], error);
}

std::unique_ptr<RegistryKind> OpenWinePrefix(const std::filesystem::path& prefix) {
  std::error_code error;
  std::filesystem::path real = std::filesystem::canonical(prefix, error);
  return std::make_unique<WinePrefix>(error ? prefix : real);
}

namespace {

// The folders Wine's server may hold its lock in for a prefix whose folder
// is `info`: /tmp/.wine-<uid>/server-<dev>-<inode> (Wine's own choice) and,
// where Debian's Wine names a private folder in the prefix's `wineserver`
// file, /tmp/<that name>/server-<dev>-<inode>.
std::vector<std::string> ServerLockFiles(const std::filesystem::path& prefix, const struct stat& info) {
  char server[64];
  std::snprintf(server, sizeof server, "/server-%llx-%llx/lock", static_cast<unsigned long long>(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  std::vector<std::string> files = {"/tmp/.wine-" + std::to_string(getuid()) + server};
  std::ifstream named(prefix / "wineserver");
  std::string name;
  if (std::getline(named, name) && !name.empty() && name.find('/') == std::string::npos && name != "." &&
      name != "..") {
    files.push_back("/tmp/" + name + server);
  }
  return files;
}

// True when another process holds a write lock on `file` (fcntl, as Wine's server locks it).
bool LockedByAnother(const std::string& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock query {};
  query.l_type = F_WRLCK;
  query.l_whence = SEEK_SET;
  const bool held = fcntl(fd, F_GETLK, &query) == 0 && query.l_type != F_UNLCK;
  close(fd);
  return held;
}

}  // namespace

std::string WineServerRunning(const std::filesystem::path& prefix) {
  struct stat info {};
  if (stat(prefix.c_str(), &info) != 0) return {};
  for (const std::string& lock : ServerLockFiles(prefix, info)) {
    if (!LockedByAnother(lock)) continue;
    return "a Wine server is running for the prefix " + prefix.string() +
           " and owns its registry: nothing was changed; stop it with \"WINEPREFIX=" + prefix.string() +
           " wineserver -k\" or close its programs, then try again";
  }
  return {};
}

}  // namespace orvane::platform
