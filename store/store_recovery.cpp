#include "store/store_recovery.h"

#include <sys/stat.h>

#include <algorithm>
#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "store/damaged_store.h"
#include "store/registry_store.h"
#include "store/sqlite_db.h"
#include "store/store_schema.h"
#include "platform/win32_registry.h"

namespace orvane::platform {
namespace {

// Everything read of the damaged store.
struct Contents {
  std::map<int64_t, DamagedKeyRow> rows;                 // readable key rows by id
  std::vector<int64_t> lost;                             // ids whose rows could not be read
  std::map<int64_t, std::vector<DamagedValueRow>> values;  // readable values by key id
  int64_t cut_value_lists = 0;
};

bool IsRoot(int64_t id) { return id == kLocalMachineId || id == kUsersId || id == kDynDataId; }

Contents ReadContents(DamagedStore& store) {
  Contents contents;
  store.ReadKeys(&contents.rows, &contents.lost);
  std::set<int64_t> ids(contents.lost.begin(), contents.lost.end());
  for (const auto& [id, row] : contents.rows) ids.insert({id, row.parent});
  ids.insert({kLocalMachineId, kUsersId, kDynDataId});
  for (const int64_t id : ids) {
    bool complete = true;
    std::vector<DamagedValueRow> values = store.ReadValues(id, &complete);
    if (!complete) ++contents.cut_value_lists;
    if (!values.empty()) contents.values[id] = std::move(values);
  }
  return contents;
}

// A name the registry can hold as one key: not empty, no NUL, no backslash.
bool Nameable(std::string_view name) {
  return !name.empty() && name.find('\0') == std::string_view::npos && name.find('\\') == std::string_view::npos;
}

// Writes the contents into the store in use.
class Writer {
 public:
  Writer(const Contents& contents, RecoveryReport* report) : contents_(contents), report_(*report) {
    for (const auto& [id, row] : contents.rows) {
      if (IsRoot(id)) continue;
      children_[row.parent].push_back(id);
      if (!IsRoot(row.parent) && contents.rows.count(row.parent) == 0) {
        stand_ins_.insert(row.parent);
        ++report_.orphans;
      }
    }
    for (const int64_t id : contents.lost) {
      if (contents.values.count(id) != 0) stand_ins_.insert(id);
    }
    report_.keys_lost = static_cast<int64_t>(contents.lost.size());
  }
  ~Writer() {
    if (recovered_ != nullptr) RegCloseKey(recovered_);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  void Write() {
    for (const auto& [id, root] : {std::pair{kLocalMachineId, HKEY_LOCAL_MACHINE}, std::pair{kUsersId, HKEY_USERS},
                                   std::pair{kDynDataId, HKEY_DYN_DATA}}) {
      WriteValues(root, id);
      WriteBelow(root, root, "", id);
    }
    WriteStandIns();
    // Keys left are in a loop of parents (or below one), which reaches no
    // root: the loop is cut at its first key, placed as if its parent were
    // lost.
    for (auto row = contents_.rows.begin(); row != contents_.rows.end(); ++row) {
      if (IsRoot(row->first) || written_.count(row->first) != 0) continue;
      stand_ins_.insert(row->second.parent);
      ++report_.orphans;
      WriteStandIns();
    }
    for (const auto& [root, path] : read_only_) SetRegistryKeyReadOnly(root, path.c_str(), true);
  }

 private:
  // The name of the Recovered key: kRecoveredKeyName, or the first free
  // "Recovered (n)" when HKEY_LOCAL_MACHINE already holds one.
  std::string RecoveredName() const {
    std::set<std::string> taken;
    for (const int64_t id : Children(kLocalMachineId)) taken.insert(FoldName(contents_.rows.at(id).name));
    std::string name = kRecoveredKeyName;
    for (int n = 2; taken.count(FoldName(name)) != 0; ++n) {
      name = std::string(kRecoveredKeyName) + " (" + std::to_string(n) + ")";
    }
    return name;
  }

  // Writes a key below the Recovered key for each lost key in stand_ins_,
  // named by its id, with its values and sub-keys.
  void WriteStandIns() {
    if (stand_ins_.empty()) return;
    if (recovered_ == nullptr) {
      recovered_name_ = RecoveredName();
      if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, recovered_name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &recovered_, nullptr) != ERROR_SUCCESS) {
        recovered_ = nullptr;
      } else {
        report_.recovered_key = "HKEY_LOCAL_MACHINE\\" + recovered_name_;
      }
    }
    for (const int64_t id : std::exchange(stand_ins_, {})) {
      const std::string name = std::to_string(id);
      HKEY stand_in = nullptr;
      if (recovered_ == nullptr || RegCreateKeyExA(recovered_, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                   &stand_in, nullptr) != ERROR_SUCCESS) {
        if (contents_.rows.count(id) == 0) report_.values_lost += ValueCount(id);
        LoseBelow(id);
        continue;
      }
      ++report_.stand_ins;
      if (contents_.rows.count(id) == 0) WriteValues(stand_in, id);  // not for the cut of a loop
      WriteBelow(HKEY_LOCAL_MACHINE, stand_in, recovered_name_ + "\\" + name, id);
      RegCloseKey(stand_in);
    }
  }

  const std::vector<int64_t>& Children(int64_t id) const {
    static const std::vector<int64_t> kNone;
    auto found = children_.find(id);
    return found == children_.end() ? kNone : found->second;
  }

  int64_t ValueCount(int64_t id) const {
    auto found = contents_.values.find(id);
    return found == contents_.values.end() ? 0 : static_cast<int64_t>(found->second.size());
  }

