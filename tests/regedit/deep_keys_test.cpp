// The editor program's walks at any depth a store holds: export and key
// deletion of a chain far deeper than the registry lets anyone create.
#include <gtest/gtest.h>

#include <string>

#include "store/registry_store.h"
#include "support/deep_chain.h"
#include "support/temp_registry.h"
#include "tools/regedit/reg_export.h"
#include "tools/regedit/reg_import.h"

namespace orvane {
namespace {

constexpr int64_t kLevels = 100000;

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(RegeditDeepKeys, ExportAndDeletionWalkEveryLevel) {
  TempRegistry registry;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_USERS, "Old", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
  RegCloseKey(key);
  platform::CommitPendingRegistryWrites();
  testing::AppendDeepChain(registry.file(), kLevels);
  std::string text, error;
  ASSERT_EQ(regedit::ExportRegistry("HKEY_USERS\\Old", &text, &error), ERROR_SUCCESS) << error;
  EXPECT_EQ(Count(text, "[HKEY_USERS\\Old"), static_cast<size_t>(kLevels) + 1);
  EXPECT_EQ(Count(text, "\"v\"=\"needle\""), 1u);
  EXPECT_EQ(regedit::DeleteKeyTree(HKEY_USERS, "Old"), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyExA(HKEY_USERS, "Old", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace orvane
