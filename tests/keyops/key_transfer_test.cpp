// Key copy, move and rename: the method checks, TransferKey, the records
// they leave, and the safety rules of a failed or self-including transfer.
#include <gtest/gtest.h>

#include "keyops/journal_fixture.h"
#include "keyops/key_transfer.h"
#include "platform/current_user.h"
#include "registry/expect_error.h"
#include "support/read_only_key.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;
constexpr auto kCopy = TransferOperation::kCopy;
constexpr auto kMove = TransferOperation::kMove;

class KeyTransferTest : public testing::JournalTest {
 protected:
  void BuildSource() {
    PutString(HKEY_CURRENT_USER, "Software\\A", "", "default");
    PutValue(HKEY_CURRENT_USER, "Software\\A", "zero", REG_BINARY, "");
    PutValue(HKEY_CURRENT_USER, "Software\\A\\L1\\L2", "dw", REG_DWORD, "\x01\x02\x03\x04");
    PutValue(HKEY_CURRENT_USER, "Software\\A\\L1", "odd", 9, "\x7f");
    source_ = TreeText(HKEY_CURRENT_USER, "Software\\A");
  }
  std::string source_;
};

TEST_F(KeyTransferTest, CopyToAnotherRootCreatesParentsAndRecordsTheTopmost) {
  BuildSource();
  SetUndoEnabledFlag(true);
  CopyOrMoveKey(HKEY_CURRENT_USER, "Software\\A", HKEY_LOCAL_MACHINE, "SOFTWARE\\X\\Y\\A", kCopy);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, "SOFTWARE\\X\\Y\\A"), source_);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\A"), source_);
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"F2\"\n\"hKey\"=\"-2147483646\"\n\"KeyPath\"=\"SOFTWARE\\X\"\n");
}

TEST_F(KeyTransferTest, MoveBetweenRootsUnderTheSamePathText) {
  BuildSource();
  SetUndoEnabledFlag(true);
  CopyOrMoveKey(HKEY_CURRENT_USER, "Software\\A", HKEY_LOCAL_MACHINE, "Software\\A", kMove);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, "Software\\A"), source_);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\A"));
  EXPECT_TREE_EQ(Record(0),
                 "[]\n\"\"=\"F1\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\A\"\n\"NewhKey\"=\"-2147483646\"\n"
                 "\"NewKeyPath\"=\"Software\\A\"\n\"DelKeyPath\"=\"Software\\A\"\n");
}

TEST_F(KeyTransferTest, MoveRecordsTheTopmostCreatedKeyAsDelKeyPath) {
  BuildSource();
  SetUndoEnabledFlag(true);
  CopyOrMoveKey(HKEY_CURRENT_USER, "Software\\A", HKEY_CURRENT_USER, "New\\Deep\\A", kMove);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "New\\Deep\\A"), source_);
  EXPECT_EQ(testing::StringAt(HKEY_LOCAL_MACHINE, JournalKeyPath() + "\\Undo#0", "DelKeyPath"), "New");
}

TEST_F(KeyTransferTest, MethodChecksRefuseBeforeAnythingChanges) {
  BuildSource();
  PutKey(HKEY_CURRENT_USER, "Software\\Taken");
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  SetUndoEnabledFlag(true);
  const HKEY cu = HKEY_CURRENT_USER;
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\A", cu, "Software\\A", kCopy), 60132);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\A", cu, "Software\\A", kMove), 60132);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\A", cu, "software\\a", kMove), 60130);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\A", cu, "Software\\AB", kCopy), 60131);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\A", cu, "Software\\A\\In", kMove), 60130);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "", cu, "Anywhere", kCopy), 60131);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\Gone", cu, "Software\\New", kCopy), 60002);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\A", cu, "Software\\Taken", kMove), 60134);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\A", cu, "software\\TAKEN", kCopy), 60134);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(KeyTransferTest, DestinationInsideTheSourceInAnotherCaseBeyondAsciiIsRefused) {
  PutString(HKEY_CURRENT_USER, "Software\\CAF\xC3\x89", "v", "1");  // CAFÉ
  const std::string before = TreeText(HKEY_CURRENT_USER, "Software");
  const HKEY cu = HKEY_CURRENT_USER;
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\CAF\xC3\x89", cu, "software\\caf\xC3\xA9\\In", kMove), 60130);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(cu, "Software\\CAF\xC3\x89", cu, "software\\caf\xC3\xA9\\In", kCopy), 60131);
  EXPECT_ERROR_NUMBER(TransferKey(cu, "Software\\CAF\xC3\x89", cu, "Software\\caf\xC3\xA9\\In", kCopy, false),
                      60131);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software"), before);
}

