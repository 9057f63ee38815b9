// ReadAllValues and ReadAllKeys: the array shapes, the text form of each
// value type, and what an empty, missing or refused key gives.
#include <gtest/gtest.h>

#include "keyops/enumeration.h"
#include "keyops/registry_text.h"
#include "store/store_extensions.h"
#include "registry/expect_error.h"
#include "support/environment.h"
#include "support/read_only_key.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;

const std::string kKey = "Software\\Enum";

// The values of kKey under the current user as "name|data|type" lines.
std::string ValuesText(bool expand = true) {
  const Variant table = ReadAllValues(HKEY_CURRENT_USER, kKey, expand);
  if (table.is_empty()) return "<empty>";
  std::string text;
  for (int32_t i = 0; i <= table.array().upper(1); ++i) {
    text += DebugText(table.array().at(i, 0)) + "|" + DebugText(table.array().at(i, 1)) + "|" +
            DebugText(table.array().at(i, 2)) + "\n";
  }
  return text;
}

class EnumerationTest : public ::testing::Test {
 protected:
  EnumerationTest() { PutKey(HKEY_CURRENT_USER, kKey); }
  TempRegistry registry_;
};

TEST_F(EnumerationTest, KeyWithoutValuesOrSubKeysGivesEmptyNotAnEmptyArray) {
  EXPECT_TRUE(ReadAllValues(HKEY_CURRENT_USER, kKey, true).is_empty());
  EXPECT_TRUE(ReadAllKeys(HKEY_CURRENT_USER, kKey).is_empty());
}

TEST_F(EnumerationTest, ValueTableIsZeroBasedRowsOfNameDataAndLongType) {
  PutString(HKEY_CURRENT_USER, kKey, "", "default");
  PutValue(HKEY_CURRENT_USER, kKey, "n", REG_DWORD, std::string("\x05\x00\x00\x00", 4));
  const Variant table = ReadAllValues(HKEY_CURRENT_USER, kKey, true);
  ASSERT_TRUE(table.is_array());
  EXPECT_EQ(table.type(), VarType::kVariant);
  ASSERT_EQ(table.array().dimensions(), 2);
  EXPECT_EQ(table.array().bound(1), (ArrayBound{0, 1}));
  EXPECT_EQ(table.array().bound(2), (ArrayBound{0, 2}));
  EXPECT_ROWS_EQ(ValuesText(), "String(\"\")|String(\"default\")|Long(1)\nString(\"n\")|Long(5)|Long(4)\n");
}

TEST_F(EnumerationTest, StringsAreTrimmedExpandableStringsKeepTheirSpaces) {
  PutString(HKEY_CURRENT_USER, kKey, "s", "  padded  ");
  PutValue(HKEY_CURRENT_USER, kKey, "x", REG_EXPAND_SZ, std::string("  padded  \0", 11));
  PutValue(HKEY_CURRENT_USER, kKey, "none", REG_SZ, "");
  PutValue(HKEY_CURRENT_USER, kKey, "xnone", REG_EXPAND_SZ, "");
  EXPECT_ROWS_EQ(ValuesText(), "String(\"s\")|String(\"padded\")|Long(1)\n"
                          "String(\"x\")|String(\"  padded  \")|Long(2)\n"
                          "String(\"none\")|Empty|Long(1)\n"
                          "String(\"xnone\")|String(\"\")|Long(2)\n");
}

TEST_F(EnumerationTest, OnlyTheFirstEnvironmentReferenceIsExpanded) {
  testing::SetEnvironment("ORVANE_ENUM_A", "alpha");
  testing::SetEnvironment("ORVANE_ENUM_B", "beta");
  testing::UnsetEnvironment("ORVANE_ENUM_UNSET");
  PutValue(HKEY_CURRENT_USER, kKey, "two", REG_EXPAND_SZ, std::string("%ORVANE_ENUM_A%;%ORVANE_ENUM_B%\0", 32));
  PutValue(HKEY_CURRENT_USER, kKey, "unset", REG_EXPAND_SZ, std::string("%ORVANE_ENUM_UNSET%;x\0", 22));
  EXPECT_ROWS_EQ(ValuesText(), "String(\"two\")|String(\"alpha;%ORVANE_ENUM_B%\")|Long(2)\n"
                          "String(\"unset\")|String(\"%ORVANE_ENUM_UNSET%;x\")|Long(2)\n");
  EXPECT_ROWS_EQ(ValuesText(false), "String(\"two\")|String(\"%ORVANE_ENUM_A%;%ORVANE_ENUM_B%\")|Long(2)\n"
                               "String(\"unset\")|String(\"%ORVANE_ENUM_UNSET%;x\")|Long(2)\n");
}

