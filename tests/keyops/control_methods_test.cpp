// The value-reading, existence and key methods through the control and its
// dispatch interface: each forwards the current location, raises the
// exact numbered error, and writes back what the interface says.
#include <gtest/gtest.h>

#include "keyops/journal_fixture.h"
#include "orvane/dispatch.h"
#include "orvane/quorvel.h"
#include "registry/expect_error.h"
#include "support/read_only_key.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

class ControlMethodsTest : public testing::JournalTest {
 protected:
  ControlMethodsTest() { control_.InitProperties(); }

  Variant Call(const char* name, std::vector<Variant*> args = {}) {
    const MemberInfo* member = FindMember(name);
    EXPECT_NE(member, nullptr) << name;
    return Invoke(control_, *member, InvokeKind::kMethod, args);
  }
  Variant Read(const std::string& global_path, const std::string& name) {
    control_.GlobalKeyPath(global_path);
    control_.ValueName(name);
    control_.GetValue();
    return control_.Value();
  }

  NullContainer container_;
  Quorvel control_{container_};
};

TEST_F(ControlMethodsTest, GetValueSetsValueOnlyWhenTheReadSucceeds) {
  PutValue(HKEY_CURRENT_USER, "Software\\V", "d", REG_DWORD, "\xfe\xff\xff\xff");
  PutString(HKEY_CURRENT_USER, "Software\\V", "s", "text");
  EXPECT_EQ(Read("HKEY_CURRENT_USER\\Software\\V", "d").long_value(), -2);
  EXPECT_EQ(Read("HKEY_CURRENT_USER\\Software\\V", "s").string(), "text");
  EXPECT_EQ(control_.ValueType(), 1);
  control_.ValueName("missing");
  EXPECT_ERROR_NUMBER(Call("GetValue"), 60009);
  EXPECT_EQ(control_.Value().string(), "text");
  control_.SubKeyPath("Software\\Nowhere");
  EXPECT_ERROR_NUMBER(control_.GetValue(), 60002);
  EXPECT_EQ(control_.Value().string(), "text");
}

TEST_F(ControlMethodsTest, VerifyExistenceNarrowsItsModeToAByte) {
  PutString(HKEY_CURRENT_USER, "Software\\V", "s", "text");
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\V");
  control_.ValueName("s");
  Variant mode = Variant::Long(0);
  EXPECT_EQ(Call("VerifyExistence", {&mode}).boolean(), true);
  mode = Variant::Long(2);
  EXPECT_EQ(Call("VerifyExistence", {&mode}).boolean(), false);
  mode = Variant::Long(256);
  EXPECT_ERROR_NUMBER(Call("VerifyExistence", {&mode}), 6);
  control_.SubKeyPath("Software\\Nowhere");
  int32_t key_mode = 1;
  EXPECT_FALSE(control_.VerifyExistence(key_mode));
  int32_t value_mode = 0;
  EXPECT_ERROR_NUMBER(control_.VerifyExistence(value_mode), 60002);
}

TEST_F(ControlMethodsTest, SetKeyAndDeleteKeyAreJournalled) {
  control_.UndoEnabled(true);
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\New\\Deep");
  Call("SetKey");
  EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Software\\New\\Deep"));
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"D0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\New\"\n");
  control_.SubKeyPath("Software\\New");
  Call("DeleteKey");
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\New"));
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"D1\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\New\"\n[OldValue]\n"
                       "[OldValue\\Deep]\n");
  EXPECT_EQ(RecordCount(), 2);
  EXPECT_EQ(control_.SubKeyPath(), "Software\\New");
}

TEST_F(ControlMethodsTest, DeleteKeyOfTheRootItselfIsRefused) {
  PutString(HKEY_CURRENT_USER, "Software\\V", "s", "text");
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  control_.GlobalKeyPath("HKEY_CURRENT_USER");
  EXPECT_ERROR_NUMBER(Call("DeleteKey"), 60007);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
}

// Inside the method's group a failed deletion or undo step still changes
// nothing: its partial work is rolled back, not committed with the group.
TEST_F(ControlMethodsTest, DeleteKeyAndUndoThatFailPartWayChangeNothing) {
  control_.UndoEnabled(true);
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\.ext", "", "file");
  control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes");
  const std::string machine = TreeText(HKEY_LOCAL_MACHINE, "");
  EXPECT_ERROR_NUMBER(Call("DeleteKey"), 60005);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, ""), machine);
  EXPECT_EQ(RecordCount(), -1);

  PutString(HKEY_CURRENT_USER, "Software\\Src\\Sub", "v", "1");
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Src");
  int32_t root = static_cast<int32_t>(0x80000001u);
  std::string destination = "Made\\Dst";
  control_.MoveKey(root, destination);
  PutString(HKEY_CURRENT_USER, "Made\\Locked", "w", "2");
  const std::string user = TreeText(HKEY_CURRENT_USER, "");
  const std::string journal = TreeText(HKEY_LOCAL_MACHINE, "");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Made\\Locked", true), 0);
  int16_t steps = 1;
  EXPECT_ERROR_NUMBER(control_.Undo(steps), 60005);
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Made\\Locked", false), 0);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), user);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, ""), journal);
}

TEST_F(ControlMethodsTest, CopyMoveAndRenameThroughTheDispatchInterface) {
  PutString(HKEY_CURRENT_USER, "Software\\A\\Sub", "v", "1");
  const std::string tree = TreeText(HKEY_CURRENT_USER, "Software\\A");
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\A");
  Variant root = Variant::Long(static_cast<int32_t>(0x80000002u));
  Variant path = Variant::String("SOFTWARE\\Copy");
  Call("CopyKey", {&root, &path});
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Copy"), tree);
  EXPECT_EQ(path.string(), "SOFTWARE\\Copy");

  Variant name = Variant::String("B");
  Call("RenameKey", {&name});
  EXPECT_EQ(name.string(), "Software\\B");
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\B"), tree);
  EXPECT_EQ(control_.SubKeyPath(), "Software\\A");

  control_.SubKeyPath("Software\\B");
  Variant same_root = Variant::Long(static_cast<int32_t>(0x80000001u));
  Variant inside = Variant::String("software\\b\\x");
  EXPECT_ERROR_NUMBER(Call("MoveKey", {&same_root, &inside}), 60130);
  Variant moved = Variant::String("Moved");
  Call("MoveKey", {&same_root, &moved});
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Moved"), tree);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\B"));
}

}  // namespace
}  // namespace orvane
