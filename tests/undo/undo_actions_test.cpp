// Undo and LastAction: step counts, the errors that stop an undo and what
// stays undone then, records whose key path names no key, and the exact
// reversal of several values written into one key.
#include <gtest/gtest.h>

#include <string>

#include "keyops/journal_fixture.h"
#include "keyops/key_create_delete.h"
#include "keyops/key_transfer.h"
#include "keyops/value_ops.h"
#include "registry/expect_error.h"
#include "registry/scoped_key.h"
#include "registry/value_write.h"
#include "support/read_only_key.h"
#include "support/wine.h"
#include "undo/record.h"
#include "undo/undo_actions.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

const HKEY kUser = HKEY_CURRENT_USER;

class UndoActionsTest : public testing::JournalTest {
 protected:
  UndoActionsTest() { SetUndoEnabledFlag(true); }

  static void SetString(const std::string& path, const std::string& name, const std::string& text) {
    int32_t type = 1;
    WriteValue(kUser, path, name, Variant::String(text), type, kOpenAndCreate, true);
  }
  static std::string Tree(const std::string& path) { return TreeText(kUser, path); }
};

TEST_F(UndoActionsTest, LastActionNamesTheNewestRecordOrZero) {
  EXPECT_EQ(LastAction(), 0);
  PutKey(kUser, "Software\\K");
  SetString("Software\\K", "v", "x");
  EXPECT_EQ(LastAction(), 161);
  RemoveValue(kUser, "Software\\K", "v", true);
  EXPECT_EQ(LastAction(), 163);
  Undo(2);
  EXPECT_EQ(LastAction(), 0);
  EXPECT_TREE_EQ(Tree("Software\\K"), "[]\n");
}

TEST_F(UndoActionsTest, StepsAreCountedAgainstTheRecords) {
  PutKey(kUser, "Software\\K");
  SetString("Software\\K", "a", "1");
  SetString("Software\\K", "b", "2");
  SetString("Software\\K", "c", "3");
  EXPECT_ERROR_NUMBER(UndoActions(4), 60100);
  EXPECT_EQ(RecordCount(), 3);
  UndoActions(-1);
  EXPECT_EQ(RecordCount(), 3);
  UndoActions(2);
  EXPECT_TREE_EQ(Tree("Software\\K"), "[]\n\"a\"=\"1\"\n");
  EXPECT_EQ(LastAction(), 161);
  SetUndoEnabledFlag(false);
  EXPECT_ERROR_NUMBER(Undo(1), 60101);
  EXPECT_EQ(RecordCount(), 1);
  Undo(0);
  EXPECT_EQ(RecordCount(), -1);
  SetUndoEnabledFlag(true);
  EXPECT_ERROR_NUMBER(Undo(1), 60100);
}

TEST_F(UndoActionsTest, AFailingRecordStaysAndTheOnesBeforeItStayUndone) {
  PutKey(kUser, "Software\\K");
  SetString("Software\\K", "first", "1");
  TransferValue(kUser, "Software\\K", "first", kUser, "Software\\K", "renamed", TransferOperation::kRename, true);
  SetString("Software\\K", "last", "3");
  RemoveValue(kUser, "Software\\K", "renamed", false);  // the renamed value is gone
  EXPECT_ERROR_NUMBER(UndoActions(3), 60133);
  EXPECT_TREE_EQ(Tree("Software\\K"), "[]\n");
  EXPECT_EQ(RecordCount(), 2);
  EXPECT_EQ(LastAction(), 192);
  EXPECT_ERROR_NUMBER(UndoActions(1), 60133);
  EXPECT_EQ(RecordCount(), 2);
}

TEST_F(UndoActionsTest, ADeletedKeyDoesNotComeBackOverANewOne) {
  PutString(kUser, "Software\\K\\Sub", "v", "old");
  RemoveKey(kUser, "Software\\K", true);
  PutString(kUser, "Software\\K", "n", "new");
  EXPECT_ERROR_NUMBER(UndoActions(1), 60134);
  EXPECT_TREE_EQ(Tree("Software\\K"), "[]\n\"n\"=\"new\"\n");
  EXPECT_EQ(LastAction(), 209);
  RemoveKey(kUser, "Software\\K", false);
  UndoActions(1);
  EXPECT_TREE_EQ(Tree("Software\\K"), "[]\n[Sub]\n\"v\"=\"old\"\n");
}

