// Depth: the store creates keys down to 512 levels below the stored root
// and no deeper; every walk (count, copy, move, delete, find, replace)
// works at that depth; and keys an existing store already holds deeper
// still, written there directly, are readable and deletable at any depth.
#include <gtest/gtest.h>

#include <string>

#include "undo/undo_enabled.h"
#include "keyops/counting.h"
#include "keyops/enumeration.h"
#include "keyops/key_create_delete.h"
#include "keyops/key_transfer.h"
#include "keyops/registry_text.h"
#include "registry/expect_error.h"
#include "search/replace_key.h"
#include "search/search_key.h"
#include "support/temp_registry.h"
#include "support/wine.h"
#include "undo/record.h"
#include "undo/undo_actions.h"

#ifndef _WIN32
#include "store/registry_store.h"
#include "support/deep_chain.h"
#endif

namespace orvane {
namespace {

using namespace testing::tree_helpers;

// `levels` names "d" joined by backslashes, after `top`.
std::string Chain(const std::string& top, size_t levels) {
  std::string path = top;
  for (size_t i = 0; i < levels; ++i) path += "\\d";
  return path;
}

LONG Create(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return status;
}

class DepthTest : public ::testing::Test {
 protected:
  DepthTest() { SetUndoEnabledFlag(false); }
  ~DepthTest() override { SetUndoEnabledFlag(false); }

  // Matches of `text` in key names and value data below `path`.
  static size_t FindCount(HKEY root, const std::string& path, const std::string& text) {
    SearchOptions options{text, 1, true, true, true};
    int32_t window = 0;
    MatchTable matches;
    SearchKey(root, path, options, ProgressWindow(window), 2, matches);
    return matches.size();
  }

