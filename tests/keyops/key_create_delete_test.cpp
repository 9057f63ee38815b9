// Creating and deleting keys, with and without journalling.
#include <gtest/gtest.h>

#include "keyops/journal_fixture.h"
#include "keyops/key_create_delete.h"
#include "registry/expect_error.h"
#include "support/read_only_key.h"
#include "support/wine.h"
#include "undo/undo_actions.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

class KeyCreateDeleteTest : public testing::JournalTest {};

TEST_F(KeyCreateDeleteTest, WriteKeyCreatesMissingLevelsAndRecordsTheTopmost) {
  PutKey(HKEY_CURRENT_USER, "Software\\A");
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "Software\\A\\B\\C", true);
  EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Software\\A\\B\\C"));
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"D0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\A\\B\"\n");
}

TEST_F(KeyCreateDeleteTest, AKeyThatRefusesToOpenCountsAsExistingAndItsUndoDeletesOnlyTheNewKey) {
  PutString(HKEY_CURRENT_USER, "RO\\inner", "v", "1");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "RO", true), 0);
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "RO\\inner\\new", true);
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"D0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"RO\\inner\\new\"\n");
  UndoActions(1);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "RO\\inner\\new"));
  EXPECT_EQ(RecordCount(), 0);
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "RO", false), 0);
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "RO\\inner", "v"), "1");
}

TEST_F(KeyCreateDeleteTest, UndoOfACreatedKeyThatCannotBeDeletedRaisesAndKeepsTheRecord) {
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "Made\\Below", true);
  PutString(HKEY_CURRENT_USER, "Made\\Below\\Later", "w", "2");
  const std::string before = TreeText(HKEY_CURRENT_USER, "Made");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Made", true), 0);
  EXPECT_ERROR_NUMBER(UndoActions(1), 60005);
  EXPECT_EQ(RecordCount(), 1);
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Made", false), 0);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Made"), before);  // nothing below it went either
}

TEST_F(KeyCreateDeleteTest, WriteKeyOfAnExistingKeyRecordsAnEmptyTarget) {
  PutString(HKEY_CURRENT_USER, "Software\\A", "v", "kept");
  const std::string before = TreeText(HKEY_CURRENT_USER, "Software");
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "Software\\A", true);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software"), before);
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"D0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"\"\n");
  WriteKey(HKEY_CURRENT_USER, "", true);
  EXPECT_EQ(RecordCount(), 2);
}

TEST_F(KeyCreateDeleteTest, WriteKeyRefusedByTheStoreRaisesAndRecordsNothing) {
  // Windows documents that creating a key needs the right to create
  // sub-keys of its parent; Wine creates it below a read-only key too.
  if (testing::RunningUnderWine()) GTEST_SKIP() << "Wine creates keys below a key that refuses it";
  PutKey(HKEY_CURRENT_USER, "Locked");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Locked", true), 0);
  SetUndoEnabledFlag(true);
  EXPECT_ERROR_NUMBER(WriteKey(HKEY_CURRENT_USER, "Locked\\New", true), 60005);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Locked\\New"));
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(KeyCreateDeleteTest, RemoveKeyDeletesTheWholeSubtreeOnly) {
  PutString(HKEY_CURRENT_USER, "P\\K\\a\\b\\c", "v", "1");
  PutString(HKEY_CURRENT_USER, "P\\K2", "w", "2");
  PutString(HKEY_CURRENT_USER, "P", "pv", "3");
  RemoveKey(HKEY_CURRENT_USER, "P\\K", false);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "P"), "[]\n\"pv\"=\"3\"\n[K2]\n\"w\"=\"2\"\n");
  RemoveKey(HKEY_CURRENT_USER, "P", false);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "P"));
}

