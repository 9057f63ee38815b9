// Value names as long as the store holds (16,383 characters): every
// routine that enumerates a key reads them whole, copies them exactly and
// deletes keys holding them, and never makes a row of a failed call.
#include <gtest/gtest.h>

#include "undo/undo_enabled.h"
#include "keyops/bulk_write.h"
#include "keyops/counting.h"
#include "keyops/enumeration.h"
#include "keyops/key_create_delete.h"
#include "keyops/key_transfer.h"
#include "keyops/registry_text.h"
#include "support/temp_registry.h"
#include "support/wine.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

const std::string kKey = "Software\\Long";

class LongNamesTest : public ::testing::Test {
 protected:
  LongNamesTest() {
    SetUndoEnabledFlag(false);
    PutString(HKEY_CURRENT_USER, kKey, "short", "first");
    PutString(HKEY_CURRENT_USER, kKey, medium_, "second");
    PutValue(HKEY_CURRENT_USER, kKey + "\\Sub", longest_, REG_BINARY, std::string(70000, '\x5a'));
    tree_ = TreeText(HKEY_CURRENT_USER, kKey);
  }
  ~LongNamesTest() override { SetUndoEnabledFlag(false); }

  TempRegistry registry_;
  const std::string medium_ = std::string(3000, 'm');
  const std::string longest_ = std::string(16383, 'L');
  std::string tree_;
};

TEST_F(LongNamesTest, GetAllValuesReadsEveryNameWholeAndRoundTrips) {
  const Variant table = ReadAllValues(HKEY_CURRENT_USER, kKey, true);
  ASSERT_EQ(table.array().upper(1), 1);
  // Rows come in creation order; Wine lists values sorted by name instead.
  const int32_t medium_row = testing::RunningUnderWine() ? 0 : 1;
  EXPECT_EQ(ToString(table.array().at(1 - medium_row, 0)), "short");
  EXPECT_EQ(ToString(table.array().at(medium_row, 0)), medium_);
  EXPECT_EQ(ToString(table.array().at(medium_row, 1)), "second");
  WriteAllValues(HKEY_CURRENT_USER, "Software\\Copy", table, 0, false);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\Copy"), tree_.substr(0, tree_.find("[Sub]")));
  const Variant deep = ReadAllValues(HKEY_CURRENT_USER, kKey + "\\Sub", true);
  EXPECT_EQ(ToString(deep.array().at(0, 0)), longest_);
  EXPECT_EQ(ToString(deep.array().at(0, 1)).size(), 140000u);
}

TEST_F(LongNamesTest, CopyRenameAndDeleteHandleTheLongestName) {
  CopyOrMoveKey(HKEY_CURRENT_USER, kKey, HKEY_CURRENT_USER, "Software\\Copied", TransferOperation::kCopy);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\Copied"), tree_);
  std::string name = "Renamed";
  RenameKeyTo(HKEY_CURRENT_USER, kKey, name);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\Renamed"), tree_);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, kKey));
  SetUndoEnabledFlag(true);  // a recorded deletion saves the key first
  RemoveKey(HKEY_CURRENT_USER, "Software\\Renamed", true);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Renamed"));
  RemoveKey(HKEY_CURRENT_USER, "Software\\Copied", false);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Copied"));
}

}  // namespace
}  // namespace orvane
