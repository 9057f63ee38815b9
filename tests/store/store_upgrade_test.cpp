// A store of the first layout, whose names were folded in ASCII upper case
// only, is upgraded when opened: names fold for every letter, and names
// that now fold alike all stay readable.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

using platform::SelectRegistryStore;

// Runs `sql` (any number of statements) on `file` through a connection of
// its own.
void ExecSql(const std::filesystem::path& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

std::vector<std::string> SubKeys(const std::string& path) {
  OwnedKey key;
  std::vector<std::string> names;
  if (OpenKey(HKEY_CURRENT_USER, path, key) != ERROR_SUCCESS) return {"cannot open " + path};
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD size = sizeof(name);
    if (RegEnumKeyExA(key.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, size);
  }
  return names;
}

// Below HKEY_CURRENT_USER\Software\Up, as a first-layout store held them:
// CAFÉ (oldest), café, Café (2), each folded in ASCII upper case only, so
// three different keys; café has a sub-key with a value. CAFÉ holds the
// values NOËL and noël, again two under the old folding.
constexpr const char* kOldLayoutRows = R"sql(
CREATE TEMP TABLE up AS SELECT id FROM keys WHERE name = CAST('Up' AS BLOB);
INSERT INTO keys(parent, name, folded, mtime, born)
  SELECT id, X'434146C389', X'434146C389', 0, 100 FROM up;
INSERT INTO keys(parent, name, folded, mtime, born)
  SELECT id, X'636166C3A9', X'434146C3A9', 0, 200 FROM up;
INSERT INTO keys(parent, name, folded, mtime, born)
  SELECT id, X'436166C3A920283229', X'434146C3A920283229', 0, 300 FROM up;
INSERT INTO keys(parent, name, folded, mtime, born)
  SELECT id, CAST('Inner' AS BLOB), CAST('INNER' AS BLOB), 0, 400 FROM keys WHERE name = X'636166C3A9';
INSERT INTO vals(key, folded, seq, name, type, data)
  SELECT id, CAST('KEPT' AS BLOB), 1, CAST('Kept' AS BLOB), 1, CAST('yes' AS BLOB) || X'00'
  FROM keys WHERE name = CAST('Inner' AS BLOB);
INSERT INTO vals(key, folded, seq, name, type, data)
  SELECT id, X'4E4FC38B4C', 1, X'4E4FC38B4C', 1, CAST('older' AS BLOB) || X'00' FROM keys WHERE name = X'434146C389';
INSERT INTO vals(key, folded, seq, name, type, data)
  SELECT id, X'4E4FC3AB4C', 2, X'6E6FC3AB6C', 1, CAST('newer' AS BLOB) || X'00' FROM keys WHERE name = X'434146C389';
PRAGMA user_version = 1;
)sql";

TEST(StoreUpgrade, NamesThatNowFoldAlikeAreKeptUnderVisibleNewNames) {
  TempRegistry registry;
  ASSERT_EQ(WriteText("Software\\Up", "Plain", "ascii"), ERROR_SUCCESS);
  {
    TempRegistry other;  // closes the first store
    ExecSql(registry.file(), kOldLayoutRows);
    ASSERT_EQ(SqlNumber(registry.file(), "PRAGMA user_version"), 1);
  }
  ASSERT_EQ(SelectRegistryStore(registry.file()), ERROR_SUCCESS);
  // The oldest keeps its name; café would now be CAFÉ and "Café (2)" is
  // taken, so it becomes "café (3)".
  EXPECT_EQ(SubKeys("Software\\Up"),
            (std::vector<std::string>{"CAF\xC3\x89", "Caf\xC3\xA9 (2)", "caf\xC3\xA9 (3)"}));
  EXPECT_EQ(ReadText("Software\\Up\\caf\xC3\xA9 (3)\\Inner", "Kept"), "yes");
  EXPECT_EQ(ReadText("Software\\Up\\caf\xC3\xA9", "Kept"), "status 2");
  EXPECT_EQ(ReadText("Software\\Up\\caf\xC3\xA9", "NO\xC3\x8BL"), "older");
  EXPECT_EQ(ReadText("Software\\Up\\CAF\xC3\x89", "no\xC3\xABl (2)"), "newer");
  EXPECT_EQ(ReadText("Software\\Up", "plain"), "ascii");
  platform::CommitPendingRegistryWrites();

  EXPECT_EQ(SqlNumber(registry.file(), "PRAGMA user_version"), 2) << "older programs refuse layout 2";
  EXPECT_EQ(SqlNumber(registry.file(), "SELECT count(*) FROM upgrade_renames"), 2);
  EXPECT_EQ(SqlNumber(registry.file(), "SELECT count(*) FROM upgrade_renames WHERE kind = 'key' AND "
                                       "old_name = X'636166C3A9' AND new_name = X'636166C3A920283329'"),
            1);
  EXPECT_EQ(SqlNumber(registry.file(), "SELECT count(*) FROM upgrade_renames WHERE kind = 'value' AND "
                                       "old_name = X'6E6FC3AB6C' AND new_name = X'6E6FC3AB6C20283229'"),
            1);
  EXPECT_EQ(IntegrityCheck(registry.file()), "ok");

  // Opening the upgraded store again changes nothing.
  { TempRegistry other; }
  ASSERT_EQ(SelectRegistryStore(registry.file()), ERROR_SUCCESS);
  EXPECT_EQ(SubKeys("Software\\Up").size(), 3u);
  EXPECT_EQ(SqlNumber(registry.file(), "SELECT count(*) FROM upgrade_renames"), 2);
}

TEST(StoreUpgrade, UpgradeThatFailsChangesNothing) {
  TempRegistry registry;
  ASSERT_EQ(WriteText("Software\\Up", "Plain", "ascii"), ERROR_SUCCESS);
  {
    TempRegistry other;  // closes the first store
    ExecSql(registry.file(), kOldLayoutRows);
    // Renaming the keys fails: the upgrade must leave the first layout whole.
    ExecSql(registry.file(),
            "CREATE TRIGGER refuse_renames BEFORE UPDATE OF name ON keys BEGIN SELECT RAISE(ABORT, 'no'); END");
  }
  ::testing::internal::CaptureStderr();
  EXPECT_NE(SelectRegistryStore(registry.file()), ERROR_SUCCESS);
  const std::string message = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(message.find(registry.file().string()), std::string::npos) << message;
  {
    TempRegistry other;
    EXPECT_EQ(SqlNumber(registry.file(), "PRAGMA user_version"), 1);
    EXPECT_EQ(SqlNumber(registry.file(), "SELECT count(*) FROM sqlite_schema WHERE name = 'keys_by_parent'"), 1);
    EXPECT_EQ(SqlNumber(registry.file(), "SELECT count(*) FROM keys WHERE name = X'636166C3A9'"), 1);
    EXPECT_EQ(SqlNumber(registry.file(), "SELECT count(*) FROM sqlite_schema WHERE name = 'upgrade_renames'"), 0);
    ExecSql(registry.file(), "DROP TRIGGER refuse_renames");
  }
  ASSERT_EQ(SelectRegistryStore(registry.file()), ERROR_SUCCESS);
  EXPECT_EQ(SubKeys("Software\\Up").size(), 3u);
  EXPECT_EQ(ReadText("Software\\Up\\caf\xC3\xA9 (3)\\Inner", "Kept"), "yes");
}

}  // namespace
}  // namespace orvane::testing
