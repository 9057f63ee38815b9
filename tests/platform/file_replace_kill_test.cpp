// Killing a process while it replaces a file, at many moments: the file is
// always either the old contents or the new, complete.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "platform/file_replace.h"
#include "support/temp_registry.h"

namespace orvane::platform {
namespace {

constexpr int kRounds = 40;

std::string Read(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(FileReplaceKill, AKilledWriterLeavesTheOldOrTheNewFileWhole) {
  TempRegistry folder;
  const std::string file = (folder.path() / "big.reg").string();
  const std::string first(3 << 20, 'a'), second((2 << 20) + 7, 'b');
  ASSERT_EQ(ReplaceFileContents(file, first), 0);
  std::mt19937 random(12345);
  for (int round = 0; round < kRounds; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) ReplaceFileContents(file, i % 2 == 0 ? second : first);
    }
    usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string text = Read(file);
    ASSERT_TRUE(text == first || text == second) << "round " << round << ": " << text.size() << " bytes";
  }
}

}  // namespace
}  // namespace orvane::platform
