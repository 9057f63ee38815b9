#include "store/store_recovery.h"

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "store/registry_store.h"
#include "store/sqlite_db.h"
#include "platform/win32_registry.h"

namespace orvane::platform {
namespace {

// A key of the damaged store still to copy: its id there, and where its
// copy goes (a root and the path below it).
struct PendingKey {
  int64_t id;
  HKEY root;
  std::string path;
};

struct ChildRow {
  int64_t id;
  std::string name;
  bool read_only;
};

bool Nameable(std::string_view name) { return !name.empty() && name.find('\0') == std::string_view::npos; }

// The sub-keys of `id`: through the index by parent, else (a damaged index)
// by reading the whole table. Throws SqliteError when neither can be read.
std::vector<ChildRow> ReadChildren(Db& db, int64_t id) {
  const auto read = [&](Query query) {
    std::vector<ChildRow> rows;
    query.Bind(1, id);
    while (query.Step()) rows.push_back({query.Int(0), std::string(query.Blob(1)), query.Int(2) != 0});
    return rows;
  };
  try {
    return read(db.Prepare("SELECT id, name, read_only FROM keys WHERE parent = ?1"));
  } catch (const SqliteError&) {
    return read(db.Prepare("SELECT id, name, read_only FROM keys NOT INDEXED WHERE parent = ?1"));
  }
}

struct ValueRow {
  std::string folded;
  int64_t seq;
  std::string name;
  DWORD type;
  std::string data;
};

// Reads rows of `query` (folded, seq, name, type, data) into `rows` until
// it ends, meets damage, or reaches `stop` (a folded name already read).
// Returns false when it met damage.
bool ReadValueRows(Query query, int64_t id, const std::string* stop, std::vector<ValueRow>* rows) {
  try {
    query.Bind(1, id);
    while (query.Step()) {
      if (stop != nullptr && query.Blob(0) == *stop) return true;
      rows->push_back({std::string(query.Blob(0)), query.Int(1), std::string(query.Blob(2)),
                       static_cast<DWORD>(query.Int(3)), std::string(query.Blob(4))});
    }
    return true;
  } catch (const SqliteError&) {
    return false;
  }
}

// The values of key `id` that can be read, in creation order: read in name
// order up to a damaged page, then backwards from the last name down to it.
// *complete is false when some could not be read.
std::vector<ValueRow> ReadValues(Db& db, int64_t id, bool* complete) {
  std::vector<ValueRow> rows;
  *complete = ReadValueRows(db.Prepare("SELECT folded, seq, name, type, data FROM vals WHERE key = ?1 ORDER BY folded"),
                            id, nullptr, &rows);
  if (!*complete) {
    const std::string last = rows.empty() ? std::string() : rows.back().folded;
    ReadValueRows(db.Prepare("SELECT folded, seq, name, type, data FROM vals WHERE key = ?1 ORDER BY folded DESC"), id,
                  rows.empty() ? nullptr : &last, &rows);
  }
  std::sort(rows.begin(), rows.end(), [](const ValueRow& a, const ValueRow& b) { return a.seq < b.seq; });
  return rows;
}

// Copies the values of key `id` that can be read into `target`; returns
// false when some could not be read or written.
bool CopyValues(Db& db, int64_t id, HKEY target, RecoveryReport* report) {
  bool complete = true;
  for (const ValueRow& value : ReadValues(db, id, &complete)) {
    const LONG status =
        value.name.find('\0') != std::string::npos
            ? ERROR_INVALID_PARAMETER
            : RegSetValueExA(target, value.name.c_str(), 0, value.type,
                             reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
    if (status == ERROR_SUCCESS) ++report->values;
    else complete = false;
  }
  return complete;
}

// Copies one key (created below its root) with its values; queues its
// sub-keys and remembers those that are read-only. False when the copy
// could not be created.
bool CopyKey(Db& db, const PendingKey& key, std::vector<PendingKey>* pending,
             std::vector<std::pair<HKEY, std::string>>* read_only, RecoveryReport* report) {
  HKEY copy = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(key.root, key.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copy, &disposition)) {
    ++report->unreadable;
    return false;
  }
  if (!CopyValues(db, key.id, copy, report)) ++report->unreadable;
  RegCloseKey(copy);
  try {
    for (const ChildRow& child : ReadChildren(db, key.id)) {
      if (!Nameable(child.name)) {
        ++report->unreadable;
        continue;
      }
      std::string path = key.path.empty() ? child.name : key.path + "\\" + child.name;
      if (child.read_only) read_only->emplace_back(key.root, path);
      pending->push_back({child.id, key.root, std::move(path)});
    }
  } catch (const SqliteError&) {
    ++report->unreadable;
  }
  return true;
}

}  // namespace

RecoveryReport RecoverStore(const std::filesystem::path& damaged, const std::filesystem::path& target) {
  RecoveryReport report;
  struct stat existing {};
  if (lstat(target.c_str(), &existing) == 0) {
    report.error = target.string() + " already exists";
    return report;
  }
  std::unique_ptr<Db> db;
  try {
    db = Db::OpenForReading(damaged);
  } catch (const SqliteError& error) {
    report.error = "cannot read " + damaged.string() + ": " + error.what();
    return report;
  }
  if (LONG status = SelectRegistryStore(target)) {
    report.error = "cannot create " + target.string() + ": status " + std::to_string(status);
    return report;
  }
  // The stored roots by their fixed ids; HKEY_DYN_DATA is reached on the
  // 9x platform only.
  OverridePlatform(EmulatedPlatform::kWin9x);
  std::vector<PendingKey> pending{{1, HKEY_LOCAL_MACHINE, ""}, {2, HKEY_USERS, ""}, {3, HKEY_DYN_DATA, ""}};
  std::vector<std::pair<HKEY, std::string>> read_only;
  {
    RegistryMethodScope copy;
    while (!pending.empty()) {
      const PendingKey key = std::move(pending.back());
      pending.pop_back();
      if (CopyKey(*db, key, &pending, &read_only, &report) && !key.path.empty()) ++report.keys;
    }
  }
  for (const auto& [root, path] : read_only) {
    if (SetRegistryKeyReadOnly(root, path.c_str(), true)) ++report.unreadable;
  }
  if (LONG status = CommitRegistryWrites()) report.error = "cannot write " + target.string() + ": status " + std::to_string(status);
  return report;
}

}  // namespace orvane::platform
