// The editor's key tree and value list on a private store: the roots, lazy
// expansion in the registry's order, jumping to a typed path, keeping what
// was expanded across a reload, and the values in their display forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32_registry.h"
#include "support/temp_registry.h"
#include "tools/regedit/editor/key_tree.h"
#include "tools/regedit/editor/value_list.h"

namespace orvane::regedit::editor {
namespace {

using namespace std::string_literals;

void CreateKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
  RegCloseKey(key);
}

void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type, const std::string& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
  ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            0);
  RegCloseKey(key);
}

std::vector<std::string> VisibleNames(const KeyTree& tree) {
  std::vector<std::string> names;
  for (const TreeRow& row : tree.rows()) names.push_back(std::string(static_cast<size_t>(row.depth), '.') + row.name);
  return names;
}

size_t RowOf(const KeyTree& tree, const std::string& path) {
  for (size_t i = 0; i < tree.rows().size(); ++i) {
    if (tree.rows()[i].path == path) return i;
  }
  return tree.rows().size();
}

class EditorTree : public ::testing::Test {
 protected:
  TempRegistry registry_;
};

TEST_F(EditorTree, OpensOnTheRootsAsThePlatformShowsThemCollapsed) {
  KeyTree tree;
  EXPECT_EQ(VisibleNames(tree), (std::vector<std::string>{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                                          "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                                          "HKEY_CURRENT_CONFIG"}));
  EXPECT_EQ(tree.SelectedPath(), "HKEY_CLASSES_ROOT");
}

TEST_F(EditorTree, ExpandingListsSubKeysInTheRegistrysOrderAndCollapsingHidesThem) {
  for (const char* name : {"beta", "Alpha", "gamma"}) CreateKey(HKEY_CURRENT_USER, "Software\\T\\"s + name);
  CreateKey(HKEY_CURRENT_USER, "Software\\T\\Alpha\\Inner");
  KeyTree tree;
  ASSERT_TRUE(tree.Reveal("HKEY_CURRENT_USER\\Software\\T"));
  size_t t = tree.selected();
  EXPECT_FALSE(tree.rows()[t].expanded);
  size_t before = tree.rows().size();
  ASSERT_EQ(tree.Expand(t), 0);
  ASSERT_EQ(tree.rows().size(), before + 3);
  EXPECT_EQ(tree.rows()[t + 1].path, "HKEY_CURRENT_USER\\Software\\T\\Alpha");
  EXPECT_EQ(tree.rows()[t + 2].name, "beta");
  EXPECT_EQ(tree.rows()[t + 3].name, "gamma");
  EXPECT_EQ(tree.rows()[t + 1].depth, tree.rows()[t].depth + 1);
  ASSERT_EQ(tree.Expand(t + 1), 0);  // Inner appears under Alpha only
  EXPECT_EQ(tree.rows()[t + 2].name, "Inner");
  tree.Select(t + 2);
  tree.Collapse(t);  // the selection inside moves to the collapsed key
  EXPECT_EQ(tree.rows().size(), before);
  EXPECT_EQ(tree.selected(), t);
  EXPECT_EQ(tree.ParentRow(t), RowOf(tree, "HKEY_CURRENT_USER\\Software"));
}

TEST_F(EditorTree, AnEmptyKeyIsKnownChildlessOnceExpandedAndAMissingOneCannotOpen) {
  CreateKey(HKEY_CURRENT_USER, "Software\\Empty");
  KeyTree tree;
  ASSERT_TRUE(tree.Reveal("HKCU\\Software\\Empty"));
  EXPECT_EQ(tree.Expand(tree.selected()), 0);
  EXPECT_TRUE(tree.SelectedRow().childless);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Empty");
  tree.Collapse(tree.selected());
  EXPECT_EQ(tree.Expand(tree.selected()), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(tree.SelectedRow().expanded);
}

TEST_F(EditorTree, JumpingAcceptsShortRootsAnyCaseAndStopsAtTheDeepestKeyFound) {
  CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Vendor\\Product");
  KeyTree tree;
  EXPECT_TRUE(tree.Reveal("hklm\\software\\VENDOR\\product\\"));
  EXPECT_EQ(tree.SelectedPath(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Product");
  EXPECT_FALSE(tree.Reveal("HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Missing\\Deeper"));
  EXPECT_EQ(tree.SelectedPath(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor");
  EXPECT_FALSE(tree.Reveal("HKEY_NOWHERE\\x"));
  EXPECT_EQ(NormalisePath("hkcu\\\\a\\b\\"), "HKEY_CURRENT_USER\\a\\b");
  EXPECT_EQ(NormalisePath("nowhere\\a"), "");
}

TEST_F(EditorTree, AReloadShowsChangesAndKeepsExpandedKeysAndTheSelection) {
  CreateKey(HKEY_CURRENT_USER, "Software\\R\\A\\A1");
  CreateKey(HKEY_CURRENT_USER, "Software\\R\\B");
  KeyTree tree;
  ASSERT_TRUE(tree.Reveal("HKCU\\Software\\R\\A\\A1"));
  tree.Expand(RowOf(tree, "HKEY_CURRENT_USER\\Software\\R\\A\\A1"));
  CreateKey(HKEY_CURRENT_USER, "Software\\R\\A\\A0");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\R\\B");
  tree.Reload();
  EXPECT_EQ(tree.SelectedPath(), "HKEY_CURRENT_USER\\Software\\R\\A\\A1");
  EXPECT_LT(RowOf(tree, "HKEY_CURRENT_USER\\Software\\R\\A\\A0"), tree.rows().size());
  EXPECT_EQ(RowOf(tree, "HKEY_CURRENT_USER\\Software\\R\\B"), tree.rows().size());
  EXPECT_TRUE(tree.rows()[RowOf(tree, "HKEY_CURRENT_USER\\Software\\R\\A\\A1")].expanded);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\R\\A\\A1");
  tree.Reload();  // the selected key is gone: its parent is selected
  EXPECT_EQ(tree.SelectedPath(), "HKEY_CURRENT_USER\\Software\\R\\A");
}

TEST_F(EditorTree, ValuesListTheDefaultFirstAndTheOthersInCreationOrder) {
  SetValue(HKEY_CURRENT_USER, "Software\\V", "Zeta", REG_SZ, "z\0"s);
  SetValue(HKEY_CURRENT_USER, "Software\\V", "Count", REG_DWORD, "\x2a\0\0\0"s);
  SetValue(HKEY_CURRENT_USER, "Software\\V", "Blob", REG_BINARY, "\x01\xfe"s);
  long status = -1;
  std::vector<ValueRow> rows = LoadValues("HKEY_CURRENT_USER\\Software\\V", &status);
  ASSERT_EQ(status, 0);
  ASSERT_EQ(rows.size(), 4u);
  ValueColumns first = ColumnsOf(rows[0]);
  EXPECT_EQ(first.name + "|" + first.type + "|" + first.data, "(Default)|REG_SZ|(value not set)");
  EXPECT_EQ(ColumnsOf(rows[1]).name, "Zeta");
  EXPECT_EQ(ColumnsOf(rows[2]).data, "0x0000002a (42)");
  EXPECT_EQ(ColumnsOf(rows[3]).data, "01 fe");
  SetValue(HKEY_CURRENT_USER, "Software\\V", "", REG_SZ, "default text\0"s);
  rows = LoadValues("HKEY_CURRENT_USER\\Software\\V", &status);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(ColumnsOf(rows[0]).data, "default text");
  LoadValues("HKEY_CURRENT_USER\\Software\\Missing", &status);
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace orvane::regedit::editor
