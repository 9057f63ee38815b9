// A fresh registry store and one control per test, on the NT platform
// unless a test switches; Find results printed one row per line so a test
// compares them whole.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "keyops/registry_text.h"
#include "orvane/container.h"
#include "orvane/quorvel.h"
#include "registry/nt_platform.h"
#include "support/temp_registry.h"

namespace orvane::testing {

inline constexpr int32_t kWhole = 0;
inline constexpr int32_t kPartial = 1;

// The option flags of a Find or Replace call.
struct Flags {
  bool keys = false;
  bool names = false;
  bool data = false;
  bool all_registry = false;
};

class SearchTest : public ::testing::Test {
 protected:
  SearchTest() {
    SetNtPlatformForTesting(true);
    control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software");
  }
  ~SearchTest() override { SetNtPlatformForTesting(true); }

  Variant Find(std::string text, int32_t mode, Flags flags, int32_t window = 0) {
    Variant reserved = Variant::Long(0);
    return control_.Find(text, mode, flags.keys, flags.names, flags.data, reserved, flags.all_registry, window);
  }
  int32_t Replace(std::string text, std::string with, int32_t mode, Flags flags, int32_t window = 0) {
    Variant reserved = Variant::Long(0);
    return control_.Replace(text, with, mode, flags.keys, flags.names, flags.data, reserved, flags.all_registry,
                            window);
  }

  // Whether HKEY_CURRENT_USER\Software holds keys besides the test's own
  // "Test": a fresh store has none, the system registry of Windows holds
  // other programs' keys there, which searches from Software also find.
  static bool SoftwareHoldsOtherKeys() { return SubKeyCount(HKEY_CURRENT_USER, "Software") > 1; }

  TempRegistry registry_;
  NullContainer container_;
  Quorvel control_{container_};
};

// "root|path|name|data|type" per row, a cell Empty shown as "-".
std::string RowsText(const Variant& result);

}  // namespace orvane::testing
