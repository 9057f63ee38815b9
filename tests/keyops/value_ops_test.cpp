// Deleting, copying, moving and renaming values: the checks made before
// anything changes, the bytes that arrive, the record each operation
// leaves, and a move or rename onto the value itself.
#include <gtest/gtest.h>

#include <string>

#include "keyops/journal_fixture.h"
#include "keyops/value_ops.h"
#include "platform/current_user.h"
#include "registry/expect_error.h"
#include "support/read_only_key.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;
using enum TransferOperation;

const HKEY kUser = HKEY_CURRENT_USER;

class ValueOpsTest : public testing::JournalTest {
 protected:
  ValueOpsTest() {
    PutString(kUser, "Software\\S", "s", "text");
    PutValue(kUser, "Software\\S", "b", REG_BINARY, "");
    PutString(kUser, "Software\\S", "", "default");
    PutString(kUser, "Software\\D", "old", "was");
    SetUndoEnabledFlag(true);
  }
  static std::string Tree(const std::string& path) { return TreeText(kUser, path); }
  static void Transfer(const std::string& name, const std::string& path, const std::string& new_name,
                       TransferOperation operation) {
    TransferValue(kUser, "Software\\S", name, kUser, path, new_name, operation, true);
  }
};

TEST_F(ValueOpsTest, CopyToAMissingKeyCreatesItAndRecordsTheTopmostKey) {
  Transfer("s", "Software\\New\\Deep", "copy", kCopy);
  EXPECT_TREE_EQ(Tree("Software\\New"), "[]\n[Deep]\n\"copy\"=\"text\"\n");
  EXPECT_TREE_EQ(Tree("Software\\S"), "[]\n\"s\"=\"text\"\n\"b\"=3:\n\"\"=\"default\"\n");
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"C4\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\New\"\n");
}

TEST_F(ValueOpsTest, CopyOverAValueParksTheOldOneFirst) {
  Transfer("s", "Software\\D", "old", kCopy);
  EXPECT_TREE_EQ(Tree("Software\\D"), "[]\n\"old\"=\"text\"\n");
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"C6\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\D\"\n"
                       "\"ValueName\"=\"old\"\n[OldValue]\n\"old\"=\"was\"\n");
  EXPECT_FALSE(TempUndoThere());
  Transfer("s", "Software\\D", "fresh", kCopy);
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"C5\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\D\"\n"
                       "\"ValueName\"=\"fresh\"\n");
}

TEST_F(ValueOpsTest, MoveKeepsTypeAndBytesAndRecordsBothPlaces) {
  Transfer("b", "Software\\D", "moved", kMove);
  EXPECT_TREE_EQ(Tree("Software\\D"), "[]\n\"old\"=\"was\"\n\"moved\"=3:\n");
  EXPECT_TREE_EQ(Tree("Software\\S"), "[]\n\"s\"=\"text\"\n\"\"=\"default\"\n");
  const std::string both =
      "\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\S\"\n\"ValueName\"=\"b\"\n"
      "\"NewhKey\"=\"-2147483647\"\n\"NewKeyPath\"=\"Software\\D\"\n\"NewValueName\"=\"moved\"\n";
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"C2\"\n" + both);
  Transfer("s", "Software\\N\\M", "s", kMove);
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"C1\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\S\"\n"
                       "\"ValueName\"=\"s\"\n\"NewhKey\"=\"-2147483647\"\n\"NewKeyPath\"=\"Software\\N\\M\"\n"
                       "\"NewValueName\"=\"s\"\n\"DelKeyPath\"=\"Software\\N\"\n");
}

TEST_F(ValueOpsTest, RenameOverwritesAnExistingNameWithoutParkingIt) {
  PutString(kUser, "Software\\S", "taken", "lost");
  Transfer("", "Software\\S", "taken", kRename);
  EXPECT_TREE_EQ(Tree("Software\\S"), "[]\n\"s\"=\"text\"\n\"b\"=3:\n\"taken\"=\"default\"\n");
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"C0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\S\"\n"
                       "\"ValueName\"=\"\"\n\"NewValueName\"=\"taken\"\n");
}

