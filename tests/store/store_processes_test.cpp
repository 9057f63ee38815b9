// The store shared between processes: each sees the other's writes, method
// groups become visible when they end, simultaneous writers wait for each
// other, a writer killed at any moment leaves a consistent store, and commits
// reach others however another connection left the WAL file.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "child_process.h"
#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

using platform::CommitPendingRegistryWrites;
using platform::RegistryMethodScope;

TEST(StoreProcesses, ChildSeesParentsWritesAndParentSeesChilds) {
  TempRegistry registry;
  ASSERT_EQ(WriteText("Software\\Shared", "FromParent", "one"), ERROR_SUCCESS);
  EXPECT_EQ(RunChild({"get", "Software\\Shared", "FromParent"}).output, "one\n");

  // The parent has the key cached; the child's write must still show.
  OwnedKey key;
  ASSERT_EQ(OpenKey(HKEY_CURRENT_USER, "Software\\Shared", key), ERROR_SUCCESS);
  EXPECT_EQ(GetText(key.get(), "FromChild"), "status 2");
  ASSERT_EQ(RunChild({"set", "Software\\Shared", "FromChild", "two"}).exit_code, 0);
  EXPECT_EQ(GetText(key.get(), "FromChild"), "two");
  ASSERT_EQ(RunChild({"set", "Software\\Shared", "FromParent", "replaced"}).exit_code, 0);
  EXPECT_EQ(GetText(key.get(), "FromParent"), "replaced");
}

TEST(StoreProcesses, EnumerationSeesKeysAnotherProcessAdded) {
  TempRegistry registry;
  OwnedKey key;
  ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, "Software\\List\\B", key), ERROR_SUCCESS);
  ASSERT_EQ(OpenKey(HKEY_CURRENT_USER, "Software\\List", key), ERROR_SUCCESS);
  char name[64];
  DWORD length = sizeof(name);
  ASSERT_EQ(RegEnumKeyExA(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "B");
  ASSERT_EQ(RunChild({"set", "Software\\List\\a", "x", "y"}).exit_code, 0);
  length = sizeof(name);
  ASSERT_EQ(RegEnumKeyExA(key.get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_STREQ(name, "a");
  EXPECT_EQ(RunChild({"subkeys", "Software\\List"}).output, "a\nB\n");
}

TEST(StoreProcesses, GroupedWritesShowWhenTheOutermostScopeEnds) {
  TempRegistry registry;
  {
    RegistryMethodScope outer;
    {
      RegistryMethodScope inner;
      ASSERT_EQ(WriteText("Software\\Group", "Value", "grouped"), ERROR_SUCCESS);
    }
    // Reads inside the group see its own writes; other processes do not yet.
    EXPECT_EQ(ReadText("Software\\Group", "Value"), "grouped");
    EXPECT_EQ(RunChild({"get", "Software\\Group", "Value"}).output, "status 2\n");
  }
  EXPECT_EQ(RunChild({"get", "Software\\Group", "Value"}).output, "grouped\n");
}

TEST(StoreProcesses, CommitBeforeStartingAProgramPublishesTheGroup) {
  TempRegistry registry;
  RegistryMethodScope scope;
  ASSERT_EQ(WriteText("Software\\Group", "First", "1"), ERROR_SUCCESS);
  CommitPendingRegistryWrites();
  EXPECT_EQ(RunChild({"get", "Software\\Group", "First"}).output, "1\n");
  // The group goes on after the commit, and still groups later writes.
  ASSERT_EQ(WriteText("Software\\Group", "Second", "2"), ERROR_SUCCESS);
  EXPECT_EQ(RunChild({"get", "Software\\Group", "Second"}).output, "status 2\n");
  OwnedKey key;
  ASSERT_EQ(OpenKey(HKEY_CURRENT_USER, "Software\\Group", key), ERROR_SUCCESS);
  EXPECT_EQ(RegFlushKey(key.get()), ERROR_SUCCESS);
  EXPECT_EQ(RunChild({"get", "Software\\Group", "Second"}).output, "2\n");
}

TEST(StoreProcesses, GroupSeesAnotherProcessesWriteMadeBeforeItsFirstCall) {
  TempRegistry registry;
  ASSERT_EQ(WriteText("Software\\Seen", "Value", "old"), ERROR_SUCCESS);
  EXPECT_EQ(ReadText("Software\\Seen", "Value"), "old");
  ASSERT_EQ(RunChild({"set", "Software\\Seen", "Value", "new"}).exit_code, 0);
  RegistryMethodScope scope;
  EXPECT_EQ(ReadText("Software\\Seen", "Value"), "new");
}

TEST(StoreProcesses, SecondWriterWaitsForTheFirstInsteadOfFailing) {
  TempRegistry registry;
  std::optional<RegistryMethodScope> scope(std::in_place);
  ASSERT_EQ(WriteText("Software\\Busy", "Parent", "1"), ERROR_SUCCESS);  // holds the write lock
  RunningChild child({"set", "Software\\Busy", "Child", "2"});
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(child.Running()) << "the child should wait for the parent's group";
  scope.reset();
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_EQ(ReadText("Software\\Busy", "Parent"), "1");
  EXPECT_EQ(ReadText("Software\\Busy", "Child"), "2");
}

// Checkpoints the store from a connection of its own, in `mode`.
void CheckpointElsewhere(const std::filesystem::path& file, int mode) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  // A connection opens the WAL at its first read; before that, a checkpoint does nothing.
  EXPECT_EQ(sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr), SQLITE_OK);
  int frames = -1;
  int copied = -2;
  EXPECT_EQ(sqlite3_wal_checkpoint_v2(db, nullptr, mode, &frames, &copied), SQLITE_OK);
  EXPECT_EQ(copied, frames);
  sqlite3_close(db);
}

