// The subtree primitives: key counts, deleting all descendants, copying a
// subtree exactly to another place.
#include <gtest/gtest.h>

#include "keyops/registry_text.h"
#include "keyops/subtree.h"
#include "registry/scoped_key.h"
#include "support/read_only_key.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

class SubtreeTest : public ::testing::Test {
 protected:
  // Three levels with every kind of value: the default value, zero-length
  // data, types outside the interface's own, names with outer spaces.
  void BuildTree(HKEY root, const std::string& top) {
    PutString(root, top, "", "top default");
    PutValue(root, top, "empty", REG_BINARY, "");
    PutValue(root, top, "none", REG_NONE, std::string("\0\1", 2));
    PutValue(root, top, "link", REG_LINK, std::string("L\0i\0", 4));
    PutValue(root, top, "dw", REG_DWORD, "\x04\x03\x02\x01");
    PutValue(root, top, "multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    PutValue(root, top + "\\  spaced ", " lead", REG_EXPAND_SZ, std::string("%PATH%\0", 7));
    PutString(root, top + "\\Child\\Grand", "deep", "bottom");
    PutValue(root, top + "\\Child", "", REG_SZ, "");
    PutKey(root, top + "\\Child\\Empty");
  }

  TempRegistry registry_;
};

TEST_F(SubtreeTest, QueryKeyInfoCountsValuesThenSubKeys) {
  BuildTree(HKEY_CURRENT_USER, "T");
  ScopedKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, "T"), 0);
  const KeyInfo info = QueryKeyInfo(key.get());
  EXPECT_EQ(info.values, 6);
  EXPECT_EQ(info.sub_keys, 2);
  const KeyInfo none = QueryKeyInfo(nullptr);
  EXPECT_EQ(none.values, 0);
  EXPECT_EQ(none.sub_keys, 0);

  const Variant array = KeyInfoArray(info);
  ASSERT_TRUE(array.is_array());
  EXPECT_EQ(array.type(), VarType::kLong);
  EXPECT_EQ(array.array().bound(1).upper, 1);
  EXPECT_EQ(array.array().at(0).long_value(), 6);
  EXPECT_EQ(array.array().at(1).long_value(), 2);
}

TEST_F(SubtreeTest, DeleteKeyTreeKeepsTheKeyAndItsValues) {
  BuildTree(HKEY_CURRENT_USER, "T");
  PutKey(HKEY_CURRENT_USER, "Sibling\\Kept");
  DeleteKeyTree(HKEY_CURRENT_USER, "T");
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "T"),
                 "[]\n\"\"=\"top default\"\n\"empty\"=3:\n\"none\"=0:0001\n\"link\"=6:4c006900\n"
                 "\"dw\"=4:04030201\n\"multi\"=7:6100620000\n");
  EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Sibling\\Kept"));
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  DeleteKeyTree(HKEY_CURRENT_USER, "T");  // now a leaf: nothing to do
  DeleteKeyTree(HKEY_CURRENT_USER, "Missing\\Key");
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
}

TEST_F(SubtreeTest, DeleteKeyTreeUnderAnOpenKeyWithEmptyPathReachesDirectChildren) {
  BuildTree(HKEY_CURRENT_USER, "T");
  ScopedKey top;
  ASSERT_EQ(top.Open(HKEY_CURRENT_USER, "T"), 0);
  DeleteKeyTree(top.get(), "");
  EXPECT_EQ(testing::SubKeyCount(HKEY_CURRENT_USER, "T"), 0);
}

TEST_F(SubtreeTest, DeleteKeyTreeLeavesWhatItCannotOpenAndGoesOn) {
  PutKey(HKEY_CURRENT_USER, "T\\A\\Locked\\Inner");
  PutKey(HKEY_CURRENT_USER, "T\\B\\Free");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "T\\A\\Locked", true), 0);
  DeleteKeyTree(HKEY_CURRENT_USER, "T");
  EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "T\\A"));
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "T\\B"));
}

TEST_F(SubtreeTest, CopyToAnotherRootReproducesEveryLevelExactly) {
  BuildTree(HKEY_CURRENT_USER, "Software\\Src");
  const std::string source = TreeText(HKEY_CURRENT_USER, "Software\\Src");
  EXPECT_EQ(CopyKeyTree(HKEY_CURRENT_USER, "Software\\Src", HKEY_LOCAL_MACHINE, "SOFTWARE\\New\\Dst", true), 0);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, "SOFTWARE\\New\\Dst"), source);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software\\Src"), source);
}

TEST_F(SubtreeTest, CopyWithoutSubKeysMergesValuesOnly) {
  BuildTree(HKEY_CURRENT_USER, "Src");
  PutString(HKEY_CURRENT_USER, "Dst", "dw", "replaced");
  PutString(HKEY_CURRENT_USER, "Dst", "own", "kept");
  PutKey(HKEY_CURRENT_USER, "Dst\\OwnChild");
  EXPECT_EQ(CopyKeyTree(HKEY_CURRENT_USER, "Src", HKEY_CURRENT_USER, "Dst", false), 0);
  // A replaced value keeps its place; copied values follow in source order.
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Dst"),
                 "[]\n\"dw\"=4:04030201\n\"own\"=\"kept\"\n\"\"=\"top default\"\n"
                 "\"empty\"=3:\n\"none\"=0:0001\n\"link\"=6:4c006900\n\"multi\"=7:6100620000\n"
                 "[OwnChild]\n");
}

TEST_F(SubtreeTest, CopyIntoItsOwnSubtreeCannotRunAway) {
  PutString(HKEY_CURRENT_USER, "A", "v", "1");
  PutString(HKEY_CURRENT_USER, "A\\x", "w", "2");
  EXPECT_EQ(CopyKeyTree(HKEY_CURRENT_USER, "A", HKEY_CURRENT_USER, "A\\B", true), 0);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "A"),
                 "[]\n\"v\"=\"1\"\n[B]\n\"v\"=\"1\"\n[B\\x]\n\"w\"=\"2\"\n[x]\n\"w\"=\"2\"\n");
}

TEST_F(SubtreeTest, CopyOfAWholeKeyByEmptyPathFormsChildPathsWithoutBackslash) {
  BuildTree(HKEY_CURRENT_USER, "Src");
  ScopedKey source;
  ASSERT_EQ(source.Open(HKEY_CURRENT_USER, "Src"), 0);
  EXPECT_EQ(CopyKeyTree(source.get(), "", HKEY_CURRENT_USER, "Dst", true), 0);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Dst"), TreeText(HKEY_CURRENT_USER, "Src"));
}

TEST_F(SubtreeTest, CopyReportsTheFirstFailedCallAndKeepsWhatItCopied) {
  PutString(HKEY_CURRENT_USER, "Src\\A", "a", "1");
  PutString(HKEY_CURRENT_USER, "Src\\B\\Deep", "b", "2");
  PutString(HKEY_CURRENT_USER, "Src\\C", "c", "3");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Src\\B\\Deep", true), 0);
  EXPECT_EQ(CopyKeyTree(HKEY_CURRENT_USER, "Src", HKEY_CURRENT_USER, "Dst", true), 5);
  // A was copied before the failure; the walk stopped inside B.
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Dst\\A", "a"), "1");
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Dst\\C"));
}

}  // namespace
}  // namespace orvane
