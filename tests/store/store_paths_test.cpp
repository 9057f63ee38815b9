// One store reached through different paths is one store: a change held
// uncommitted by a process that opened it through a symbolic link is seen
// by a process that opened it through its real path, and every file beside
// the store is named from the real path.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"
#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

class StorePaths : public ::testing::Test {
 protected:
  // Starts a holder of `name` = "kept" that opens the store through `path`.
  void HoldThrough(const std::filesystem::path& path, const std::string& name) {
    const std::string own = std::getenv("ORVANE_REGISTRY");
    setenv("ORVANE_REGISTRY", path.c_str(), 1);
    holder_.emplace(std::vector<std::string>{"hold", "Software\\Paths", name, "kept"});
    setenv("ORVANE_REGISTRY", own.c_str(), 1);
    ASSERT_EQ(holder_->ReadLine(), "ready");
  }
  TempRegistry registry_;
  std::optional<RunningChild> holder_;
};

TEST_F(StorePaths, ChangeHeldThroughALinkToTheFileIsSeenThroughTheRealPath) {
  const std::filesystem::path link = registry_.path() / "link.db";
  std::filesystem::create_symlink(registry_.file(), link);
  HoldThrough(link, "ThroughLink");
  EXPECT_EQ(ReadText("Software\\Paths", "ThroughLink"), "kept");
  EXPECT_FALSE(std::filesystem::exists(registry_.path() / "link.db-commit"));
}

}  // namespace
}  // namespace orvane::testing
