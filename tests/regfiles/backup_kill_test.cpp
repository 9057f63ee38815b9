// Killing the script host (and the editor it started) at random moments
// while it makes a backup: the earlier backup is always there whole, byte
// for byte, private and with its end marker.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <fstream>
#include <random>

#include "about/fake_program.h"
#include "quorvel/run_program.h"

namespace orvane {
namespace {

using quorvel::testing::ReadFile;
using quorvel::testing::RunQuorvel;
using quorvel::testing::TempDir;
using quorvel::testing::Transcript;

constexpr int kRounds = 10;
constexpr char kEndLine[] = "; End of the Orvane registry backup\r\n";

// Starts `quorvel --registry STORE -e Backup` in a process group of its own.
pid_t StartBackup(const std::string& store) {
  const pid_t child = fork();
  if (child == 0) {
    setpgid(0, 0);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execl(QUORVEL_PROGRAM, QUORVEL_PROGRAM, "--registry", store.c_str(), "-e", "Backup", static_cast<char*>(nullptr));
    _exit(127);
  }
  if (child > 0) setpgid(child, child);
  return child;
}

TEST(BackupKill, AKilledBackupLeavesTheEarlierBackupWhole) {
  testing::FakePrograms programs;
  std::filesystem::copy_file(REGEDIT_PROGRAM, programs.dir() / "orvane-regedit");
  TempDir work;
  const std::string store = (work.path() / "registry.db").string();
  const auto first = RunQuorvel({"--registry", store, "-e", "Backup"}, work.path());
  ASSERT_EQ(first.status, 0) << Transcript(first);
  const std::filesystem::path backup = work.path() / "Registry.orv";
  const std::string before = ReadFile(backup);
  ASSERT_GT(before.size(), sizeof(kEndLine));
  ASSERT_EQ(before.substr(before.size() - (sizeof(kEndLine) - 1)), kEndLine);
  std::mt19937 random(2024);
  for (int round = 0; round < kRounds; ++round) {
    const pid_t child = StartBackup(store);
    ASSERT_GT(child, 0);
    usleep(std::uniform_int_distribution<useconds_t>(0, 1500000)(random));
    kill(-child, SIGKILL);
    waitpid(child, nullptr, 0);
    // The same registry backs up to the same bytes: old or new, it is these.
    ASSERT_EQ(ReadFile(backup), before) << "round " << round;
    struct stat info {};
    ASSERT_EQ(stat(backup.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0400u);
  }
}

}  // namespace
}  // namespace orvane
