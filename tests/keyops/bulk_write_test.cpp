// WriteAllValues and WriteAllKeys: tables from any bounds, every row
// checked before any is written, the records they hand to the journal,
// and the full paths written back into a key list.
#include <gtest/gtest.h>

#include "undo/undo_enabled.h"
#include "keyops/bulk_write.h"
#include "keyops/enumeration.h"
#include "keyops/key_create_delete.h"
#include "keyops/journal_fixture.h"
#include "registry/expect_error.h"
#include "registry/value_write.h"
#include "support/environment.h"
#include "support/read_only_key.h"
#include "support/wine.h"
#include "undo/journal.h"
#include "undo/undo_actions.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

const HKEY kUser = HKEY_CURRENT_USER;

// A value table with rows from `lower`: {name, data, type} per row.
Variant Table(int32_t lower, const std::vector<std::tuple<std::string, Variant, int32_t>>& rows) {
  SafeArray table(VarType::kVariant, {ArrayBound{lower, lower + static_cast<int32_t>(rows.size()) - 1},
                                      ArrayBound{0, 2}});
  for (int32_t i = 0; i < static_cast<int32_t>(rows.size()); ++i) {
    const auto& [name, data, type] = rows[static_cast<size_t>(i)];
    table.set(lower + i, 0, Variant::String(name));
    table.set(lower + i, 1, data);
    table.set(lower + i, 2, Variant::Long(type));
  }
  return Variant::Array(std::move(table));
}

Variant KeyList(const std::vector<std::string>& paths) {
  SafeArray list(VarType::kVariant, {ArrayBound{0, static_cast<int32_t>(paths.size()) - 1}});
  for (int32_t i = 0; i < static_cast<int32_t>(paths.size()); ++i) {
    list.set(i, Variant::String(paths[static_cast<size_t>(i)]));
  }
  return Variant::Array(std::move(list));
}

Variant Str(const char* text) { return Variant::String(text); }

// A name of `units` letters `é`: one UTF-16 unit, two UTF-8 bytes each.
std::string LongName(size_t units) {
  std::string name;
  for (size_t i = 0; i < units; ++i) name += "\xC3\xA9";
  return name;
}

class BulkWriteTest : public testing::JournalTest {
 protected:
  BulkWriteTest() { SetUndoEnabledFlag(true); }
};

// What GetAllValues gives for one key, written into another, gives the
// names, types and data back in the forms the listing delivered them.
TEST_F(BulkWriteTest, ValueTableOfOneKeyReproducesItInAnother) {
  testing::SetEnvironment("ORVANE_BULK_DIR", "/opt");
  PutString(kUser, "Software\\Src", "", "default");
  PutString(kUser, "Software\\Src", "s", "  spaced  ");
  PutValue(kUser, "Software\\Src", "x", REG_EXPAND_SZ, std::string("%ORVANE_BULK_DIR%/bin\0", 22));
  PutValue(kUser, "Software\\Src", "b", REG_BINARY, std::string("\x0a\xff\x00", 3));
  PutValue(kUser, "Software\\Src", "d", REG_DWORD, "\xff\xff\xff\xff");
  PutValue(kUser, "Software\\Src", "m", REG_MULTI_SZ, std::string("x\0y\0\0", 5));
  PutValue(kUser, "Software\\Src", "five", 5, "\x01\x02");
  const Variant table = ReadAllValues(kUser, "Software\\Src", true);
  WriteAllValues(kUser, "Software\\Dst", table, 0, true);
  EXPECT_EQ(ReadAllValues(kUser, "Software\\Dst", true), table);
  EXPECT_TREE_EQ(TreeText(kUser, "Software\\Dst"),
                 "[]\n\"\"=\"default\"\n\"s\"=\"spaced\"\n\"x\"=2:2f6f70742f62696e00\n\"b\"=3:0aff00\n"
                 "\"d\"=4:ffffffff\n\"m\"=7:7800790000\n\"five\"=5:0102\n");
}

