// Root names, trimming, splitting, validation and global key path parsing.
#include "registry/key_path.h"

#include <gtest/gtest.h>

#include <string>

#include "registry/expect_error.h"
#include "registry/nt_platform.h"

namespace orvane {
namespace {

TEST(RootKeyName, NamesPerformanceDataButNoValueOutsideTheRoots) {
  EXPECT_EQ(RootKeyName(kHkeyPerformanceData), "HKEY_PERFORMANCE_DATA");
  EXPECT_EQ(RootKeyName(kHkeyCurrentConfig), "HKEY_CURRENT_CONFIG");
  EXPECT_EQ(RootKeyName(kHkeyDynData), "HKEY_DYN_DATA");
  EXPECT_EQ(RootKeyName(0), "");
  EXPECT_EQ(RootKeyName(static_cast<int32_t>(0x80000007u)), "");
  EXPECT_EQ(RootKeyName(2), "");
}

// Trimming removes at most one backslash from each end; parent and leaf
// split at the last backslash before the final character, never at it.
TEST(KeyPathSplitting, TrimParentAndLeaf) {
  struct Case {
    const char* path;
    const char* trimmed;
    const char* parent;
    const char* leaf;
  };
  const Case cases[] = {
      {"A\\B\\C", "A\\B\\C", "A\\B", "C"}, {"A\\B\\", "A\\B", "A", "B\\"}, {"A\\", "A", "", "A\\"},
      {"\\\\a", "\\a", "\\", "a"},          {"a\\\\", "a\\", "a", "\\"},    {"\\", "", "", "\\"},
      {"Software", "Software", "", "Software"}, {"", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TrimKeyPath(c.path), c.trimmed) << c.path;
    EXPECT_EQ(ParentKeyPath(c.path), c.parent) << c.path;
    EXPECT_EQ(LeafKeyName(c.path), c.leaf) << c.path;
  }
}

TEST(ValidateKeyPath, AllowsNamesOfUpTo255Characters) {
  const std::string name255(255, 'k');
  EXPECT_TRUE(ValidateKeyPath(name255));
  EXPECT_TRUE(ValidateKeyPath(name255 + "\\" + name255 + "\\\\x"));
  EXPECT_TRUE(ValidateKeyPath(""));
  EXPECT_ERROR_NUMBER(ValidateKeyPath(name255 + "k"), 60010);
  EXPECT_ERROR_NUMBER(ValidateKeyPath("a\\" + name255 + "k"), 60010);
  EXPECT_ERROR_NUMBER(ValidateKeyPath("a\\" + name255 + "k\\b"), 60010);
}

TEST(CollapseBackslashes, LeavesNoRunLongerThanOne) {
  EXPECT_EQ(CollapseBackslashes("a\\\\b"), "a\\b");
  EXPECT_EQ(CollapseBackslashes("\\\\\\a\\\\\\\\b\\\\"), "\\a\\b\\");
}

class GlobalKeyPathParsing : public ::testing::Test {
 protected:
  ~GlobalKeyPathParsing() override { SetNtPlatformForTesting(saved_); }
  bool saved_ = NtPlatform();
};

TEST_F(GlobalKeyPathParsing, MatchesRootNamesInAnyCaseAndNormalises) {
  SetNtPlatformForTesting(true);
  const GlobalKeyPathParts parts = ParseGlobalKeyPath("hkey_local_machine\\Software\\\\Classes\\", kHkeyUsers);
  EXPECT_EQ(parts.root, kHkeyLocalMachine);
  EXPECT_EQ(parts.sub_key_path, "Software\\Classes");
  EXPECT_EQ(parts.global_key_path, "HKEY_LOCAL_MACHINE\\Software\\Classes");
}

TEST_F(GlobalKeyPathParsing, RootAloneHasAnEmptySubKeyPath) {
  const GlobalKeyPathParts parts = ParseGlobalKeyPath("hkey_users", kHkeyClassesRoot);
  EXPECT_EQ(parts.root, kHkeyUsers);
  EXPECT_EQ(parts.sub_key_path, "");
  EXPECT_EQ(parts.global_key_path, "HKEY_USERS");
  EXPECT_EQ(ParseGlobalKeyPath("\\\\HKEY_CURRENT_CONFIG\\", kHkeyUsers).global_key_path, "HKEY_CURRENT_CONFIG");
}

TEST_F(GlobalKeyPathParsing, KeepsTheLetterCaseOfTheSubKeyPath) {
  const GlobalKeyPathParts parts = ParseGlobalKeyPath("Hkey_Current_User\\SoftWare\\x y", kHkeyClassesRoot);
  EXPECT_EQ(parts.root, kHkeyCurrentUser);
  EXPECT_EQ(parts.global_key_path, "HKEY_CURRENT_USER\\SoftWare\\x y");
}

TEST_F(GlobalKeyPathParsing, EmptyTextReselectsTheCurrentRoot) {
  for (const char* empty : {"", "\\", "\\\\\\"}) {
    const GlobalKeyPathParts parts = ParseGlobalKeyPath(empty, kHkeyCurrentConfig);
    EXPECT_EQ(parts.root, kHkeyCurrentConfig) << empty;
    EXPECT_EQ(parts.sub_key_path, "") << empty;
    EXPECT_EQ(parts.global_key_path, "HKEY_CURRENT_CONFIG") << empty;
  }
}

TEST_F(GlobalKeyPathParsing, UnknownRootNamesRaise60007) {
  EXPECT_ERROR_NUMBER(ParseGlobalKeyPath("HKEY_PERFORMANCE_DATA", kHkeyClassesRoot), 60007);
  EXPECT_ERROR_NUMBER(ParseGlobalKeyPath("HKLM\\Software", kHkeyClassesRoot), 60007);
  EXPECT_ERROR_NUMBER(ParseGlobalKeyPath("Software\\HKEY_USERS", kHkeyClassesRoot), 60007);
  EXPECT_ERROR_NUMBER(ParseGlobalKeyPath("HKEY_USERS2", kHkeyClassesRoot), 60007);
  // An empty text with a current root that has no name.
  EXPECT_ERROR_NUMBER(ParseGlobalKeyPath("", 0), 60007);
  EXPECT_ERROR_NUMBER(ParseGlobalKeyPath("", kHkeyPerformanceData), 60007);
}

TEST_F(GlobalKeyPathParsing, DynDataRaises60998OnlyOnTheNtPlatform) {
  SetNtPlatformForTesting(true);
  EXPECT_ERROR_NUMBER(ParseGlobalKeyPath("hkey_dyn_data\\PerfStats", kHkeyClassesRoot), 60998);
  SetNtPlatformForTesting(false);
  const GlobalKeyPathParts parts = ParseGlobalKeyPath("hkey_dyn_data\\PerfStats", kHkeyClassesRoot);
  EXPECT_EQ(parts.root, kHkeyDynData);
  EXPECT_EQ(parts.global_key_path, "HKEY_DYN_DATA\\PerfStats");
}

TEST_F(GlobalKeyPathParsing, OverlongKeyNamesRaise60010) {
  const std::string name256(256, 'n');
  EXPECT_ERROR_NUMBER(ParseGlobalKeyPath("HKEY_USERS\\a\\" + name256, kHkeyClassesRoot), 60010);
  EXPECT_EQ(ParseGlobalKeyPath("HKEY_USERS\\" + name256.substr(1), kHkeyClassesRoot).sub_key_path.size(), 255u);
}

}  // namespace
}  // namespace orvane
