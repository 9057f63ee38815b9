// The main of every test program. Where the store and the history live
// (HOME, the XDG folders, ORVANE_REGISTRY) is pointed into the build tree,
// so that no test can reach the user's own registry store, and the settings
// a user may keep in the environment (dialogs as text, another commit delay
// or wait limit, the 9x platform) are cleared, so that each test sees the
// component's defaults unless it sets a variable itself. Programs a test
// starts inherit this environment; a test program started by a test (a
// child running one case) keeps the environment its parent test gave it.
// (It is set here rather than by CTest, whose test discovery cannot pass a
// list of variables on.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/environment.h"

namespace {

void UseTestHome() {
  const std::string home = ORVANE_TEST_HOME;
  orvane::testing::SetEnvironment("HOME", home.c_str());
  for (const char* folder : {"DATA", "STATE", "CONFIG", "CACHE"}) {
    const std::string name = std::string("XDG_") + folder + "_HOME";
    const std::string value = home + "/" + folder;
    orvane::testing::SetEnvironment(name.c_str(), value.c_str());
  }
  orvane::testing::SetEnvironment("ORVANE_REGISTRY", (home + "/default-registry.db").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  constexpr const char* kInsideTests = "ORVANE_TEST_PROGRAM_RUNNING";
  if (std::getenv(kInsideTests) == nullptr) {
    UseTestHome();
    for (const char* name : {"ORVANE_DIALOGS", "ORVANE_PLATFORM", "ORVANE_COMMIT_DELAY_MS", "ORVANE_WAIT_LIMIT_MS"}) {
      orvane::testing::UnsetEnvironment(name);
    }
    orvane::testing::SetEnvironment(kInsideTests, "1");
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