TEST_F(BulkWriteTest, RowsRunFromAnyLowerBound) {
  WriteAllValues(kUser, "Software\\Dst", Table(5, {{"a", Str("1"), 1}, {"b", Str("2"), 1}, {"c", Str("3"), 1}}), 0,
                 false);
  EXPECT_TREE_EQ(TreeText(kUser, "Software\\Dst"), "[]\n\"a\"=\"1\"\n\"b\"=\"2\"\n\"c\"=\"3\"\n");
}

// Every row is checked first: a bad last row leaves no trace at all.
TEST_F(BulkWriteTest, BadRowAnywhereWritesNothing) {
  const auto first = std::make_tuple(std::string("ok"), Str("fine"), 1);
  const struct {
    std::tuple<std::string, Variant, int32_t> row;
    int32_t number;
  } cases[] = {
      {{"bin", Str("ABC"), 3}, 60007},          // odd length
      {{"five", Str("zz"), 5}, 60007},          // types above 4 but 7 are hexadecimal
      {{"eight", Str("0g"), 8}, 60007},         //
      {{"", Str("ABC"), 3}, 60007},             // also for the default value
      {{"none", Str("xyz"), 0}, 60007},         // the writer reads type 0 as bytes too
      {{"n", Str("twelve"), 4}, 13},            // no number
      {{"n", Variant::Double(3e9), 4}, 6},      // no 32-bit number
      {{"s", Variant::Null(), 1}, 94},          // no text
      {{std::string("keep\0junk", 9), Str("x"), 1}, 60007},  // a NUL would cut the name
      {{LongName(16384), Str("x"), 1}, 60007},  // over 16,383 UTF-16 units
      {{"big", Variant::String(std::string(kMaxValueDataSize, 'x')), 1}, 60007},  // with its NUL, one byte too many
  };
  for (const auto& c : cases) {
    EXPECT_ERROR_NUMBER(WriteAllValues(kUser, "Software\\Dst", Table(0, {first, c.row}), 0, true), c.number);
    EXPECT_FALSE(KeyThere(kUser, "Software\\Dst")) << std::get<0>(c.row);
  }
  EXPECT_EQ(RecordCount(), -1);
}

// Types 1, 2 and 7 take any text, a default value any text whatever its
// type, and a mode that writes nothing converts nothing.
TEST_F(BulkWriteTest, RowsTheWriterAcceptsPass) {
  WriteAllValues(kUser, "Software\\Dst",
                 Table(0, {{"m", Str("a|b"), 7}, {"e", Str("%x"), 2}, {"", Str("text"), 4}}), 0, false);
  EXPECT_TREE_EQ(TreeText(kUser, "Software\\Dst"), "[]\n\"m\"=7:6100620000\n\"e\"=2:257800\n\"\"=\"text\"\n");
  PutKey(kUser, "Software\\Quiet");
  WriteAllValues(kUser, "Software\\Quiet", Table(0, {{"n", Str("twelve"), 4}}), 2, true);
  EXPECT_TREE_EQ(TreeText(kUser, "Software\\Quiet"), "[]\n");
}

// A row the registry would refuse, after rows that replace existing data,
// changes nothing, records nothing, and Undo then takes back the record
// before it.
TEST_F(BulkWriteTest, RowBreakingTheNameLimitAfterReplacingRowsChangesNothing) {
  PutString(kUser, "Software\\K", "a", "old");
  PutString(kUser, "Software\\K", "b", "old");
  WriteKey(kUser, "Software\\Earlier", true);
  const std::string before = TreeText(kUser, "Software\\K");
  const Variant table = Table(0, {{"a", Str("new"), 1}, {"b", Str("new"), 1}, {LongName(16384), Str("x"), 1}});
  EXPECT_ERROR_NUMBER(WriteAllValues(kUser, "Software\\K", table, 0, true), 60007);
  EXPECT_TREE_EQ(TreeText(kUser, "Software\\K"), before);
  EXPECT_EQ(RecordCount(), 1);
  UndoActions(1);
  EXPECT_FALSE(KeyThere(kUser, "Software\\Earlier"));
  EXPECT_TREE_EQ(TreeText(kUser, "Software\\K"), before);
}

