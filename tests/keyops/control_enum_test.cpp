// Listing, counting, flushing and bulk writing through the control and its
// dispatch interface: each acts on the current location, checks its own
// arguments with the exact error, and what it records is undone by Undo.
#include <gtest/gtest.h>

#include "keyops/journal_fixture.h"
#include "orvane/dispatch.h"
#include "orvane/quorvel.h"
#include "registry/expect_error.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

class ControlEnumTest : public testing::JournalTest {
 protected:
  ControlEnumTest() {
    control_.UndoEnabled(true);
    control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\K");
  }

  Variant Call(const char* name, std::vector<Variant*> args = {}) {
    const MemberInfo* member = FindMember(name);
    EXPECT_NE(member, nullptr) << name;
    return Invoke(control_, *member, InvokeKind::kMethod, args);
  }
  void Undo() {
    int16_t steps = 1;
    control_.Undo(steps);
  }

  NullContainer container_;
  Quorvel control_{container_};
};

Variant Row(const char* name, Variant data, int32_t type) {
  SafeArray table(VarType::kVariant, {ArrayBound{0, 0}, ArrayBound{0, 2}});
  table.set(0, 0, Variant::String(name));
  table.set(0, 1, std::move(data));
  table.set(0, 2, Variant::Long(type));
  return Variant::Array(std::move(table));
}

TEST_F(ControlEnumTest, ListingMethodsReadTheCurrentKey) {
  PutString(HKEY_CURRENT_USER, "Software\\K", "v", "x");
  PutKey(HKEY_CURRENT_USER, "Software\\K\\Child");
  EXPECT_EQ(DebugText(Call("GetAllKeys")), "Array<Variant>(0 To 0){String(\"Child\")}");
  EXPECT_EQ(Call("GetAllValues").array().at(0, 1).string(), "x");
  control_.SubKeyPath("Software\\K\\Child");
  EXPECT_TRUE(Call("GetAllValues").is_empty());
  control_.SubKeyPath("Software\\Nowhere");
  EXPECT_ERROR_NUMBER(Call("GetAllKeys"), 60002);
}

TEST_F(ControlEnumTest, MultiStringsWithoutTerminatorsSurviveAListingWrittenBack) {
  PutValue(HKEY_CURRENT_USER, "Software\\K", "entry", REG_MULTI_SZ, std::string("a\0b\0", 4));
  PutValue(HKEY_CURRENT_USER, "Software\\K", "none", REG_MULTI_SZ, std::string("a\0b", 3));
  Variant table = Call("GetAllValues");
  control_.SubKeyPath("Software\\Copy");
  Call("SetAllValues", {&table});
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\Copy"), "[]\n\"entry\"=7:6100620000\n\"none\"=7:6100620000\n");
}

TEST_F(ControlEnumTest, CountPicksValuesOrSubKeysAndNarrowsItsMode) {
  PutString(HKEY_CURRENT_USER, "Software\\K", "v", "x");
  PutString(HKEY_CURRENT_USER, "Software\\K\\A\\B", "w", "x");
  Variant values = Variant::Long(0), sub_keys = Variant::Long(1), other = Variant::Long(7);
  Variant include = Variant::Long(1), huge = Variant::Long(256);
  EXPECT_EQ(Call("Count", {&values}).long_value(), 1);
  EXPECT_EQ(Call("Count", {&sub_keys}).long_value(), 1);
  EXPECT_EQ(Call("Count", {&values, &include}).long_value(), 2);
  EXPECT_EQ(Call("Count", {&sub_keys, &include}).long_value(), 2);
  EXPECT_EQ(Call("Count", {&other, &include}).long_value(), 0);
  EXPECT_ERROR_NUMBER(Call("Count", {&values, &huge}), 6);
  control_.SubKeyPath("Software\\Nowhere");
  EXPECT_ERROR_NUMBER(Call("Count", {&other}), 60002);  // the walk runs whatever the type
}

