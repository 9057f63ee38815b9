// The store's rollback scope, which key moves rest on: what it undoes and
// what it leaves, inside method groups and over held changes.
#include <gtest/gtest.h>

#include <stdexcept>

#include "keyops/registry_text.h"
#include "store/registry_store.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;
using platform::RegistryMethodScope;
using platform::RegistryRollbackScope;

class RollbackScopeTest : public ::testing::Test {
 protected:
  TempRegistry registry_;
};

TEST_F(RollbackScopeTest, UndoesItsChangesUnlessKept) {
  PutString(HKEY_CURRENT_USER, "Before", "v", "old");
  const std::string before = TreeText(HKEY_CURRENT_USER, "");
  {
    RegistryRollbackScope unit;
    PutString(HKEY_CURRENT_USER, "Before", "v", "new");
    PutString(HKEY_CURRENT_USER, "Made\\Deep", "w", "1");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Before");
  }
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before);
  {
    RegistryRollbackScope unit;
    PutString(HKEY_CURRENT_USER, "Kept", "k", "1");
    unit.Keep();
  }
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Kept", "k"), "1");
}

TEST_F(RollbackScopeTest, AnExceptionUndoesOnlyTheInnerScopeOfAGroup) {
  platform::SetRegistryCommitDelay(std::chrono::milliseconds(60000));
  PutString(HKEY_CURRENT_USER, "Held", "h", "1");  // held, not committed yet
  {
    RegistryMethodScope method;
    PutString(HKEY_CURRENT_USER, "Group", "g", "1");
    try {
      RegistryRollbackScope unit;
      PutString(HKEY_CURRENT_USER, "Inner", "i", "1");
      throw std::runtime_error("failed step");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Inner"));
    PutString(HKEY_CURRENT_USER, "After", "a", "1");
  }
  platform::CommitPendingRegistryWrites();
  platform::SetRegistryCommitDelay(std::chrono::milliseconds(20));
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Held", "h"), "1");
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Group", "g"), "1");
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "After", "a"), "1");
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Inner"));
}

}  // namespace
}  // namespace orvane