// Commits `round` + i into each of 40 keys, one call each, and checks that
// another process reads them.
void WriteRound(const std::string& round) {
  for (int i = 0; i < 40; ++i) {
    ASSERT_EQ(WriteText("Software\\Wal\\K" + std::to_string(i), "v", round + std::to_string(i)), ERROR_SUCCESS);
  }
  for (int i : {0, 17, 39}) {
    EXPECT_EQ(RunChild({"get", "Software\\Wal\\K" + std::to_string(i), "v"}).output, round + std::to_string(i) + "\n");
  }
}

TEST(StoreProcesses, CommitsReachOthersWhenTheWalStartsOverOrWasEmptied) {
  TempRegistry registry;
  WriteRound("first ");
  // A complete checkpoint elsewhere: the next commits overwrite the WAL file
  // from its start.
  CheckpointElsewhere(registry.file(), SQLITE_CHECKPOINT_RESTART);
  // One commit of far more pages than one write of the WAL file may carry,
  // all inside the file the first round left.
  {
    RegistryMethodScope scope;
    for (int i = 0; i < 60; ++i) {
      ASSERT_EQ(WriteText("Software\\Wal\\Big" + std::to_string(i), "v", std::string(3000, 'a' + i % 26)),
                ERROR_SUCCESS);
    }
  }
  EXPECT_EQ(RunChild({"get", "Software\\Wal\\Big59", "v"}).output, std::string(3000, 'a' + 59 % 26) + "\n");
  WriteRound("second ");
  // The WAL file emptied elsewhere: the next commits grow it again.
  CheckpointElsewhere(registry.file(), SQLITE_CHECKPOINT_TRUNCATE);
  EXPECT_EQ(std::filesystem::file_size(registry.file().string() + "-wal"), 0u);
  WriteRound("third ");
  EXPECT_EQ(IntegrityCheck(registry.file()), "ok");
}

// Checks what a write loop killed at any moment must leave: "Last" = L and
// exactly the items L-2..L, each with both values and its child key.
void ExpectConsistentLoopState(const std::string& path) {
  OwnedKey root;
  ASSERT_EQ(OpenKey(HKEY_CURRENT_USER, path, root), ERROR_SUCCESS);
  DWORD last = 0;
  DWORD size = sizeof(last);
  ASSERT_EQ(RegQueryValueExA(root.get(), "Last", nullptr, nullptr, reinterpret_cast<BYTE*>(&last), &size),
            ERROR_SUCCESS);
  std::set<std::string> expected;
  for (DWORD step = last > 2 ? last - 2 : 1; step <= last; ++step) expected.insert("Item" + std::to_string(step));
  std::set<std::string> found;
  for (DWORD index = 0;; ++index) {
    char name[64];
    DWORD length = sizeof(name);
    if (RegEnumKeyExA(root.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    found.insert(name);
    const std::string number = std::string(name).substr(4);
    OwnedKey item;
    ASSERT_EQ(OpenKey(root.get(), name, item), ERROR_SUCCESS);
    EXPECT_EQ(GetText(item.get(), "b"), "item " + number);
    OwnedKey child;
    EXPECT_EQ(OpenKey(item.get(), "Child", child), ERROR_SUCCESS) << name;
  }
  EXPECT_EQ(found, expected) << "after step " << last;
}

TEST(StoreProcesses, WriterKilledAtAnyMomentLeavesAConsistentStore) {
  TempRegistry registry;
  for (int round = 0; round < 12; ++round) {
    {
      RunningChild writer({"write-loop", "Software\\Crash"});
      ASSERT_EQ(writer.ReadLine(), "ready");
      std::this_thread::sleep_for(std::chrono::milliseconds(5 + (round * 37) % 60));
      writer.Kill();
    }
    ASSERT_EQ(IntegrityCheck(registry.file()), "ok") << "round " << round;
    ExpectConsistentLoopState("Software\\Crash");
  }
}

TEST(StoreProcesses, TwoWritersTogetherLoseNothing) {
  TempRegistry registry;
  {
    RunningChild first({"write-loop", "Software\\First"});
    RunningChild second({"write-loop", "Software\\Second"});
    ASSERT_EQ(first.ReadLine(), "ready");
    ASSERT_EQ(second.ReadLine(), "ready");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(second.Running());
  }
  ExpectConsistentLoopState("Software\\First");
  ExpectConsistentLoopState("Software\\Second");
  EXPECT_EQ(IntegrityCheck(registry.file()), "ok");
}

}  // namespace
}  // namespace orvane::testing