TEST_F(KeyTransferTest, RenameKeepsTheSubtreeAndWritesTheNewPathBack) {
  BuildSource();
  SetUndoEnabledFlag(true);
  std::string name = "B";
  RenameKeyTo(HKEY_CURRENT_USER, "Software\\A", name);
  EXPECT_EQ(name, "Software\\B");
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\B"), source_);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\A"));
  EXPECT_TREE_EQ(Record(0),
                 "[]\n\"\"=\"F0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\A\"\n\"NewhKey\"=\"-2147483647\"\n"
                 "\"NewKeyPath\"=\"Software\\B\"\n");
  PutKey(HKEY_CURRENT_USER, "Top");
  name = "Top2";
  RenameKeyTo(HKEY_CURRENT_USER, "Top", name);
  EXPECT_EQ(name, "Top2");
  EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Top2"));
}

TEST_F(KeyTransferTest, RenameRefusals) {
  BuildSource();
  PutKey(HKEY_CURRENT_USER, "Software\\Sibling");
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  std::string name = "x\\y";
  EXPECT_ERROR_NUMBER(RenameKeyTo(HKEY_CURRENT_USER, "Software\\A", name), 60007);
  EXPECT_EQ(name, "x\\y");
  name = "sibling";
  EXPECT_ERROR_NUMBER(RenameKeyTo(HKEY_CURRENT_USER, "Software\\A", name), 60134);
  name = "a";
  EXPECT_ERROR_NUMBER(RenameKeyTo(HKEY_CURRENT_USER, "Software\\A", name), 60134);
  name = "";
  EXPECT_ERROR_NUMBER(RenameKeyTo(HKEY_CURRENT_USER, "Software\\A", name), 60134);
  EXPECT_EQ(name, "Software");
  name = "NewRoot";
  EXPECT_ERROR_NUMBER(RenameKeyTo(HKEY_CURRENT_USER, "", name), 60007);
  EXPECT_EQ(name, "NewRoot");
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
}

TEST_F(KeyTransferTest, MovingARootIsRefusedAndKeepsItsContents) {
  BuildSource();
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_CURRENT_USER, "", HKEY_LOCAL_MACHINE, "Saved", kMove), 60007);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
  EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, "Saved"));
}

TEST_F(KeyTransferTest, CopyOfAWholeRootToAnotherRoot) {
  PutString(HKEY_CURRENT_CONFIG, "Display\\Settings", "v", "1");
  const std::string before = TreeText(HKEY_CURRENT_CONFIG, "");
  CopyOrMoveKey(HKEY_CURRENT_CONFIG, "", HKEY_CURRENT_USER, "Config", kCopy);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Config"), before);
}

