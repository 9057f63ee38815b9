// The journal's names, its clearing, the 20-record limit, shifting, and
// one journal shared by every control of a process.
#include <gtest/gtest.h>

#include "keyops/journal_fixture.h"
#include "keyops/key_create_delete.h"
#include "orvane/quorvel.h"
#include "registry/expect_error.h"
#include "registry/scoped_key.h"
#include "undo/record.h"

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

#ifndef _WIN32
// Journal slots are held in the Linux store; on Windows the journal is
// named after the component's module instead.
TEST_F(JournalStoreTest, NamesCarryTheSlotThisProcessHoldsInTheStore) {
  // The only process using this fresh store takes its first slot.
  InitJournalNames();
  EXPECT_EQ(JournalIdentifier(), "1");
  EXPECT_EQ(JournalKeyPath(), "SOFTWARE\\Orvane\\Undo-1");
  EXPECT_EQ(TempUndoKeyPath(), "SOFTWARE\\Orvane\\TempUndo-1");
  // Another store is another set of slots; the first is free there too.
  TempRegistry other;
  EXPECT_EQ(JournalIdentifier(), "1");
}
#endif

TEST_F(JournalStoreTest, NothingIsWrittenWhileUndoIsDisabled) {
  RecordUndo(UndoActionCode::ValueSetCreated, {{"-2147483647", "K", "v"}});
  EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, JournalKeyPath()));
}

TEST_F(JournalStoreTest, FirstRecordCreatesTheJournalWithItsText) {
  SetUndoEnabledFlag(true);
  RecordUndo(UndoActionCode::ValueSetCreated, {{"-2147483647", "Software\\K", "v"}});
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, JournalKeyPath()),
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
  EXPECT_TREE_EQ(Record(1), record);
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
  EXPECT_TREE_EQ(Record(1), oldest);
  ShiftJournal(journal.get(), false);
  ShiftJournal(journal.get(), false);
  EXPECT_EQ(RecordCount(), 0);
}

TEST_F(JournalStoreTest, OldDataExpectedButNotParkedRaises60002AfterTheValues) {
  SetUndoEnabledFlag(true);
  EXPECT_ERROR_NUMBER(RecordUndo(UndoActionCode::ValueDeleted, {{"-2147483647", "K", "v"}}), 60002);
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"A3\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"K\"\n\"ValueName\"=\"v\"\n");
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

}  // namespace
}  // namespace orvane
