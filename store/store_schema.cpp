#include "store/store_schema.h"

#include <unistd.h>

#include <chrono>
#include <memory>

#include "store/name_case.h"
#include "store/store_seed.h"
#include "store/store_upgrade.h"

namespace orvane::platform {
namespace {

// Layout 2 folds every letter of a name (FoldCase); layout 1 folded ASCII
// letters only and is upgraded when opened.
constexpr int64_t kLayoutVersion = 2;
constexpr int kBusyTimeoutMs = 30000;

constexpr const char* kCreateTables = R"sql(
CREATE TABLE keys(
  id INTEGER PRIMARY KEY,
  parent INTEGER NOT NULL,
  name BLOB NOT NULL,
  folded BLOB NOT NULL,
  read_only INTEGER NOT NULL DEFAULT 0,
  mtime INTEGER NOT NULL DEFAULT 0,
  born INTEGER NOT NULL DEFAULT 0);
CREATE UNIQUE INDEX keys_by_parent ON keys(parent, folded);
CREATE TABLE vals(
  key INTEGER NOT NULL,
  folded BLOB NOT NULL,
  seq INTEGER NOT NULL,
  name BLOB NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key, folded)) WITHOUT ROWID;
)sql";

// Deleting a key's row deletes its values in the same statement, so that a
// key deletion is atomic without a savepoint. Stores created before the
// trigger get it when first opened; a store without it still works (the
// values are then deleted by a statement of their own).
constexpr const char* kDeleteValuesTrigger =
    "CREATE TRIGGER IF NOT EXISTS keys_delete_values AFTER DELETE ON keys "
    "BEGIN DELETE FROM vals WHERE key = old.id; END";

// Pragmas for every connection; run only once the file is known to be ours
// (switching to WAL mode rewrites the file's header).
void SetPragmas(Db& db) {
  db.Exec("PRAGMA journal_mode = WAL");
  db.Exec("PRAGMA synchronous = NORMAL");
  db.Exec("PRAGMA foreign_keys = OFF");
  db.Exec("PRAGMA cache_size = -32768");  // 32 MiB: large groups of writes stay in memory
  // Each checkpoint syncs the WAL and the database file: every 4000 pages
  // (16 MiB of WAL) instead of SQLite's 1000 spreads that cost over four
  // times as many commits. A WAL file left larger by a big transaction is
  // cut back when the WAL starts over; one of the usual size is reused.
  db.Exec("PRAGMA wal_autocheckpoint = 4000");
  db.Exec("PRAGMA journal_size_limit = 25165824");  // 24 MiB
}

// Checks that an existing file is a store of a layout we know. Returns
// false when it is still empty and must be created.
bool CheckExisting(Db& db) {
  const int64_t tables = db.ScalarInt("SELECT count(*) FROM sqlite_schema");
  const int64_t application = db.ScalarInt("PRAGMA application_id");
  if (tables == 0 && application == 0) return false;
  if (application != kStoreApplicationId) {
    throw StoreFormatError("the file is an SQLite database but not a registry store");
  }
  const int64_t version = db.ScalarInt("PRAGMA user_version");
  if (version > kLayoutVersion) {
    throw StoreFormatError("the registry store was written by a newer version (layout " +
                           std::to_string(version) + ")");
  }
  return true;
}

void CreateStore(Db& db) {
  db.Exec("BEGIN IMMEDIATE");
  try {
    if (!CheckExisting(db)) {
      db.Exec(kCreateTables);
      SeedStore(db);
      db.Exec(("PRAGMA application_id = " + std::to_string(kStoreApplicationId)).c_str());
      db.Exec(("PRAGMA user_version = " + std::to_string(kLayoutVersion)).c_str());
    }
    db.Exec("COMMIT");
  } catch (...) {
    db.Exec("ROLLBACK");
    throw;
  }
}

// Raises an older store to the current layout in one transaction; another
// process may have done so meanwhile. Throws SqliteError (a store opened
// read-only, a writer that does not let go): the store is then unusable
// rather than compared under the wrong rules.
void UpgradeStore(Db& db) {
  if (db.ScalarInt("PRAGMA user_version") >= kLayoutVersion) return;
  db.Exec("BEGIN IMMEDIATE");
  try {
    if (db.ScalarInt("PRAGMA user_version") < 2) UpgradeFoldedNames(db);
    db.Exec(("PRAGMA user_version = " + std::to_string(kLayoutVersion)).c_str());
    db.Exec("COMMIT");
  } catch (...) {
    db.Exec("ROLLBACK");
    throw;
  }
}

bool HasDeleteTrigger(Db& db) {
  return db.ScalarInt("SELECT count(*) FROM sqlite_schema WHERE type = 'trigger' AND name = 'keys_delete_values'") > 0;
}

// Adds the trigger to a store that lacks it; false when it cannot (a store
// opened read-only, a writer that does not let go).
bool AddDeleteTrigger(Db& db) {
  if (HasDeleteTrigger(db)) return true;
  try {
    db.Exec("BEGIN IMMEDIATE");
    db.Exec(kDeleteValuesTrigger);
    db.Exec("COMMIT");
    return true;
  } catch (const SqliteError&) {
    if (db.InTransaction()) db.Exec("ROLLBACK");
    return false;
  }
}

}  // namespace

bool InitializeStore(Db& db) {
  db.Exec(("PRAGMA busy_timeout = " + std::to_string(kBusyTimeoutMs)).c_str());
  const bool exists = CheckExisting(db);
  SetPragmas(db);
  if (!exists) CreateStore(db);
  else UpgradeStore(db);
  return AddDeleteTrigger(db);
}

std::string FreshFirstPage(int page_size) {
  std::unique_ptr<Db> db = Db::Open(":memory:");
  db->Exec(("PRAGMA page_size = " + std::to_string(page_size)).c_str());
  db->Exec(kCreateTables);
  db->Exec(kDeleteValuesTrigger);
  db->Exec(("PRAGMA application_id = " + std::to_string(kStoreApplicationId)).c_str());
  db->Exec(("PRAGMA user_version = " + std::to_string(kLayoutVersion)).c_str());
  std::string file = db->Serialize();
  file.resize(static_cast<size_t>(page_size));
  return file;
}

std::string CurrentUserKeyName() { return "S-1-5-21-0-0-0-" + std::to_string(getuid()); }

std::string FoldName(std::string_view name) { return FoldCase(name); }

int64_t FileTimeNow() {
  using namespace std::chrono;
  constexpr int64_t kUnixEpochAsFileTime = 116444736000000000;
  const auto since_epoch = duration_cast<nanoseconds>(system_clock::now().time_since_epoch());
  return kUnixEpochAsFileTime + since_epoch.count() / 100;
}

}  // namespace orvane::platform
