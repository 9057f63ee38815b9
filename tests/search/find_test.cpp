// Find through the control: what matches in each mode, the row layout and
// order, the progress messages, and the whole-registry walks of both
// platforms with the rows they derive for the root views.
#include <gtest/gtest.h>

#include "keyops/enumeration.h"
#include "keyops/subtree.h"
#include "platform/current_user.h"
#include "registry/expect_error.h"
#include "search/search_fixture.h"
#include "search/search_registry.h"
#include "support/progress_log.h"
#include "support/wine.h"

namespace orvane {
namespace {

using testing::Flags;
using testing::kPartial;
using testing::kWhole;
using namespace testing::tree_helpers;
using testing::RowsText;

constexpr const char* kUser = "-2147483647";     // HKEY_CURRENT_USER
constexpr const char* kMachine = "-2147483646";  // HKEY_LOCAL_MACHINE

std::string Row(const std::string& root, const std::string& rest) { return root + "|" + rest + "\n"; }

#ifndef _WIN32
void RemoveKey(HKEY root, const std::string& path) {
  DeleteKeyTree(root, path);  // the key itself must be empty to go
  ASSERT_EQ(RegDeleteKeyA(root, path.c_str()), ERROR_SUCCESS) << path;
}
#endif

class FindTest : public testing::SearchTest {
 protected:
  FindTest() { PutString(HKEY_CURRENT_USER, "Software\\Test", "Color", "Red"); }
};

TEST_F(FindTest, ValueNameAndDataRowsHaveTheirOwnLayout) {
  if (SoftwareHoldsOtherKeys()) GTEST_SKIP() << "HKEY_CURRENT_USER\\Software holds other keys";
  EXPECT_EQ(RowsText(Find("col", kPartial, {.names = true})), Row(kUser, "Software\\Test|Color|-|-"));
  EXPECT_EQ(RowsText(Find("red", kPartial, {.data = true})), Row(kUser, "Software\\Test|Color|Red|1"));
  PutString(HKEY_CURRENT_USER, "Software\\Test", "Reddish", "red");
  EXPECT_EQ(RowsText(Find("red", kPartial, {.names = true, .data = true})),
            Row(kUser, "Software\\Test|Color|Red|1") + Row(kUser, "Software\\Test|Reddish|-|-") +
                Row(kUser, "Software\\Test|Reddish|red|1"));
}

TEST_F(FindTest, ValueNamesOfAnyLengthAreFoundWhole) {
  const std::string name = std::string(3000, 'n') + "Tail";
  PutString(HKEY_CURRENT_USER, "Software\\Test", name, "long");
  EXPECT_EQ(RowsText(Find("tail", kPartial, {.names = true})), Row(kUser, "Software\\Test|" + name + "|-|-"));
  EXPECT_EQ(RowsText(Find("long", kWhole, {.data = true})), Row(kUser, "Software\\Test|" + name + "|long|1"));
}

TEST_F(FindTest, NoMatchAndUnknownModeGiveEmpty) {
  if (SoftwareHoldsOtherKeys()) GTEST_SKIP() << "HKEY_CURRENT_USER\\Software holds other keys";
  EXPECT_TRUE(Find("blue", kPartial, {true, true, true}).is_empty());
  EXPECT_TRUE(Find("red", 2, {true, true, true}).is_empty());
  EXPECT_TRUE(Find("red", kPartial, {}).is_empty());
  EXPECT_ERROR_NUMBER(Find("red", 256, {.data = true}), 6);
}

TEST_F(FindTest, DataTextsAreTrimmedStringsAndJoinedMultiStrings) {
  if (SoftwareHoldsOtherKeys()) GTEST_SKIP() << "HKEY_CURRENT_USER\\Software holds other keys";
  PutString(HKEY_CURRENT_USER, "Software\\Test", "Spaced", "  Red ");
  PutValue(HKEY_CURRENT_USER, "Software\\Test", "Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
  PutValue(HKEY_CURRENT_USER, "Software\\Test", "Bin", REG_BINARY, "red");
  PutValue(HKEY_CURRENT_USER, "Software\\Test", "Word", REG_DWORD, std::string("\1\0\0\0", 4));
  EXPECT_EQ(RowsText(Find("RED", kWhole, {.data = true})),
            Row(kUser, "Software\\Test|Color|Red|1") + Row(kUser, "Software\\Test|Spaced|Red|1"));
  EXPECT_EQ(RowsText(Find("a|b", kWhole, {.data = true})), Row(kUser, "Software\\Test|Multi|a|b|7"));
  EXPECT_EQ(RowsText(Find("", kWhole, {.data = true})),
            Row(kUser, "Software\\Test|Bin||3") + Row(kUser, "Software\\Test|Word||4"));
}

TEST_F(FindTest, LettersBeyondAsciiMatchWithoutCase) {
  PutString(HKEY_CURRENT_USER, "Software\\Test\\caf\xC3\xA9", "No\xC3\xABl", "Grand caf\xC3\xA9");
  PutKey(HKEY_CURRENT_USER, "Software\\Test\\\xC3\x9A");  // Ú, not Ê
  EXPECT_EQ(RowsText(Find("CAF\xC3\x89", kWhole, {.keys = true})), Row(kUser, "Software\\Test\\caf\xC3\xA9|-|-|-"));
  EXPECT_EQ(RowsText(Find("NO\xC3\x8BL", kWhole, {.names = true})),
            Row(kUser, "Software\\Test\\caf\xC3\xA9|No\xC3\xABl|-|-"));
  EXPECT_EQ(RowsText(Find("CAF\xC3\x89", kPartial, {.data = true})),
            Row(kUser, "Software\\Test\\caf\xC3\xA9|No\xC3\xABl|Grand caf\xC3\xA9|1"));
  EXPECT_TRUE(Find("\xC3\x8A", kWhole, {.keys = true}).is_empty());
}

TEST_F(FindTest, MultiStringDataTextLosesOnlyTheTerminatorsItHas) {
  PutValue(HKEY_CURRENT_USER, "Software\\Test", "Entry", REG_MULTI_SZ, std::string("a\0b\0", 4));
  PutValue(HKEY_CURRENT_USER, "Software\\Test", "None", REG_MULTI_SZ, std::string("a\0b", 3));
  EXPECT_EQ(RowsText(Find("a|b", kWhole, {.data = true})),
            Row(kUser, "Software\\Test|Entry|a|b|7") + Row(kUser, "Software\\Test|None|a|b|7"));
}

TEST_F(FindTest, EmptyPartialTextMatchesEveryNonEmptyText) {
  if (SoftwareHoldsOtherKeys()) GTEST_SKIP() << "HKEY_CURRENT_USER\\Software holds other keys";
  PutValue(HKEY_CURRENT_USER, "Software\\Test", "", REG_SZ, std::string("\0", 1));
  EXPECT_EQ(RowsText(Find("", kPartial, {true, true, true})),
            Row(kUser, "Software\\Test|-|-|-") + Row(kUser, "Software\\Test|Color|-|-") +
                Row(kUser, "Software\\Test|Color|Red|1"));
}

TEST_F(FindTest, KeysMatchInPreOrderAndNeverTheStartingKey) {
  PutKey(HKEY_CURRENT_USER, "Software\\Test\\Tea\\Teal");
  PutString(HKEY_CURRENT_USER, "Software\\Test\\Tea", "Tee", "x");
  PutKey(HKEY_CURRENT_USER, "Software\\Test\\Tex");
  control_.SubKeyPath("Software\\Test");
  EXPECT_EQ(RowsText(Find("te", kPartial, {.keys = true, .names = true})),
            Row(kUser, "Software\\Test\\Tea|-|-|-") + Row(kUser, "Software\\Test\\Tea|Tee|-|-") +
                Row(kUser, "Software\\Test\\Tea\\Teal|-|-|-") + Row(kUser, "Software\\Test\\Tex|-|-|-"));
}

TEST_F(FindTest, ChildOfARootHoldsItsNameAlone) {
  control_.GlobalKeyPath("HKEY_USERS");
  const std::string rows = RowsText(Find(".default", kWhole, {.keys = true}));
  EXPECT_EQ(rows, Row("-2147483645", ".Default|-|-|-"));
}

TEST_F(FindTest, ProgressStepsOncePerKeyDownToTheDirectSubKeys) {
  for (const char* name : {"A", "B", "C"}) PutKey(HKEY_CURRENT_USER, std::string("Software\\Test\\") + name);
  PutKey(HKEY_CURRENT_USER, "Software\\Test\\A\\Deep");
  control_.SubKeyPath("Software\\Test");
  int32_t window = testing::CreateProgressLogWindow();
  Find("x", kPartial, {.keys = true}, window);
  EXPECT_EQ(testing::ProgressLog(window),
            "SETRANGE32 0 3; SETPOS 0; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; SETPOS 0");
}

TEST_F(FindTest, ZeroWindowBecomesMinusOneAndMissingKeyFailsOnlyWithAWindow) {
  Variant reserved = Variant::Long(0);
  std::string text = "red";
  int32_t mode = kPartial;
  bool on = true;
  bool all = false;
  int32_t window = 0;
  control_.Find(text, mode, on, on, on, reserved, all, window);
  EXPECT_EQ(window, -1);
  EXPECT_EQ(RowsText(Find("red", kPartial, {.data = true}, 0x7654321)),  // names no window: ignored
            Row(kUser, "Software\\Test|Color|Red|1"));
  control_.SubKeyPath("Software\\Missing");
  EXPECT_TRUE(Find("red", kPartial, {true, true, true}).is_empty());
  EXPECT_ERROR_NUMBER(Find("red", kPartial, {true, true, true}, testing::CreateProgressLogWindow()), 60002);
}

TEST_F(FindTest, WholeRegistryOnNtDerivesClassesRowsAndWalksTheOtherRoots) {
  // Rows name keys as the registry spells them: Windows and our store spell
  // the key "SOFTWARE", Wine spells it "Software".
  const std::string software = testing::RunningUnderWine() ? "Software" : "SOFTWARE";
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\.txt", "", "Zebrafile");
  PutString(HKEY_LOCAL_MACHINE, "SOFTWARE\\ClassesX", "", "Zebrafile");
  PutString(HKEY_LOCAL_MACHINE, "Config\\0001\\Display", "", "Zebrafile");
  int32_t window = testing::CreateProgressLogWindow();
  EXPECT_EQ(RowsText(Find("zebra", kPartial, {.data = true, .all_registry = true}, window)),
            Row(kMachine, "Config\\0001\\Display||Zebrafile|1") +
                Row(kMachine, software + "\\Classes\\.txt||Zebrafile|1") +
                Row(kMachine, software + "\\ClassesX||Zebrafile|1") + Row("-2147483648", ".txt||Zebrafile|1"));
  EXPECT_EQ(testing::ProgressLog(window),
            "SETRANGE32 0 6; SETPOS 0; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; SETPOS 0");
}

TEST_F(FindTest, WholeRegistryOnTheOlderPlatformDerivesConfigRowsAndWalksTheUsers) {
  SetNtPlatformForTesting(false);
  PutString(HKEY_LOCAL_MACHINE, "Config\\0001\\Display", "Zebra", "1");
  PutString(HKEY_LOCAL_MACHINE, "Config\\0001", "Zebra", "1");
  PutString(HKEY_CURRENT_USER, "Software", "Zebra", "1");
  int32_t window = testing::CreateProgressLogWindow();
  const std::string user = platform::CurrentUserKeyName();
  EXPECT_EQ(RowsText(Find("zebra", kWhole, {.names = true, .all_registry = true}, window)),
            Row(kMachine, "Config\\0001|Zebra|-|-") + Row(kMachine, "Config\\0001\\Display|Zebra|-|-") +
                Row("-2147483643", "|Zebra|-|-") + Row("-2147483643", "Display|Zebra|-|-") +
                Row("-2147483645", user + "\\Software|Zebra|-|-") + Row(kUser, "Software|Zebra|-|-"));
  EXPECT_EQ(testing::ProgressLog(window),
            "SETRANGE32 0 6; SETPOS 0; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; DELTAPOS 1; "
            "SETPOS 0");
}

TEST(DeriveViewRows, CutsThePrefixKeyAndTheBackslashAfterIt) {
  MatchTable matches;
  for (const char* path : {".Default", ".Default\\Software", ".DefaultX", "Other\\.Default"}) {
    matches.Append({-2147483645, path, MatchKind::kValueName, "v", {}, 0});
  }
  DeriveViewRows(matches, 0, 4, ".Default", -2147483647);
  EXPECT_EQ(RowsText(matches.ToVariant()), Row("-2147483645", ".Default|v|-|-") +
                                               Row("-2147483645", ".Default\\Software|v|-|-") +
                                               Row("-2147483645", ".DefaultX|v|-|-") +
                                               Row("-2147483645", "Other\\.Default|v|-|-") +
                                               Row(kUser, "|v|-|-") + Row(kUser, "Software|v|-|-"));
}

// Key names ignore letter case: a registry that spells the classes key
// "Software\Classes" (Wine does) still shows its rows under the view.
TEST(DeriveViewRows, FindsThePrefixKeyInAnyLetterCase) {
  MatchTable matches;
  for (const char* path : {"Software\\Classes\\.txt", "software\\CLASSES", "Software\\ClassesX"}) {
    matches.Append({-2147483646, path, MatchKind::kValueName, "v", {}, 0});
  }
  DeriveViewRows(matches, 0, 3, "SOFTWARE\\Classes", -2147483648);
  EXPECT_EQ(RowsText(matches.ToVariant()), Row(kMachine, "Software\\Classes\\.txt|v|-|-") +
                                               Row(kMachine, "software\\CLASSES|v|-|-") +
                                               Row(kMachine, "Software\\ClassesX|v|-|-") +
                                               Row("-2147483648", ".txt|v|-|-") + Row("-2147483648", "|v|-|-"));
}

#ifndef _WIN32
// The older platform's configuration key is the Linux store's emulation.
TEST_F(FindTest, OlderPlatformWalksConfigWhenItHoldsNoSubKeyAndFailsWithoutIt) {
  SetNtPlatformForTesting(false);
  RemoveKey(HKEY_LOCAL_MACHINE, "Config\\0001");
  EXPECT_EQ(RowsText(Find("0001", kWhole, {.keys = true, .all_registry = true})), "<empty>");
  RemoveKey(HKEY_LOCAL_MACHINE, "Config");
  EXPECT_ERROR_NUMBER(Find("x", kWhole, {.keys = true, .all_registry = true}), 60002);
}
#endif

}  // namespace
}  // namespace orvane