TEST_F(ControlEnumTest, BulkMethodsNeedAnArrayBeforeAnythingElse) {
  Variant text = Variant::String("A");
  Variant huge = Variant::Long(256);
  EXPECT_ERROR_NUMBER(Call("SetAllValues", {&text, &huge}), 60007);
  EXPECT_ERROR_NUMBER(Call("SetAllKeys", {&text}), 60007);
  Variant table = Row("v", Variant::String("x"), 1);
  EXPECT_ERROR_NUMBER(Call("SetAllValues", {&table, &huge}), 6);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\K"));
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(ControlEnumTest, SetAllKeysWritesFullPathsBackThroughTheInterface) {
  SafeArray list(VarType::kVariant, {ArrayBound{1, 1}});
  list.set(1, Variant::String("\\New\\"));
  Variant keys = Variant::Array(std::move(list));
  Call("SetAllKeys", {&keys});
  EXPECT_EQ(keys.array().at(1).string(), "Software\\K\\New");
  EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Software\\K\\New"));
  EXPECT_EQ(control_.LastAction(), 0xE0);
  Undo();
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\K"));
}

// Undo of a bulk write into an existing key: overwritten values get their
// old data and type back, new ones go, others stay as they are.
TEST_F(ControlEnumTest, UndoOfSetAllValuesRestoresTheKey) {
  PutValue(HKEY_CURRENT_USER, "Software\\K", "a", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
  PutString(HKEY_CURRENT_USER, "Software\\K", "other", "o");
  SafeArray rows(VarType::kVariant, {ArrayBound{3, 4}, ArrayBound{0, 2}});
  rows.set(3, 0, Variant::String("a"));
  rows.set(3, 1, Variant::String("new"));
  rows.set(3, 2, Variant::Long(1));
  rows.set(4, 0, Variant::String("b"));
  rows.set(4, 1, Variant::String("FF"));
  rows.set(4, 2, Variant::Long(3));
  Variant table = Variant::Array(std::move(rows));
  Variant open_only = Variant::Long(1);
  Call("SetAllValues", {&table, &open_only});
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\K"), "[]\n\"a\"=\"new\"\n\"other\"=\"o\"\n\"b\"=3:ff\n");
  EXPECT_EQ(control_.LastAction(), 0xB1);
  Undo();  // a restored value is written anew, so it comes last
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\K"), "[]\n\"other\"=\"o\"\n\"a\"=4:01000000\n");
}

TEST_F(ControlEnumTest, UndoOfSetAllValuesIntoANewKeyDeletesTheCreatedKeys) {
  control_.SubKeyPath("Software\\New\\Deeper");
  Variant table = Row("v", Variant::String("x"), 1);
  Call("SetAllValues", {&table});
  EXPECT_EQ(control_.LastAction(), 0xB0);
  Undo();
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\New"));
  EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Software"));
}

// Keys that existed leave an empty entry at most; undoing it deletes
// nothing, not even below the root.
TEST_F(ControlEnumTest, UndoOfSetAllKeysThatCreatedNothingDeletesNothing) {
  control_.GlobalKeyPath("HKEY_CURRENT_USER");
  PutString(HKEY_CURRENT_USER, "Software\\K", "v", "x");
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  SafeArray list(VarType::kVariant, {ArrayBound{0, 1}});
  list.set(0, Variant::String("Software"));
  list.set(1, Variant::String(""));
  Variant keys = Variant::Array(std::move(list));
  Call("SetAllKeys", {&keys});
  EXPECT_EQ(RecordCount(), 1);
  Undo();
  EXPECT_EQ(RecordCount(), 0);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
}

TEST_F(ControlEnumTest, RecordedSetAllValuesIntoAKeyHoldingTheJournalIsRefused) {
  control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\SOFTWARE");
  Variant table = Row("v", Variant::String("x"), 1);
  EXPECT_ERROR_NUMBER(Call("SetAllValues", {&table}), 60131);
  EXPECT_EQ(testing::StringAt(HKEY_LOCAL_MACHINE, "SOFTWARE", "v"), "<missing>");
  EXPECT_FALSE(TempUndoThere());
}

}  // namespace
}  // namespace orvane
