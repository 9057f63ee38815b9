// Existence of keys and values, and the topmost key a creation would add.
#include <gtest/gtest.h>

#include "keyops/registry_text.h"
#include "registry/existence.h"
#include "registry/expect_error.h"
#include "support/read_only_key.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

using testing::PutKey;
using testing::PutValue;

class ExistenceTest : public ::testing::Test {
 protected:
  TempRegistry registry_;
};

TEST_F(ExistenceTest, KeyModeAnswersAndValueModeRaisesForAMissingKey) {
  PutKey(HKEY_CURRENT_USER, "Software\\A");
  EXPECT_TRUE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "ignored", kVerifyKey));
  EXPECT_TRUE(KeyOrValueExists(HKEY_CURRENT_USER, "software\\a", "", kVerifyKey));
  EXPECT_TRUE(KeyOrValueExists(HKEY_CURRENT_USER, "", "", kVerifyKey));
  EXPECT_FALSE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\B", "", kVerifyKey));
  // Asking for a value of a missing key is an error, not an answer.
  EXPECT_ERROR_NUMBER(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\B", "v", kVerifyValueName), 60002);
}

TEST_F(ExistenceTest, EmptyDefaultStringCountsAsAbsent) {
  PutKey(HKEY_CURRENT_USER, "Software\\A");
  EXPECT_FALSE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "", kVerifyValueName));
  PutValue(HKEY_CURRENT_USER, "Software\\A", "", REG_SZ, std::string("", 1));
  EXPECT_FALSE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "", kVerifyValueName));
  PutValue(HKEY_CURRENT_USER, "Software\\A", "", REG_SZ, std::string("x", 2));
  EXPECT_TRUE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "", kVerifyValueName));
  // Only the default value has this rule: a named empty string exists.
  PutValue(HKEY_CURRENT_USER, "Software\\A", "named", REG_SZ, std::string("", 1));
  EXPECT_TRUE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "named", kVerifyValueName));
}

TEST_F(ExistenceTest, ValuesOfAnyTypeExistAndOtherModesAnswerFalse) {
  PutValue(HKEY_CURRENT_USER, "Software\\A", "none", REG_NONE, "");
  PutValue(HKEY_CURRENT_USER, "Software\\A", "odd", 8, "\x01");
  EXPECT_TRUE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "none", kVerifyValueName));
  EXPECT_TRUE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "odd", kVerifyValueName));
  EXPECT_FALSE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "missing", kVerifyValueName));
  EXPECT_FALSE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "odd", 2));
  EXPECT_FALSE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\A", "odd", 255));
}

TEST_F(ExistenceTest, AKeyThatRefusesFullAccessCountsAsMissing) {
  PutValue(HKEY_CURRENT_USER, "Software\\Locked", "v", REG_SZ, std::string("x", 2));
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_CURRENT_USER, "Software\\Locked", true), 0);
  EXPECT_FALSE(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\Locked", "", kVerifyKey));
  EXPECT_ERROR_NUMBER(KeyOrValueExists(HKEY_CURRENT_USER, "Software\\Locked", "v", kVerifyValueName), 60005);
  // The topmost key to create is the first one not found: the locked key
  // exists, so only the key below it would be created.
  EXPECT_EQ(FirstMissingKey(HKEY_CURRENT_USER, "Software\\Locked\\X"), "Software\\Locked\\X");
  EXPECT_EQ(FirstMissingKey(HKEY_CURRENT_USER, "Software\\Locked"), "");
}

TEST_F(ExistenceTest, FirstMissingKeyNamesTheTopmostKeyToCreate) {
  PutKey(HKEY_CURRENT_USER, "A");
  EXPECT_EQ(FirstMissingKey(HKEY_CURRENT_USER, "A\\B\\C"), "A\\B");
  EXPECT_EQ(FirstMissingKey(HKEY_CURRENT_USER, "A\\B\\C\\D"), "A\\B");
  EXPECT_EQ(FirstMissingKey(HKEY_CURRENT_USER, "A\\B"), "A\\B");
  EXPECT_EQ(FirstMissingKey(HKEY_CURRENT_USER, "A"), "");
  EXPECT_EQ(FirstMissingKey(HKEY_CURRENT_USER, "Z\\Y"), "Z");
  EXPECT_EQ(FirstMissingKey(HKEY_CURRENT_USER, ""), "");
  PutKey(HKEY_CURRENT_USER, "A\\B\\C");
  EXPECT_EQ(FirstMissingKey(HKEY_CURRENT_USER, "A\\B\\C"), "");
}

}  // namespace
}  // namespace orvane