  TempRegistry registry_;
};

TEST_F(DepthTest, KeysAreCreatedDownTo512LevelsBelowTheStoredRoot) {
  // Windows documents 512 levels as the limit; Wine creates keys at any depth.
  if (testing::RunningUnderWine()) GTEST_SKIP() << "Wine creates keys at any depth";
  EXPECT_EQ(Create(HKEY_USERS, Chain("top", 511)), ERROR_SUCCESS);
  EXPECT_EQ(Create(HKEY_USERS, Chain("top", 512)), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Create(HKEY_USERS, Chain("other", 512)), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(KeyThere(HKEY_USERS, "other"));  // nothing of a refused path is made
  // Through the classes view the two levels of SOFTWARE\Classes count.
  EXPECT_EQ(Create(HKEY_CLASSES_ROOT, Chain("c", 509)), ERROR_SUCCESS);
  EXPECT_EQ(Create(HKEY_CLASSES_ROOT, Chain("c", 510)), ERROR_INVALID_PARAMETER);
  // One level at a time below an open key, and the deepest key still opens.
  HKEY deepest = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_USERS, Chain("top", 511).c_str(), 0, KEY_ALL_ACCESS, &deepest), ERROR_SUCCESS);
  EXPECT_EQ(Create(deepest, "one"), ERROR_INVALID_PARAMETER);
  RegCloseKey(deepest);
  EXPECT_ERROR_NUMBER(WriteKey(HKEY_USERS, Chain("top", 512), false), 60007);
}

TEST_F(DepthTest, EveryWalkWorksAt512Levels) {
  // Windows sets no limit on the length of a path; the ANSI registry
  // functions of Wine refuse paths over 260 characters.
  if (testing::RunningUnderWine()) GTEST_SKIP() << "Wine refuses ANSI paths over 260 characters";
  const std::string bottom = Chain("Deep", 511);
  PutString(HKEY_USERS, bottom, "v", "needle");
  const std::string tree = TreeText(HKEY_USERS, "Deep");
  const Variant counts = CountItems(HKEY_USERS, "Deep", 1);
  EXPECT_EQ(ToLong(counts.array().at(0)), 1);
  EXPECT_EQ(ToLong(counts.array().at(1)), 511);
  EXPECT_EQ(FindCount(HKEY_USERS, "Deep", "needle"), 1u);
  // A copy as deep works; one level deeper is refused and leaves nothing.
  CopyOrMoveKey(HKEY_USERS, "Deep", HKEY_LOCAL_MACHINE, "Copy", TransferOperation::kCopy);
  EXPECT_TREE_EQ(TreeText(HKEY_LOCAL_MACHINE, "Copy"), tree);
  // Wine creates keys at any depth, so there nothing is refused for depth.
  const bool depth_limited = !testing::RunningUnderWine();
  if (depth_limited) {
    EXPECT_ERROR_NUMBER(CopyOrMoveKey(HKEY_USERS, "Deep", HKEY_USERS, "X\\Deeper", TransferOperation::kCopy), 60007);
    EXPECT_FALSE(KeyThere(HKEY_USERS, "X"));
  }
  std::string name = "Moved";
  RenameKeyTo(HKEY_USERS, "Deep", name);
  EXPECT_TREE_EQ(TreeText(HKEY_USERS, "Moved"), tree);
  int32_t window = 0;
  int32_t changes = 0;
  ReplaceInKey(HKEY_USERS, "Moved", ReplaceOptions{{"d", 0, true, false, false}, "e"}, ProgressWindow(window), 2,
               changes);
  EXPECT_EQ(changes, 511);
  std::string renamed = "Moved";
  for (int i = 0; i < 511; ++i) renamed += "\\e";
  EXPECT_EQ(testing::StringAt(HKEY_USERS, renamed, "v"), "needle");
  // Undo's saved copies: a recorded deletion deep in the chain is saved
  // and brought back; one whose saved copy would pass the limit is refused.
  const std::string moved_tree = TreeText(HKEY_USERS, "Moved");
  SetUndoEnabledFlag(true);
  if (depth_limited) {
    EXPECT_ERROR_NUMBER(RemoveKey(HKEY_USERS, "Moved", true), 60007);
    EXPECT_TREE_EQ(TreeText(HKEY_USERS, "Moved"), moved_tree);
  }
  const std::string inner = renamed.substr(0, renamed.size() - 2 * 10);  // ten levels above the bottom
  RemoveKey(HKEY_USERS, inner, true);
  EXPECT_FALSE(KeyThere(HKEY_USERS, inner));
  UndoActions(1);
  EXPECT_TREE_EQ(TreeText(HKEY_USERS, "Moved"), moved_tree);
  SetUndoEnabledFlag(false);
  RemoveKey(HKEY_USERS, "Moved", false);
  EXPECT_FALSE(KeyThere(HKEY_USERS, "Moved"));
}

// Deleting a chain 511 and 512 levels deep: with undo off it is deleted
// (its saved copy would pass the limit, so none is made); with undo on it
// is refused before anything changes, the error saying why.
TEST_F(DepthTest, DeletingAChainAsDeepAsTheLimit) {
  if (testing::RunningUnderWine()) GTEST_SKIP() << "Wine refuses ANSI paths over 260 characters";
  for (const size_t levels : {511u, 512u}) {
    const std::string bottom = Chain("Deep", levels - 1);
    PutString(HKEY_USERS, bottom, "v", "needle");
    const std::string tree = TreeText(HKEY_USERS, "Deep");
    SetUndoEnabledFlag(true);
    WriteKey(HKEY_USERS, "Earlier", true);
    try {
      RemoveKey(HKEY_USERS, "Deep", true);
      ADD_FAILURE() << levels << " levels: a deletion Undo cannot take back was not refused";
    } catch (const Error& error) {
      EXPECT_EQ(error.number(), 60007);
      EXPECT_NE(std::string(error.what()).find("UndoEnabled"), std::string::npos) << error.what();
    }
    EXPECT_TREE_EQ(TreeText(HKEY_USERS, "Deep"), tree);
    EXPECT_EQ(LastAction(), static_cast<uint8_t>(UndoActionCode::KeyCreated));  // the record before it
    SetUndoEnabledFlag(false);
    RemoveKey(HKEY_USERS, "Deep", true);
    EXPECT_FALSE(KeyThere(HKEY_USERS, "Deep")) << levels;
  }
}

#ifndef _WIN32
// The deep chain is written into the store's own database file.
TEST_F(DepthTest, KeysDeeperThanTheLimitInAnExistingStoreAreReadableAndDeletable) {
  constexpr int64_t kLevels = 100000;
  PutKey(HKEY_USERS, "Old");
  platform::CommitPendingRegistryWrites();
  testing::AppendDeepChain(registry_.file(), kLevels);
  const Variant counts = CountItems(HKEY_USERS, "Old", 1);
  EXPECT_EQ(ToLong(counts.array().at(0)), 1);
  EXPECT_EQ(ToLong(counts.array().at(1)), kLevels);
  EXPECT_EQ(FindCount(HKEY_USERS, "Old", "needle"), 1u);
  EXPECT_EQ(testing::StringAt(HKEY_USERS, Chain("Old", kLevels), "v"), "needle");
  RemoveKey(HKEY_USERS, "Old", false);
  EXPECT_FALSE(KeyThere(HKEY_USERS, "Old"));
}
#endif

}  // namespace
}  // namespace orvane
