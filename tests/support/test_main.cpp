// The main of every test program: the settings a user may keep in the
// environment (dialogs as text, another commit delay or wait limit, the
// 9x platform) are cleared before any test runs, so that each test sees
// the component's defaults unless it sets a variable itself. Programs a
// test starts inherit the cleared environment. Where the store and the
// history live (HOME, XDG_*, ORVANE_REGISTRY) is set by CTest for each
// test, into the build tree.
#include <gtest/gtest.h>

#include "support/environment.h"

int main(int argc, char** argv) {
  for (const char* name : {"ORVANE_DIALOGS", "ORVANE_PLATFORM", "ORVANE_COMMIT_DELAY_MS", "ORVANE_WAIT_LIMIT_MS"}) {
    orvane::testing::UnsetEnvironment(name);
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