TEST_F(ValueOpsTest, ChecksComeBeforeAnyChange) {
  PutString(kUser, "Software\\E", "", "");
  const std::string before = Tree("Software");
  EXPECT_ERROR_NUMBER(TransferValue(kUser, "Software\\Nowhere", "s", kUser, "Software\\D", "s", kMove, true), 60002);
  EXPECT_ERROR_NUMBER(Transfer("missing", "Software\\D", "s", kCopy), 60133);
  // With recording a default value holding only the empty string is missing.
  EXPECT_ERROR_NUMBER(TransferValue(kUser, "Software\\E", "", kUser, "Software\\D", "e", kCopy, true), 60133);
  EXPECT_ERROR_NUMBER(CopyOrMoveValue(kUser, "Software\\S", "s", kUser, "Software\\S", "other", kCopy), 60132);
  EXPECT_ERROR_NUMBER(CopyOrMoveValue(kUser, "Software\\S", "s", kUser, "Software\\S", "other", kMove), 60132);
  EXPECT_TREE_EQ(Tree("Software"), before);
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(ValueOpsTest, AFailedCopyKeepsTheSourceAndRecordsNothing) {
  // A leading backslash names no key: the destination cannot be created.
  EXPECT_ERROR_NUMBER(Transfer("s", "\\Software\\D", "s", kMove), 60161);
  EXPECT_TREE_EQ(Tree("Software\\S"), "[]\n\"s\"=\"text\"\n\"b\"=3:\n\"\"=\"default\"\n");
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(ValueOpsTest, MoveOrRenameOntoItselfKeepsTheValue) {
  const std::string before = Tree("Software\\S");
  Transfer("s", "Software\\S", "s", kRename);
  CopyOrMoveValue(kUser, "Software\\S", "s", kUser, "software\\s\\", "s", kMove);
  TransferValue(kUser, "Software\\S", "s", HKEY_USERS, platform::CurrentUserKeyName() + "\\Software\\S", "s", kMove,
                true);
  EXPECT_TREE_EQ(Tree("Software\\S"), before);
  // Another letter case gives the value that spelling, nothing else.
  Transfer("s", "Software\\S", "S", kRename);
  EXPECT_TREE_EQ(Tree("Software\\S"), "[]\n\"b\"=3:\n\"\"=\"default\"\n\"S\"=\"text\"\n");
  EXPECT_EQ(RecordCount(), 4);
}

TEST_F(ValueOpsTest, RenameOntoItselfInAnotherCaseOfALetterBeyondAsciiKeepsTheValue) {
  PutString(kUser, "Software\\S", "NO\xC3\x8BL", "x");  // NOËL
  Transfer("NO\xC3\x8BL", "Software\\S", "no\xC3\xABl", kRename);
  CopyOrMoveValue(kUser, "Software\\S", "no\xC3\xABl", kUser, "software\\s\\", "No\xC3\xABl", kMove);
  EXPECT_TREE_EQ(Tree("Software\\S"), "[]\n\"s\"=\"text\"\n\"b\"=3:\n\"\"=\"default\"\n\"No\xC3\xABl\"=\"x\"\n");
}

TEST_F(ValueOpsTest, DeleteParksTheValueAndRecordsIt) {
  RemoveValue(kUser, "Software\\S", "s", true);
  EXPECT_TREE_EQ(Tree("Software\\S"), "[]\n\"b\"=3:\n\"\"=\"default\"\n");
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"A3\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\S\"\n"
                       "\"ValueName\"=\"s\"\n[OldValue]\n\"s\"=\"text\"\n");
  EXPECT_ERROR_NUMBER(RemoveValue(kUser, "Software\\S", "s", true), 60002);
  EXPECT_ERROR_NUMBER(RemoveValue(kUser, "Software\\Nowhere", "s", true), 60002);
  EXPECT_EQ(RecordCount(), 1);
  // An empty-string default value is deleted, parked and fully recorded.
  PutString(kUser, "Software\\E", "", "");
  RemoveValue(kUser, "Software\\E", "", true);
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"A3\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\E\"\n"
                       "\"ValueName\"=\"\"\n[OldValue]\n\"\"=\"\"\n");
}

TEST_F(ValueOpsTest, WithoutRightsToTheJournalOnlyUnrecordedChangesHappen) {
  PutKey(HKEY_LOCAL_MACHINE, kProductKeyPath);
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_LOCAL_MACHINE, kProductKeyPath, true), 0);
  SetUndoEnabledFlag(false);
  Transfer("s", "Software\\D", "old", kCopy);
  RemoveValue(kUser, "Software\\S", "s", true);
  EXPECT_TREE_EQ(Tree("Software\\D"), "[]\n\"old\"=\"text\"\n");
  // Recording needs the journal: the change is refused before it is made.
  SetUndoEnabledFlag(true);
  EXPECT_ERROR_NUMBER(RemoveValue(kUser, "Software\\D", "old", true), 60005);
  EXPECT_TREE_EQ(Tree("Software\\D"), "[]\n\"old\"=\"text\"\n");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_LOCAL_MACHINE, kProductKeyPath, false), 0);
}

}  // namespace
}  // namespace orvane