TEST_F(KeyTransferTest, DestinationInsideTheSourceThroughARootViewIsRefused) {
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Sub", "v", "1");
  const std::string before = TreeText(HKEY_LOCAL_MACHINE, "");
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Sub", HKEY_CLASSES_ROOT, "Sub\\In", kCopy),
                      60131);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE", HKEY_CLASSES_ROOT, "X", kMove), 60130);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_LOCAL_MACHINE, "", HKEY_CURRENT_CONFIG, "X", kCopy), 60131);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_USERS, "", HKEY_CURRENT_USER, "X", kCopy), 60131);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, ""), before);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "X"));
  // Beside the source through the view is fine.
  CopyOrMoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Sub", HKEY_CLASSES_ROOT, "Sub2", kCopy);
  EXPECT_EQ(testing::StringAt(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\Sub2", "v"), "1");
}

TEST_F(KeyTransferTest, MoveOfATreeHoldingAReadOnlyKeyChangesNothing) {
  BuildSource();
  PutString(HKEY_CURRENT_USER, "Software\\A\\Z\\Locked", "v", "1");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Software\\A\\Z\\Locked", true), 0);
  const std::string before = TreeText(HKEY_CURRENT_USER, "Software\\A");
  SetUndoEnabledFlag(true);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_CURRENT_USER, "Software\\A", HKEY_LOCAL_MACHINE, "Moved", kMove), 60005);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\A"), before);
  EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, "Moved"));  // no partial copy either
  EXPECT_EQ(RecordCount(), -1);
  std::string name = "Renamed";
  EXPECT_ERROR_NUMBER(RenameKeyTo(HKEY_CURRENT_USER, "Software\\A", name), 60005);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\A"), before);
}

TEST_F(KeyTransferTest, AFailedCopyLeavesNoPartialCopy) {
  BuildSource();
  PutString(HKEY_CURRENT_USER, "Software\\A\\Z\\Locked", "v", "1");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Software\\A\\Z\\Locked", true), 0);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_CURRENT_USER, "Software\\A", HKEY_LOCAL_MACHINE, "Copied\\Here", kCopy),
                      60005);
  EXPECT_FALSE(KeyThere(HKEY_LOCAL_MACHINE, "Copied"));
}

TEST_F(KeyTransferTest, KeysBehindRootViewsCannotBeMovedAndKeepEveryByte) {
  PutString(HKEY_CLASSES_ROOT, ".txt", "", "txtfile");
  PutString(HKEY_CURRENT_USER, "Software\\Mine", "v", "1");
  PutString(HKEY_CURRENT_CONFIG, "Display", "d", "2");
  const std::string machine = TreeText(HKEY_LOCAL_MACHINE, "");
  const std::string users = TreeText(HKEY_USERS, "");
  SetUndoEnabledFlag(true);
  std::string name = "Klasses";
  EXPECT_ERROR_NUMBER(RenameKeyTo(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes", name), 60005);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_LOCAL_MACHINE, "SOFTWARE", HKEY_USERS, "Soft", kMove), 60005);
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet", HKEY_USERS, "Set", kMove),
                      60005);
  name = "Someone";
  EXPECT_ERROR_NUMBER(RenameKeyTo(HKEY_USERS, platform::CurrentUserKeyName(), name), 60005);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, ""), machine);
  EXPECT_TREE_EQ(TreeText(HKEY_USERS, ""), users);
  EXPECT_EQ(testing::StringAt(HKEY_CLASSES_ROOT, ".txt", ""), "txtfile");
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Software\\Mine", "v"), "1");
  EXPECT_EQ(RecordCount(), -1);
  // A key inside a view's key moves as any other.
  CopyOrMoveKey(HKEY_CLASSES_ROOT, ".txt", HKEY_CLASSES_ROOT, ".text", kMove);
  EXPECT_EQ(testing::StringAt(HKEY_CLASSES_ROOT, ".text", ""), "txtfile");
}

TEST_F(KeyTransferTest, DestinationTheStoreRefusesIsRaisedAndKeepsTheSource) {
  BuildSource();
  // A destination path as the caller passes it: a leading backslash is
  // refused by the registry (status 161).
  EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_CURRENT_USER, "Software\\A", HKEY_LOCAL_MACHINE, "\\Lead", kMove), 60161);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\A"), source_);
}

}  // namespace
}  // namespace orvane
