// Journals of processes using one store: each running process records into
// and undoes from its own journal, a process that starts and ends leaves
// the others' journals alone, and the journal of a process that has ended
// is removed by the next process that starts a control.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "keyops/journal_fixture.h"
#include "keyops/key_create_delete.h"
#include "orvane/quorvel.h"
#include "store/registry_store.h"
#include "undo/record.h"
#include "undo/undo_actions.h"

extern char** environ;

namespace orvane {
namespace {

using namespace testing::tree_helpers;
using testing::StringAt;

// The key below HKEY_CURRENT_USER a child works on, from its environment.
std::string ChildKey() {
  const char* key = std::getenv("JOURNAL_TEST_KEY");
  return key != nullptr ? key : "Child";
}

// Starts this test program running only the disabled child test `name`,
// with JOURNAL_TEST_KEY=`key` added to the environment.
pid_t StartChild(const std::string& name, const std::string& key) {
  std::vector<std::string> args = {"/proc/self/exe", "--gtest_filter=JournalChild." + name,
                                   "--gtest_also_run_disabled_tests"};
  std::vector<char*> argv = {args[0].data(), args[1].data(), args[2].data(), nullptr};
  std::vector<std::string> env_text = {"JOURNAL_TEST_KEY=" + key};
  for (char** entry = environ; *entry != nullptr; ++entry) env_text.emplace_back(*entry);
  std::vector<char*> env;
  for (std::string& entry : env_text) env.push_back(entry.data());
  env.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv.data(), env.data()) != 0) return -1;
  return child;
}

// Waits for a child; true when it ran its test and passed.
bool ChildPassed(pid_t child) {
  int status = 0;
  if (child <= 0 || waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool RunChild(const std::string& name, const std::string& key = "Child") {
  return ChildPassed(StartChild(name, key));
}

// The children. Disabled, so a plain run skips them; each runs only as a
// process started by a test below, on the store that test selected.

// Records one change and ends without terminating a control: its journal
// stays behind.
TEST(JournalChild, DISABLED_RecordsAndEnds) {
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, ChildKey(), true);
  EXPECT_EQ(testing::SubKeyCount(HKEY_LOCAL_MACHINE, JournalKeyPath()), 1);
  platform::CommitPendingRegistryWrites();
}

// Starts a control, records nothing, and terminates it.
TEST(JournalChild, DISABLED_StartsAndEndsAControl) {
  NullContainer container;
  { Quorvel control(container); }
  platform::CommitPendingRegistryWrites();
}

// Deletes and brings back keys of its own, one recorded deletion and one
// undo at a time.
TEST(JournalChild, DISABLED_DeletesAndUndoesItsOwnKeys) {
  SetUndoEnabledFlag(true);
  const std::string key = ChildKey();
  for (int round = 0; round < 40; ++round) {
    const std::string path = key + "\\Round" + std::to_string(round);
    PutString(HKEY_CURRENT_USER, path + "\\Inner", "v", std::to_string(round));
    ASSERT_NO_THROW(RemoveKey(HKEY_CURRENT_USER, path, true)) << path;
    ASSERT_NO_THROW(UndoActions(1)) << path;
    ASSERT_EQ(StringAt(HKEY_CURRENT_USER, path + "\\Inner", "v"), std::to_string(round));
  }
  platform::CommitPendingRegistryWrites();
}

using JournalProcesses = testing::JournalTest;

TEST_F(JournalProcesses, AnotherRunningProcessRecordsIntoAJournalOfItsOwn) {
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "FromParent", true);
  const std::string mine = Record(0);
  platform::CommitPendingRegistryWrites();
  ASSERT_TRUE(RunChild("DISABLED_RecordsAndEnds", "FromChild"));
  EXPECT_EQ(RecordCount(), 1);
  EXPECT_TREE_EQ(Record(0), mine);
  // The child held the next slot while it ran; its journal is still there,
  // as nobody has started a control since.
  EXPECT_EQ(JournalIdentifier(), "1");
  EXPECT_EQ(StringAt(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Undo-2\\Undo#0", "KeyPath"), "FromChild");
  UndoActions(1);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "FromParent"));
  EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "FromChild"));
}

TEST_F(JournalProcesses, AProcessStartingAndEndingMeanwhileLeavesTheJournalAlone) {
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "Mine", true);
  platform::CommitPendingRegistryWrites();
  ASSERT_TRUE(RunChild("DISABLED_StartsAndEndsAControl"));
  EXPECT_EQ(RecordCount(), 1);
  UndoActions(1);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Mine"));
}

TEST_F(JournalProcesses, AnEndedProcesssJournalGoesWhenTheNextProcessStartsAControl) {
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "Mine", true);
  const std::string mine = Record(0);
  // Left by processes that have ended: one that used the next slot, one
  // that wrote the parked data of a slot far beyond, and one of the fixed
  // identifier earlier versions used.
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Undo-2\\Undo#0", "", "D0");
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\TempUndo-7\\Parked", "v", "1");
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Undo-268435456\\Undo#0", "", "D0");
  // Names no process's journal has are not touched.
  PutKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Undo-02");
  PutKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Settings");
  platform::CommitPendingRegistryWrites();
  ASSERT_TRUE(RunChild("DISABLED_StartsAndEndsAControl"));
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane"),
                 "[]\n[Settings]\n[Undo-02]\n[Undo-1]\n\"\"=\"" + std::string(kJournalText) + "\"\n[Undo-1\\Undo#0]\n" +
                mine.substr(mine.find('\n') + 1));
}

TEST_F(JournalProcesses, TwoProcessesDeleteAndUndoTheirOwnKeysAtTheSameTime) {
  const pid_t first = StartChild("DISABLED_DeletesAndUndoesItsOwnKeys", "First");
  const pid_t second = StartChild("DISABLED_DeletesAndUndoesItsOwnKeys", "Second");
  EXPECT_TRUE(ChildPassed(first));
  EXPECT_TRUE(ChildPassed(second));
  EXPECT_EQ(testing::SubKeyCount(HKEY_CURRENT_USER, "First"), 40);
  EXPECT_EQ(testing::SubKeyCount(HKEY_CURRENT_USER, "Second"), 40);
}

}  // namespace
}  // namespace orvane