// A key deep inside that cannot be deleted is met only after the keys
// before it are gone: the deletion is undone whole and raised. (A
// read-only key does not list, so trees are compared writable again.)
TEST_F(KeyCreateDeleteTest, ARemovalThatFailsPartWayLeavesTheSubtreeWhole) {
  const std::string locked = "P\\K\\b\\deep\\locked";
  PutString(HKEY_CURRENT_USER, "P\\K\\a", "v", "1");
  PutString(HKEY_CURRENT_USER, locked, "w", "2");
  PutString(HKEY_CURRENT_USER, "P\\K\\c", "x", "3");
  PutString(HKEY_CURRENT_USER, "P\\K", "top", "4");
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, locked.c_str(), true), 0);
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_CURRENT_USER, "P\\K", false), 60005);
  SetUndoEnabledFlag(true);
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_CURRENT_USER, "P\\K", true), 60005);
  EXPECT_EQ(RecordCount(), -1);
  EXPECT_FALSE(TempUndoThere());
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, locked.c_str(), false), 0);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
}

// The key a root view shows cannot be deleted, so neither can a key that
// holds it: refused whole, journalled or not.
TEST_F(KeyCreateDeleteTest, ARemovalHoldingTheKeyOfARootViewChangesNothing) {
  PutString(HKEY_CLASSES_ROOT, ".ext", "", "file");
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\file", "v", "1");
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "Earlier", true);
  const std::string before = TreeText(HKEY_LOCAL_MACHINE, "");
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes", true), 60005);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, ""), before);
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes", false), 60005);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, ""), before);
  EXPECT_EQ(RecordCount(), 1);
  EXPECT_FALSE(TempUndoThere());
}

TEST_F(KeyCreateDeleteTest, RemoveKeyOfAMissingKeyRaises60002) {
  PutKey(HKEY_CURRENT_USER, "P");
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_CURRENT_USER, "P\\Missing", true), 60002);
  EXPECT_FALSE(TempUndoThere());
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_CURRENT_USER, "P\\Missing", false), 60002);
  // A missing parent fails at its own open.
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_CURRENT_USER, "Q\\Missing", false), 60002);
}

TEST_F(KeyCreateDeleteTest, RemoveKeyOfARootItselfIsRefused) {
  PutString(HKEY_CURRENT_USER, "P", "v", "1");
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_CURRENT_USER, "", true), 60007);
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_CURRENT_USER, "", false), 60007);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
}

TEST_F(KeyCreateDeleteTest, RecordedRemovalOfAKeyHoldingTheUndoStoreIsRefused) {
  SetUndoEnabledFlag(true);
  WriteKey(HKEY_CURRENT_USER, "Something", true);  // a journal to keep
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Other", "v", "1");
  const std::string before = TreeText(HKEY_LOCAL_MACHINE, "");
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE", true), 60131);
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_LOCAL_MACHINE, "software\\orvane", true), 60131);
  EXPECT_ERROR_NUMBER(RemoveKey(HKEY_LOCAL_MACHINE, TempUndoKeyPath(), true), 60131);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, ""), before);
  // Keys beside it are not protected.
  RemoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Other", true);
  EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\Other"));
}

TEST_F(KeyCreateDeleteTest, RemoveKeyWithUndoOffStillParksTheSubtree) {
  PutString(HKEY_CURRENT_USER, "P\\K\\Sub", "v", "1");
  PutString(HKEY_CURRENT_USER, "P\\K", "", "top");
  const std::string saved = TreeText(HKEY_CURRENT_USER, "P\\K");
  RemoveKey(HKEY_CURRENT_USER, "P\\K", true);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "P\\K"));
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, TempUndoKeyPath()), saved);
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(KeyCreateDeleteTest, RecordedRemovalMovesTheSavedSubtreeIntoTheRecord) {
  PutString(HKEY_CURRENT_USER, "P\\K\\Sub", "v", "1");
  const std::string saved = TreeText(HKEY_CURRENT_USER, "P\\K");
  SetUndoEnabledFlag(true);
  RemoveKey(HKEY_CURRENT_USER, "P\\K", true);
  EXPECT_TREE_EQ(Record(0),
                 "[]\n\"\"=\"D1\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"P\\K\"\n[OldValue]\n[OldValue\\Sub]\n"
                 "\"v\"=\"1\"\n");
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, JournalKeyPath() + "\\Undo#0\\OldValue"), saved);
  EXPECT_FALSE(TempUndoThere());
}

}  // namespace
}  // namespace orvane
