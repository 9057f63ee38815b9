// The store on disk: where it is created, with which permissions, and what
// happens with files that are not usable stores (never a crash, never a
// silently emptied or replaced file).
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

using platform::DefaultRegistryPath;
using platform::SelectRegistryStore;

// Sets (or with nullopt removes) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) setenv(name, value->c_str(), 1);
    else unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

unsigned Mode(const std::filesystem::path& file) {
  struct stat info {};
  return stat(file.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

TEST(StoreLocation, EnvironmentChoosesTheDefaultFile) {
  ScopedEnv data_home("XDG_DATA_HOME", "/data/home");
  ScopedEnv home("HOME", "/home/someone");
  {
    ScopedEnv explicit_file("ORVANE_REGISTRY", "/somewhere/reg.db");
    EXPECT_EQ(DefaultRegistryPath(), "/somewhere/reg.db");
  }
  ScopedEnv no_explicit_file("ORVANE_REGISTRY", std::nullopt);
  EXPECT_EQ(DefaultRegistryPath(), "/data/home/orvane/registry.db");
  ScopedEnv no_data_home("XDG_DATA_HOME", std::nullopt);
  EXPECT_EQ(DefaultRegistryPath(), "/home/someone/.local/share/orvane/registry.db");
}

TEST(StoreLocation, RelativeExplicitFileIsRefused) {
  ScopedEnv relative("ORVANE_REGISTRY", "relative/reg.db");
  std::string error;
  EXPECT_EQ(DefaultRegistryPath(&error), "");
  EXPECT_NE(error.find("absolute"), std::string::npos) << error;
}

TEST(StoreLocation, NewStoreGetsItsFoldersAndOwnerOnlyModes) {
  TempRegistry registry;
  const auto file = registry.path() / "deeper" / "still" / "registry.db";
  ASSERT_EQ(SelectRegistryStore(file), ERROR_SUCCESS);
  EXPECT_EQ(std::getenv("ORVANE_REGISTRY"), file.string()) << "child processes must find the same file";
  EXPECT_EQ(platform::CurrentRegistryPath(), file);
  ASSERT_EQ(WriteText("Software\\Mode", "Value", "x"), ERROR_SUCCESS);
  EXPECT_EQ(Mode(file), 0600u);
  EXPECT_EQ(Mode(file.string() + "-wal"), 0600u);
  EXPECT_EQ(Mode(file.parent_path()), 0700u);
}

TEST(StoreLocation, StoreIsKeptAcrossReopening) {
  TempRegistry registry;
  ASSERT_EQ(WriteText("Software\\Kept", "Value", "still here"), ERROR_SUCCESS);
  TempRegistry other;
  EXPECT_EQ(ReadText("Software\\Kept", "Value"), "status 2");
  ASSERT_EQ(SelectRegistryStore(registry.file()), ERROR_SUCCESS);
  EXPECT_EQ(ReadText("Software\\Kept", "Value"), "still here");
  EXPECT_EQ(platform::CheckRegistryStore(), "ok");
}

TEST(StoreLocation, StoreFromBeforeTheValuesTriggerGetsItAndLeavesNoOrphans) {
  TempRegistry registry;
  ASSERT_EQ(WriteText("Software\\Old\\Key", "Value", "x"), ERROR_SUCCESS);
  {
    TempRegistry other;  // closes the first store
    ASSERT_EQ(SqlNumber(registry.file(), "DROP TRIGGER keys_delete_values"), -1);  // no row, dropped
    ASSERT_EQ(SqlNumber(registry.file(), "SELECT count(*) FROM sqlite_schema WHERE type = 'trigger'"), 0);
  }
  ASSERT_EQ(SelectRegistryStore(registry.file()), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Old\\Key"), ERROR_SUCCESS);
  platform::CommitPendingRegistryWrites();
  EXPECT_EQ(SqlNumber(registry.file(), "SELECT count(*) FROM sqlite_schema WHERE type = 'trigger'"), 1);
  EXPECT_EQ(SqlNumber(registry.file(),
                     "SELECT count(*) FROM vals WHERE NOT EXISTS (SELECT 1 FROM keys WHERE keys.id = vals.key)"),
            0);
}

TEST(StoreSelection, HandlesOfThePreviousStoreBecomeInvalid) {
  TempRegistry first;
  OwnedKey key;
  ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, "Software\\Old", key), ERROR_SUCCESS);
  TempRegistry second;
  EXPECT_EQ(SetText(key.get(), "Value", "x"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(key.get()), ERROR_INVALID_HANDLE);
  OwnedKey fresh;
  EXPECT_EQ(OpenKey(HKEY_CURRENT_USER, "Software\\Old", fresh), ERROR_FILE_NOT_FOUND);
}

TEST(StoreSelection, ClosedHandleStaysInvalidWhileOthersComeAndGo) {
  TempRegistry registry;
  OwnedKey key;
  ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, "Software\\Handles", key), ERROR_SUCCESS);
  const HKEY closed = key.get();
  key.Reset();
  for (int i = 0; i < 1000; ++i) {
    OwnedKey other;
    ASSERT_EQ(OpenKey(HKEY_CURRENT_USER, "Software\\Handles", other), ERROR_SUCCESS);
    ASSERT_NE(other.get(), closed) << "a closed handle value came back after " << i << " opens";
  }
  EXPECT_EQ(SetText(closed, "Value", "x"), ERROR_INVALID_HANDLE);
}