  void WriteValues(HKEY key, int64_t id) {
    auto found = contents_.values.find(id);
    if (found == contents_.values.end()) return;
    for (const DamagedValueRow& value : found->second) {
      const LONG status =
          value.name.find('\0') != std::string::npos
              ? ERROR_INVALID_PARAMETER
              : RegSetValueExA(key, value.name.c_str(), 0, value.type,
                               reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
      if (status == ERROR_SUCCESS) ++report_.values;
      else ++report_.values_lost;
    }
  }

  // Writes the sub-keys of `top` (open as `handle`, at `path` below `root`)
  // and everything below them not written yet, depth first, with a stack
  // of its own.
  void WriteBelow(HKEY root, HKEY handle, const std::string& path, int64_t top) {
    struct Level {
      HKEY handle;
      std::string path;
      const std::vector<int64_t>* children;
      size_t next = 0;
    };
    std::vector<Level> stack{{handle, path, &Children(top)}};
    while (!stack.empty()) {
      if (stack.back().next == stack.back().children->size()) {
        if (stack.size() > 1) RegCloseKey(stack.back().handle);
        stack.pop_back();
        continue;
      }
      Level& level = stack.back();
      const int64_t id = (*level.children)[level.next++];
      if (!written_.insert(id).second) continue;
      const DamagedKeyRow& row = contents_.rows.at(id);
      HKEY child = nullptr;
      if (!Nameable(row.name) || RegCreateKeyExA(level.handle, row.name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &child, nullptr) != ERROR_SUCCESS) {
        ++report_.keys_lost;
        report_.values_lost += ValueCount(id);
        LoseBelow(id);
        continue;
      }
      ++report_.keys;
      WriteValues(child, id);
      std::string child_path = level.path.empty() ? row.name : level.path + "\\" + row.name;
      if (row.read_only) read_only_.emplace_back(root, child_path);
      stack.push_back({child, std::move(child_path), &Children(id)});
    }
  }

  // Counts every key below `id` not written yet, and its values, as lost.
  void LoseBelow(int64_t id) {
    std::vector<int64_t> pending{id};
    while (!pending.empty()) {
      const int64_t key = pending.back();
      pending.pop_back();
      for (const int64_t child : Children(key)) {
        if (!written_.insert(child).second) continue;
        ++report_.keys_lost;
        report_.values_lost += ValueCount(child);
        pending.push_back(child);
      }
    }
  }

  const Contents& contents_;
  RecoveryReport& report_;
  std::map<int64_t, std::vector<int64_t>> children_;  // parent id -> child ids, in id order
  std::set<int64_t> stand_ins_;                       // lost keys still to stand in for, by id
  std::set<int64_t> written_;                         // keys written or counted lost
  std::vector<std::pair<HKEY, std::string>> read_only_;
  HKEY recovered_ = nullptr;
  std::string recovered_name_;
};

// The new store's files, removed at destruction unless kept.
class NewStoreFiles {
 public:
  explicit NewStoreFiles(std::filesystem::path file) : file_(std::move(file)) {}
  ~NewStoreFiles() {
    if (kept_) return;
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal", "-commit", "-live"}) {
      std::filesystem::remove(file_.string() + suffix, ignored);
    }
  }
  NewStoreFiles(const NewStoreFiles&) = delete;
  NewStoreFiles& operator=(const NewStoreFiles&) = delete;
  void Keep() { kept_ = true; }

 private:
  std::filesystem::path file_;
  bool kept_ = false;
};

RecoveryReport Recover(const std::filesystem::path& damaged, const std::filesystem::path& target) {
  RecoveryReport report;
  std::string error;
  // A repaired copy goes beside the new store, or in the temporary folder
  // while the new store's folder does not exist yet.
  std::error_code no_folder;
  const std::filesystem::path scratch = std::filesystem::is_directory(target.parent_path(), no_folder)
                                            ? target.parent_path()
                                            : std::filesystem::temp_directory_path();
  std::unique_ptr<DamagedStore> store = DamagedStore::Open(damaged, scratch, &error);
  if (!store) {
    report.error = error;
    return report;
  }
  report.repair = store->repair();
  report.missing_pages = store->missing_pages();
  const Contents contents = ReadContents(*store);
  store.reset();
  if (contents.rows.empty() && contents.values.empty()) {
    report.error = "nothing could be read from " + damaged.string();
    return report;
  }
  NewStoreFiles files(target);
  if (LONG status = SelectRegistryStore(target)) {
    report.error = "cannot create " + target.string() + ": status " + std::to_string(status);
    return report;
  }
  report.cut_value_lists = contents.cut_value_lists;
  // HKEY_DYN_DATA is reached on the 9x platform only.
  OverridePlatform(EmulatedPlatform::kWin9x);
  {
    RegistryMethodScope copy;
    Writer(contents, &report).Write();
  }
  if (LONG status = CommitRegistryWrites()) {
    report.error = "cannot write " + target.string() + ": status " + std::to_string(status);
    return report;
  }
  files.Keep();
  return report;
}

}  // namespace

RecoveryReport RecoverStore(const std::filesystem::path& damaged, const std::filesystem::path& target) {
  struct stat existing {};
  if (lstat(target.c_str(), &existing) == 0) {
    RecoveryReport report;
    report.error = target.string() + " already exists";
    return report;
  }
  try {
    return Recover(damaged, target);
  } catch (const std::exception& failure) {
    RecoveryReport report;
    report.error = std::string("recovery failed: ") + failure.what();
    return report;
  } catch (...) {
    RecoveryReport report;
    report.error = "recovery failed";
    return report;
  }
}

}  // namespace orvane::platform