TEST_F(EnumerationTest, NumbersMultiStringsAndBytesTakeTheirTextForms) {
  PutValue(HKEY_CURRENT_USER, kKey, "multi", REG_MULTI_SZ, std::string("x\0y\0\0", 5));
  PutValue(HKEY_CURRENT_USER, kKey, "bin", REG_BINARY, std::string("\x0a\xff\x00", 3));
  PutValue(HKEY_CURRENT_USER, kKey, "empty", REG_BINARY, "");
  PutValue(HKEY_CURRENT_USER, kKey, "dword", REG_DWORD, "\xff\xff\xff\xff");
  PutValue(HKEY_CURRENT_USER, kKey, "none", REG_NONE, "\x01\xab");
  PutValue(HKEY_CURRENT_USER, kKey, "big", 5, std::string("\x00\x00\x00\x2a", 4));
  EXPECT_ROWS_EQ(ValuesText(), "String(\"multi\")|String(\"x|y\")|Long(7)\n"
                          "String(\"bin\")|String(\"0AFF00\")|Long(3)\n"
                          "String(\"empty\")|String(\"\")|Long(3)\n"
                          "String(\"dword\")|Long(-1)|Long(4)\n"
                          "String(\"none\")|String(\"01AB\")|Long(0)\n"
                          "String(\"big\")|String(\"0000002A\")|Long(5)\n");
}

TEST_F(EnumerationTest, MultiStringsLoseOnlyTheTerminatorsTheyHave) {
  PutValue(HKEY_CURRENT_USER, kKey, "both", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
  PutValue(HKEY_CURRENT_USER, kKey, "entry", REG_MULTI_SZ, std::string("a\0b\0", 4));
  PutValue(HKEY_CURRENT_USER, kKey, "none", REG_MULTI_SZ, std::string("a\0b", 3));
  PutValue(HKEY_CURRENT_USER, kKey, "zero", REG_MULTI_SZ, std::string("\0", 1));
  EXPECT_ROWS_EQ(ValuesText(), "String(\"both\")|String(\"a|b\")|Long(7)\n"
                          "String(\"entry\")|String(\"a|b\")|Long(7)\n"
                          "String(\"none\")|String(\"a|b\")|Long(7)\n"
                          "String(\"zero\")|String(\"\")|Long(7)\n");
}

TEST_F(EnumerationTest, SubKeysAreDirectChildrenUnderTheirExactNames) {
  PutKey(HKEY_CURRENT_USER, kKey + "\\ lead");
  PutKey(HKEY_CURRENT_USER, kKey + "\\b\\grandchild");
  PutKey(HKEY_CURRENT_USER, kKey + "\\C");
  const Variant keys = ReadAllKeys(HKEY_CURRENT_USER, kKey);
  ASSERT_TRUE(keys.is_array());
  EXPECT_EQ(DebugText(keys), "Array<Variant>(0 To 2){String(\" lead\"), String(\"b\"), String(\"C\")}");
}

TEST_F(EnumerationTest, MissingKeyRaisesRefusedKeyListsAsEmpty) {
  EXPECT_ERROR_NUMBER(ReadAllValues(HKEY_CURRENT_USER, kKey + "\\Nowhere", true), 60002);
  EXPECT_ERROR_NUMBER(ReadAllKeys(HKEY_CURRENT_USER, kKey + "\\Nowhere"), 60002);
  PutString(HKEY_CURRENT_USER, kKey + "\\Locked", "v", "x");
  PutKey(HKEY_CURRENT_USER, kKey + "\\Locked\\child");
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, (kKey + "\\Locked").c_str(), true), 0);
  EXPECT_TRUE(ReadAllValues(HKEY_CURRENT_USER, kKey + "\\Locked", true).is_empty());
  EXPECT_TRUE(ReadAllKeys(HKEY_CURRENT_USER, kKey + "\\Locked").is_empty());
}

// A 16-bit index would stop at 32,767 sub-keys; every one must be listed.
TEST_F(EnumerationTest, ListsMoreSubKeysThanASixteenBitCounterHolds) {
  constexpr int kCount = 32770;
  {
    platform::RegistryMethodScope scope;
    for (int i = 0; i < kCount; ++i) PutKey(HKEY_CURRENT_USER, kKey + "\\k" + std::to_string(100000 + i));
  }
  const Variant keys = ReadAllKeys(HKEY_CURRENT_USER, kKey);
  ASSERT_TRUE(keys.is_array());
  EXPECT_EQ(keys.array().bound(1), (ArrayBound{0, kCount - 1}));
  EXPECT_EQ(keys.array().at(kCount - 1).string(), "k" + std::to_string(100000 + kCount - 1));
}

}  // namespace
}  // namespace orvane