// A mode that writes nothing records nothing: Undo never deletes a key that
// someone else creates afterwards.
TEST_F(BulkWriteTest, AModeThatWritesNothingRecordsNothing) {
  WriteKey(kUser, "Software\\Earlier", true);
  WriteAllValues(kUser, "Software\\Later", Table(0, {{"a", Str("1"), 1}}), 2, true);
  EXPECT_FALSE(KeyThere(kUser, "Software\\Later"));
  PutString(kUser, "Software\\Later", "theirs", "1");
  WriteAllValues(kUser, "Software\\Later", Table(0, {{"a", Str("1"), 1}}), 2, true);
  EXPECT_EQ(RecordCount(), 1);
  UndoActions(1);
  EXPECT_FALSE(KeyThere(kUser, "Software\\Earlier"));
  EXPECT_EQ(testing::StringAt(kUser, "Software\\Later", "theirs"), "1");
}

TEST_F(BulkWriteTest, TableShapeErrorsAreSubscriptErrors) {
  SafeArray flat(VarType::kVariant, {ArrayBound{0, 2}});
  EXPECT_ERROR_NUMBER(WriteAllValues(kUser, "Software\\Dst", Variant::Array(flat), 0, true), 9);
  SafeArray narrow(VarType::kVariant, {ArrayBound{0, 0}, ArrayBound{0, 1}});
  EXPECT_ERROR_NUMBER(WriteAllValues(kUser, "Software\\Dst", Variant::Array(narrow), 0, true), 9);
  SafeArray no_rows(VarType::kVariant, {ArrayBound{0, -1}, ArrayBound{0, 2}});
  EXPECT_ERROR_NUMBER(WriteAllValues(kUser, "Software\\Dst", Variant::Array(no_rows), 0, true), 9);
  EXPECT_FALSE(KeyThere(kUser, "Software\\Dst"));
}

TEST_F(BulkWriteTest, OpenOnlyNeedsTheKeyCreatingRecordsTheTopmostKeyCreated) {
  const Variant table = Table(0, {{"a", Str("1"), 1}});
  EXPECT_ERROR_NUMBER(WriteAllValues(kUser, "Software\\New\\Deeper", table, 1, true), 60002);
  EXPECT_FALSE(KeyThere(kUser, "Software\\New"));
  WriteAllValues(kUser, "Software\\New\\Deeper", table, 0, true);
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"B0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\New\"\n");
  EXPECT_EQ(RecordCount(), 1);
}

// An existing key: one name per row, and the whole key as it was.
TEST_F(BulkWriteTest, ExistingKeyRecordsEveryNameAndTheKeyAsItWas) {
  PutString(kUser, "Software\\K", "a", "old");
  PutString(kUser, "Software\\K", "keep", "k");
  PutString(kUser, "Software\\K\\Sub", "s", "1");
  WriteAllValues(kUser, "Software\\K", Table(0, {{"a", Str("new"), 1}, {"b", Variant::Long(7), 4}}), 0, true);
  EXPECT_TREE_EQ(Record(0),
                 "[]\n\"\"=\"B1\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\K\"\n\"ValueName0\"=\"a\"\n"
                 "\"ValueName1\"=\"b\"\n[OldValue]\n\"a\"=\"old\"\n\"keep\"=\"k\"\n[OldValue\\Sub]\n\"s\"=\"1\"\n");
  EXPECT_FALSE(TempUndoThere());
  EXPECT_TREE_EQ(TreeText(kUser, "Software\\K"),
                 "[]\n\"a\"=\"new\"\n\"keep\"=\"k\"\n\"b\"=4:07000000\n[Sub]\n\"s\"=\"1\"\n");
}

