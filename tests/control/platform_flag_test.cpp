// The NT platform flag comes from the system's version record when a
// control is created, and only ever switches on.
#include <gtest/gtest.h>

#include "control/control_fixture.h"
#include "platform/os_version.h"
#include "registry/expect_error.h"
#include "registry/nt_platform.h"

namespace orvane {
namespace {

constexpr int32_t kDynData = static_cast<int32_t>(0x80000006u);

class PlatformFlag : public ::testing::Test {
 protected:
  ~PlatformFlag() override {
    platform::OverridePlatform(platform::EmulatedPlatform::kNt);
    SetNtPlatformForTesting(true);
  }
  TempRegistry registry_;
  RecordingContainer container_;
};

TEST_F(PlatformFlag, OlderPlatformAllowsDynData) {
  platform::OverridePlatform(platform::EmulatedPlatform::kWin9x);
  SetNtPlatformForTesting(false);
  Quorvel control(container_);
  control.InitProperties();
  EXPECT_FALSE(NtPlatform());
  control.hKey(kDynData);
  EXPECT_EQ(control.GlobalKeyPath(), "HKEY_DYN_DATA");
  control.GlobalKeyPath("hkey_dyn_data\\PerfStats");
  EXPECT_EQ(control.GlobalKeyPath(), "HKEY_DYN_DATA\\PerfStats");
}

TEST_F(PlatformFlag, NtPlatformRefusesDynDataWith60998) {
  platform::OverridePlatform(platform::EmulatedPlatform::kNt);
  SetNtPlatformForTesting(false);
  Quorvel control(container_);
  control.InitProperties();
  EXPECT_TRUE(NtPlatform());
  EXPECT_ERROR_NUMBER(control.hKey(kDynData), 60998);
  EXPECT_ERROR_NUMBER(control.GlobalKeyPath("HKEY_DYN_DATA"), 60998);
}

TEST_F(PlatformFlag, NeverSwitchesBackOff) {
  platform::OverridePlatform(platform::EmulatedPlatform::kNt);
  Quorvel first(container_);
  platform::OverridePlatform(platform::EmulatedPlatform::kWin9x);
  Quorvel second(container_);
  EXPECT_TRUE(NtPlatform());
}

}  // namespace
}  // namespace orvane