// A step that fails after part of its work is undone whole: the registry
// and the journal are exactly as before the call, and the record stays.
// (A read-only key does not list, so trees are compared writable again.)
TEST_F(UndoActionsTest, AStepThatFailsPartWayLeavesRegistryAndJournalAsTheyWere) {
  SetString("Software\\Other", "w", "1");
  SetString("Software\\Other", "w", "2");
  PutString(kUser, "Software\\K\\Sub", "v", "old");
  PutString(kUser, "Software\\K", "", "top");
  RemoveKey(kUser, "Software\\K", true);
  const std::string user = TreeText(kUser, "");
  const std::string machine = TreeText(HKEY_LOCAL_MACHINE, "");
  // The deleted key comes back, then the older record cannot move up.
  const std::string older = JournalKeyPath() + "\\Undo#1\\OldValue";
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_LOCAL_MACHINE, older.c_str(), true), 0);
  EXPECT_ERROR_NUMBER(UndoActions(1), 60005);
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_LOCAL_MACHINE, older.c_str(), false), 0);
  EXPECT_TREE_EQ(TreeText(kUser, ""), user);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, ""), machine);
  UndoActions(1);
  EXPECT_TREE_EQ(Tree("Software\\K"), "[]\n\"\"=\"top\"\n[Sub]\n\"v\"=\"old\"\n");
  EXPECT_EQ(LastAction(), 162);
}

TEST_F(UndoActionsTest, AMovedKeyComesBackOnlyWithTheKeysTheMoveCreatedGone) {
  PutString(kUser, "Software\\Src\\Sub", "v", "1");
  TransferKey(kUser, "Software\\Src", kUser, "Made\\Dst", TransferOperation::kMove, true);
  // The key the move created now holds a key that cannot be deleted.
  PutString(kUser, "Made\\Locked", "w", "2");
  const std::string user = TreeText(kUser, "");
  const std::string machine = TreeText(HKEY_LOCAL_MACHINE, "");
  ASSERT_EQ(testing::SetKeyReadOnly(kUser, "Made\\Locked", true), 0);
  EXPECT_ERROR_NUMBER(UndoActions(1), 60005);
  ASSERT_EQ(testing::SetKeyReadOnly(kUser, "Made\\Locked", false), 0);
  EXPECT_TREE_EQ(TreeText(kUser, ""), user);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, ""), machine);
}

TEST_F(UndoActionsTest, EntriesWithoutAKeyPathDeleteNothing) {
  const std::string before = TreeText(kUser, "");
  PutKey(kUser, "Software\\Made\\Deep");
  RecordUndo(UndoActionCode::KeysCreated, {{"-2147483647", "", ""}, {"", "\\", ""}, {"", "Software\\Made", ""}});
  for (UndoActionCode code : {UndoActionCode::KeyCreated, UndoActionCode::ValueSetKeyCreated,
                              UndoActionCode::KeyCopied, UndoActionCode::ValueCopiedKeyCreated}) {
    RecordUndo(code, {{"-2147483647", "", ""}});
  }
  UndoActions(5);
  EXPECT_TREE_EQ(TreeText(kUser, ""), before);
  EXPECT_EQ(RecordCount(), 0);
}

TEST_F(UndoActionsTest, ARecordOfUnknownKindIsOnlyRemoved) {
  PutString(HKEY_LOCAL_MACHINE, JournalKeyPath() + "\\Undo#0", "", "9Z");
  EXPECT_EQ(LastAction(), 0x90);
  UndoActions(1);
  EXPECT_EQ(RecordCount(), 0);
}

// Several values written into an existing key, recorded as the bulk writer
// records them: the key parked whole, then one name per written row.
TEST_F(UndoActionsTest, SeveralValuesComeBackExactlyAndNothingElseIsTouched) {
  PutString(kUser, "Software\\K", "a", "old a");
  PutValue(kUser, "Software\\K", " pad ", REG_BINARY, "\x01");
  PutString(kUser, "Software\\K", "pad", "untouched");
  PutString(kUser, "Software\\K", "other", "untouched");
  PutString(kUser, "Software\\K\\Sub", "x", "1");
  const std::string before = Tree("Software\\K");
  TransferKey(kUser, "Software\\K", HKEY_LOCAL_MACHINE, TempUndoKeyPath(), TransferOperation::kCopy, false);
  for (const char* name : {"A", "new", " pad "}) {
    int32_t type = 4;
    WriteValue(kUser, "Software\\K", name, Variant::Long(1), type, kOpenAndCreate, false);
  }
  RecordUndo(UndoActionCode::ValuesSet,
             {{"-2147483647", "Software\\K", "A"}, {"", "", "new"}, {"", "", " pad "}});
  UndoActions(1);
  EXPECT_TREE_EQ(Tree("Software\\K"), "[]\n\"pad\"=\"untouched\"\n\"other\"=\"untouched\"\n\"a\"=\"old a\"\n"
                                 "\" pad \"=3:01\n[Sub]\n\"x\"=\"1\"\n");
  // Same contents, values re-created in undo order. (Wine lists values
  // sorted by name, not in creation order.)
  if (!testing::RunningUnderWine()) {
    EXPECT_NE(before, Tree("Software\\K"));
  }
}

}  // namespace
}  // namespace orvane