class UnusableStore : public ::testing::Test {
 protected:
  // Selects `file`, expecting `status`, and checks that every registry call
  // then gives the same status and the file kept its bytes.
  void ExpectRefused(const std::filesystem::path& file, LONG status) {
    const std::string before = FileBytes(file);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(SelectRegistryStore(file), status);
    OwnedKey key;
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", key), status);
    EXPECT_EQ(CreateKey(HKEY_CURRENT_USER, "Software\\New", key), status);
    const std::string message = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    EXPECT_EQ(message.find('\n'), message.size() - 1) << "reported once: " << message;
    EXPECT_EQ(FileBytes(file), before);
  }
  TempRegistry registry_;
};

TEST_F(UnusableStore, GarbageFileIsABadDatabase) {
  const auto file = registry_.path() / "garbage.db";
  WriteFile(file, std::string(8192, 'x'));
  ExpectRefused(file, ERROR_BADDB);
}

TEST_F(UnusableStore, ForeignSqliteDatabaseIsNotTakenOver) {
  const auto file = registry_.path() / "foreign.db";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('mine')", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  ExpectRefused(file, ERROR_BADDB);
}

TEST_F(UnusableStore, StoreOfANewerLayoutIsRefused) {
  const auto file = registry_.path() / "newer.db";
  ASSERT_EQ(SelectRegistryStore(file), ERROR_SUCCESS);
  ASSERT_EQ(SelectRegistryStore(registry_.file()), ERROR_SUCCESS);  // closes `file`
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  ExpectRefused(file, ERROR_BADDB);
}

TEST_F(UnusableStore, FolderInPlaceOfTheFileCannotBeOpened) {
  const auto folder = registry_.path() / "folder.db";
  std::filesystem::create_directory(folder);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(SelectRegistryStore(folder), ERROR_CANTOPEN);
  OwnedKey key;
  EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", key), ERROR_CANTOPEN);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(folder.string()), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(UnusableStore, DamagedPagesGiveBadDatabaseNotACrash) {
  const auto file = registry_.path() / "damaged.db";
  ASSERT_EQ(SelectRegistryStore(file), ERROR_SUCCESS);
  for (int i = 0; i < 200; ++i) {
    ASSERT_EQ(WriteText("Software\\Bulk\\Key" + std::to_string(i), "Value", std::string(100, 'v')), ERROR_SUCCESS);
  }
  ASSERT_EQ(SelectRegistryStore(registry_.file()), ERROR_SUCCESS);  // checkpoints and closes `file`
  std::string bytes = FileBytes(file);
  ASSERT_GT(bytes.size(), 3 * 4096u);
  for (size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  WriteFile(file, bytes);
  ::testing::internal::CaptureStderr();
  const LONG selected = SelectRegistryStore(file);
  OwnedKey key;
  const LONG opened = selected == ERROR_SUCCESS ? OpenKey(HKEY_CURRENT_USER, "Software\\Bulk\\Key7", key) : selected;
  EXPECT_NE(platform::CheckRegistryStore(), "ok");
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(opened, ERROR_BADDB);
  EXPECT_EQ(FileBytes(file), bytes);
}

}  // namespace
}  // namespace orvane::testing
