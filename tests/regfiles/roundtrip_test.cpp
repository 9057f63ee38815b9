// A tree holding every value type goes out through Export and comes back
// through Import unchanged, byte for byte.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "editor_fixture.h"
#include "keyops/registry_text.h"
#include "registry/expect_error.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

class RoundTripTest : public EditorTest {
 protected:
  static constexpr const char* kTree = "Software\\Round Trip";
  void BuildTree() {
    PutString(HKEY_CURRENT_USER, kTree, "", "default text");
    PutString(HKEY_CURRENT_USER, kTree, "with \"quotes\" and \\back\\slashes", "a \"b\" \\c\\");
    PutValue(HKEY_CURRENT_USER, kTree, "empty binary", REG_BINARY, "");
    PutValue(HKEY_CURRENT_USER, kTree, "empty string", REG_SZ, "");
    PutValue(HKEY_CURRENT_USER, kTree, "dword", REG_DWORD, std::string("\x78\x56\x34\x12", 4));
    PutValue(HKEY_CURRENT_USER, kTree, "expand", REG_EXPAND_SZ, std::string("%PATH%\\x\0", 9));
    PutValue(HKEY_CURRENT_USER, kTree, "multi", REG_MULTI_SZ, std::string("one\0two\0\0", 9));
    std::string long_binary;
    for (int i = 0; i < 1000; ++i) long_binary.push_back(static_cast<char>(i * 7));
    PutValue(HKEY_CURRENT_USER, kTree, "long binary", REG_BINARY, long_binary);
    PutValue(HKEY_CURRENT_USER, kTree, "odd type", 0x1234, std::string("\0\1\2", 3));
    PutKey(HKEY_CURRENT_USER, std::string(kTree) + "\\Sub Key\\Deeper");
    PutString(HKEY_CURRENT_USER, std::string(kTree) + "\\Sub Key", "x", "y");
  }
};

TEST_F(RoundTripTest, EveryValueTypeComesBackByteForByte) {
  UseOurEditor();
  BuildTree();
  const std::string before = TreeText(HKEY_CURRENT_USER, kTree);
  control_.GlobalKeyPath(std::string("HKEY_CURRENT_USER\\") + kTree);
  std::string path = In("tree.reg");
  bool all = false;
  std::string comment = "round trip";
  control_.Export(path, all, comment);
  control_.DeleteKey();
  ASSERT_EQ(TreeText(HKEY_CURRENT_USER, kTree), "<missing>\n");
  control_.Import(path);
  // Import does not wait for the editor: poll until the tree is back.
  for (int i = 0; i < 200 && TreeText(HKEY_CURRENT_USER, kTree) != before; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_EQ(TreeText(HKEY_CURRENT_USER, kTree), before);
}

}  // namespace
}  // namespace orvane