// The saved copy of a key that holds the temporary undo key would land
// inside itself: such a recorded write is refused before anything changes.
TEST_F(BulkWriteTest, RecordedWriteIntoAKeyHoldingTheJournalIsRefused) {
  const Variant table = Table(0, {{"v", Str("1"), 1}});
  for (const auto& [root, path] : {std::pair{HKEY_LOCAL_MACHINE, std::string()},
                                   std::pair{HKEY_LOCAL_MACHINE, std::string("software")},
                                   std::pair{HKEY_LOCAL_MACHINE, std::string(kProductKeyPath)}}) {
    PutKey(root, path);
    const std::string before = TreeText(root, path);
    EXPECT_ERROR_NUMBER(WriteAllValues(root, path, table, 0, true), 60131);
    EXPECT_TREE_EQ(TreeText(root, path), before) << path;
  }
  WriteAllValues(HKEY_LOCAL_MACHINE, "SOFTWARE", table, 0, false);
  EXPECT_EQ(testing::StringAt(HKEY_LOCAL_MACHINE, "SOFTWARE", "v"), "1");
}

TEST_F(BulkWriteTest, KeyListBecomesFullPathsAndRecordsDistinctCreatedKeys) {
  PutKey(kUser, "Software\\K");
  Variant list = KeyList({"A\\B", "\\A\\C\\"});
  WriteAllKeys(kUser, "Software\\K", list, true);
  EXPECT_EQ(DebugText(list), "Array<Variant>(0 To 1){String(\"Software\\\\K\\\\A\\\\B\"), "
                             "String(\"Software\\\\K\\\\A\\\\C\")}");
  EXPECT_TRUE(KeyThere(kUser, "Software\\K\\A\\B"));
  EXPECT_TRUE(KeyThere(kUser, "Software\\K\\A\\C"));
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"E0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath0\"=\"Software\\K\\A\"\n");
}

// Entries compare as exact text; keys that existed add no entry, and a
// call that created nothing keeps one empty entry.
TEST_F(BulkWriteTest, CreatedEntriesCompareExactlyAndExistingKeysAddNone) {
  PutKey(kUser, "Software\\K\\Old");
  Variant list = KeyList({"X\\1", "Old", "X\\2", "x\\3"});
  WriteAllKeys(kUser, "Software\\K", list, true);
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"E0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath0\"=\"Software\\K\\X\"\n"
                       "\"KeyPath1\"=\"Software\\K\\x\"\n");
  Variant again = KeyList({"Old", ""});
  WriteAllKeys(kUser, "Software\\K", again, true);
  EXPECT_EQ(DebugText(again), "Array<Variant>(0 To 1){String(\"Software\\\\K\\\\Old\"), String(\"Software\\\\K\")}");
  EXPECT_TREE_EQ(Record(0), "[]\n\"\"=\"E0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath0\"=\"\"\n");
}

TEST_F(BulkWriteTest, KeyListErrors) {
  SafeArray square(VarType::kVariant, {ArrayBound{0, 0}, ArrayBound{0, 0}});
  Variant two_d = Variant::Array(square);
  EXPECT_ERROR_NUMBER(WriteAllKeys(kUser, "Software", two_d, true), 9);
  Variant none = Variant::Array(SafeArray(VarType::kVariant, {ArrayBound{0, -1}}));
  EXPECT_ERROR_NUMBER(WriteAllKeys(kUser, "Software", none, true), 9);
  // A refused key ends the call; the keys before it stay, nothing is
  // recorded. (Windows documents that creating a key needs the right to
  // create sub-keys of its parent; Wine creates it below a read-only key.)
  if (testing::RunningUnderWine()) return;
  PutKey(kUser, "Software\\Locked");
  ASSERT_EQ(testing::SetKeyReadOnly(kUser, "Software\\Locked", true), 0);
  Variant list = KeyList({"Fine", "Locked\\Child", "Later"});
  EXPECT_ERROR_NUMBER(WriteAllKeys(kUser, "Software", list, true), 60005);
  EXPECT_TRUE(KeyThere(kUser, "Software\\Fine"));
  EXPECT_FALSE(KeyThere(kUser, "Software\\Later"));
  EXPECT_EQ(RecordCount(), -1);
}

}  // namespace
}  // namespace orvane
