// The key meter on a terminal, with the time given by the test.
#include "tools/regedit/key_progress.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

namespace orvane::regedit {
namespace {

// The first key draws at once, later ones at most every 100 ms with the
// rate since the start; the end erases the line.
TEST(KeyProgress, DrawsTheCountAndRateAtMostTenTimesASecond) {
  std::chrono::steady_clock::time_point now{};
  std::ostringstream terminal;
  {
    KeyProgress progress("Exporting", &terminal, [&] { return now; });
    const std::vector<std::pair<int, std::string>> keys = {
        {0, "\rExporting: 1 key\x1b[K"},
        {50, ""},
        {100, "\rExporting: 3 keys, 30 keys/s\x1b[K"},
        {150, ""},
        {250, "\rExporting: 5 keys, 20 keys/s\x1b[K"},
    };
    for (const auto& [milliseconds, drawn] : keys) {
      now = std::chrono::steady_clock::time_point{} + std::chrono::milliseconds(milliseconds);
      terminal.str("");
      KeyProgress::CountKey();
      EXPECT_EQ(terminal.str(), drawn) << milliseconds;
    }
    terminal.str("");
  }
  EXPECT_EQ(terminal.str(), "\r\x1b[K");
}

}  // namespace
}  // namespace orvane::regedit
