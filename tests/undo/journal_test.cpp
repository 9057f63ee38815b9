// The journal's names, its clearing, the 20-record limit, shifting, and
// one journal shared by every control of a process and by later processes.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "keyops/journal_fixture.h"
#include "keyops/key_create_delete.h"
#include "orvane/quorvel.h"
#include "platform/registry_store.h"
#include "registry/expect_error.h"
#include "registry/scoped_key.h"
#include "undo/record.h"

extern char** environ;

namespace orvane {
namespace {

using namespace testing::tree_helpers;
using testing::StringAt;

class JournalStoreTest : public testing::JournalTest {
 protected:
  static void Push(const std::string& key_path) {
    RecordUndo(UndoActionCode::KeyCreated, {{"-2147483647", key_path, ""}});
  }
  static std::string KeyPathOf(int index) {
    return StringAt(HKEY_LOCAL_MACHINE, JournalKeyPath() + "\\" + RecordKeyName(index), "KeyPath");
  }
};

TEST_F(JournalStoreTest, NamesAreFixedForTheProcess) {
  InitJournalNames();
  EXPECT_EQ(JournalIdentifier(), "268435456");
  EXPECT_EQ(JournalKeyPath(), "SOFTWARE\\Orvane\\Undo-268435456");
  EXPECT_EQ(TempUndoKeyPath(), "SOFTWARE\\Orvane\\TempUndo-268435456");
}

TEST_F(JournalStoreTest, NothingIsWrittenWhileUndoIsDisabled) {
  RecordUndo(UndoActionCode::ValueSetCreated, {{"-2147483647", "K", "v"}});
  EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, JournalKeyPath()));
}

TEST_F(JournalStoreTest, FirstRecordCreatesTheJournalWithItsText) {
  SetUndoEnabledFlag(true);
  RecordUndo(UndoActionCode::ValueSetCreated, {{"-2147483647", "Software\\K", "v"}});
  EXPECT_EQ(TreeText(HKEY_LOCAL_MACHINE, JournalKeyPath()),
            "[]\n\"\"=\"This key is maintained by Orvane. Please do not modify this key directly.\"\n"
            "[Undo#0]\n\"\"=\"A1\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\K\"\n\"ValueName\"=\"v\"\n");
}

TEST_F(JournalStoreTest, TwentyRecordsAtMostNewestFirst) {
  SetUndoEnabledFlag(true);
  for (int i = 0; i <= 20; ++i) Push("K" + std::to_string(i));
  EXPECT_EQ(RecordCount(), 20);
  EXPECT_EQ(KeyPathOf(0), "K20");
  EXPECT_EQ(KeyPathOf(1), "K19");
  EXPECT_EQ(KeyPathOf(19), "K1");
  EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, JournalKeyPath() + "\\Undo#20"));
}

TEST_F(JournalStoreTest, SavedSubtreesTravelWithTheirRecords) {
  SetUndoEnabledFlag(true);
  PutString(HKEY_CURRENT_USER, "Gone\\Deep", "v", "1");
  RemoveKey(HKEY_CURRENT_USER, "Gone", true);
  const std::string record = Record(0);
  Push("Later");
  EXPECT_EQ(Record(1), record);
  EXPECT_EQ(KeyPathOf(0), "Later");
}

TEST_F(JournalStoreTest, PopDropsTheNewestAndMovesTheRestUp) {
  SetUndoEnabledFlag(true);
  for (const char* path : {"K0", "K1", "K2"}) Push(path);
  const std::string oldest = Record(2);
  ScopedKey journal;
  ASSERT_EQ(journal.Open(HKEY_LOCAL_MACHINE, JournalKeyPath()), 0);
  ShiftJournal(journal.get(), false);
  EXPECT_EQ(RecordCount(), 2);
  EXPECT_EQ(KeyPathOf(0), "K1");
  EXPECT_EQ(Record(1), oldest);
  ShiftJournal(journal.get(), false);
  ShiftJournal(journal.get(), false);
  EXPECT_EQ(RecordCount(), 0);
}

TEST_F(JournalStoreTest, OldDataExpectedButNotParkedRaises60002AfterTheValues) {
  SetUndoEnabledFlag(true);
  EXPECT_ERROR_NUMBER(RecordUndo(UndoActionCode::ValueDeleted, {{"-2147483647", "K", "v"}}), 60002);
  EXPECT_EQ(Record(0), "[]\n\"\"=\"A3\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"K\"\n\"ValueName\"=\"v\"\n");
}

TEST_F(JournalStoreTest, ClearingRemovesJournalAndParkedDataButNotTheProductKey) {
  SetUndoEnabledFlag(true);
  Push("K0");
  Push("K1");
  PutString(HKEY_LOCAL_MACHINE, TempUndoKeyPath() + "\\Parked", "v", "1");
  ClearJournal();
  EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, JournalKeyPath()));
  EXPECT_FALSE(TempUndoThere());
  EXPECT_TRUE(KeyThere(HKEY_LOCAL_MACHINE, kProductKeyPath));
  ClearJournal();
  Push("K2");
  EXPECT_EQ(RecordCount(), 1);
  EXPECT_EQ(KeyPathOf(0), "K2");
}

TEST_F(JournalStoreTest, ControlsShareOneJournalAndUndoOffClearsIt) {
  NullContainer container;
  Quorvel first(container);
  Quorvel second(container);
  second.UndoEnabled(true);
  EXPECT_TRUE(first.UndoEnabled());
  WriteKey(HKEY_CURRENT_USER, "ByFirst", true);
  WriteKey(HKEY_CURRENT_USER, "BySecond", true);
  EXPECT_EQ(RecordCount(), 2);
  first.UndoEnabled(false);
  EXPECT_FALSE(second.UndoEnabled());
  EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, JournalKeyPath()));
  EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "BySecond"));
}

// Runs only as the child started by the test below (disabled, so a plain
// run skips it): it records one change and ends without terminating any
// control, leaving its journal behind.
TEST(JournalChildProcess, DISABLED_RecordsAndLeavesTheJournal) {
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "FromChild", true);
  platform::CommitPendingRegistryWrites();
}

TEST_F(JournalStoreTest, LaterProcessContinuesTheJournalLeftBehind) {
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "FromParent", true);
  platform::CommitPendingRegistryWrites();
  std::vector<std::string> args = {"/proc/self/exe", "--gtest_filter=JournalChildProcess.*",
                                   "--gtest_also_run_disabled_tests"};
  std::vector<char*> argv = {args[0].data(), args[1].data(), args[2].data(), nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv.data(), environ);
  ASSERT_EQ(spawned, 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(RecordCount(), 2);
  EXPECT_EQ(KeyPathOf(0), "FromChild");
  EXPECT_EQ(KeyPathOf(1), "FromParent");
}

}  // namespace
}  // namespace orvane
