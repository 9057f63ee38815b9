// Root views resolve to the keys the registry actually shows through them,
// on both emulated platforms, and containment sees through them.
#include <gtest/gtest.h>

#include "keyops/registry_text.h"
#include "keyops/root_views.h"
#include "platform/os_version.h"
#include "registry/scoped_key.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

class RootViewsTest : public ::testing::TestWithParam<platform::EmulatedPlatform> {
 protected:
  RootViewsTest() { platform::OverridePlatform(GetParam()); }
  ~RootViewsTest() override { platform::OverridePlatform(platform::EmulatedPlatform::kNt); }

  TempRegistry registry_;
};

TEST_P(RootViewsTest, AValueWrittenThroughAViewIsFoundAtTheResolvedKey) {
  for (HKEY view : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_CURRENT_CONFIG}) {
    SCOPED_TRACE(RootValue(view));
    testing::PutString(view, "Probe\\Inner", "v", "seen");
    const KeyLocation resolved = ResolveRootView(view, "Probe\\Inner");
    EXPECT_NE(resolved.root, view);
    EXPECT_EQ(testing::StringAt(resolved.root, resolved.path, "v"), "seen");
  }
}

TEST_P(RootViewsTest, ContainmentComparesWholeNamesThroughViews) {
  const KeyLocation software{HKEY_LOCAL_MACHINE, "SOFTWARE"};
  EXPECT_TRUE(IsSameOrInside({HKEY_CLASSES_ROOT, ""}, software));
  EXPECT_TRUE(IsSameOrInside({HKEY_CLASSES_ROOT, "x\\y"}, {HKEY_LOCAL_MACHINE, "software\\CLASSES\\X"}));
  EXPECT_FALSE(IsSameOrInside({HKEY_LOCAL_MACHINE, "SOFTWARE2"}, software));
  EXPECT_FALSE(IsSameOrInside(software, {HKEY_CLASSES_ROOT, ""}));
  EXPECT_TRUE(IsSameOrInside({HKEY_CURRENT_USER, "A"}, {HKEY_USERS, ""}));
  EXPECT_TRUE(IsSameOrInside({HKEY_CURRENT_CONFIG, ""}, {HKEY_LOCAL_MACHINE, ""}));
  EXPECT_FALSE(IsSameOrInside({HKEY_CURRENT_USER, "A"}, {HKEY_LOCAL_MACHINE, ""}));
  // Unnormalised paths compare by their names.
  EXPECT_TRUE(IsSameOrInside({HKEY_LOCAL_MACHINE, "\\A\\\\B\\"}, {HKEY_LOCAL_MACHINE, "a"}));
}

INSTANTIATE_TEST_SUITE_P(Platforms, RootViewsTest,
                         ::testing::Values(platform::EmulatedPlatform::kNt, platform::EmulatedPlatform::kWin9x),
                         [](const auto& info) {
                           return info.param == platform::EmulatedPlatform::kNt ? "Nt" : "Win9x";
                         });

}  // namespace
}  // namespace orvane
