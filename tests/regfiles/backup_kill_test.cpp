// Killing the script host (and the editor it started) at random moments
// while it makes a backup: the earlier backup is always there whole, byte
// for byte, private and with its end marker. The temporary files a killed
// Backup or Export left go with the next write to the same file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <vector>

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

// Starts `quorvel --registry STORE -e STATEMENTS` (the program `quorvel`)
// in a process group of its own.
pid_t StartBackup(const std::string& store, const char* statements = "Backup",
                  const std::string& quorvel = QUORVEL_PROGRAM) {
  const pid_t child = fork();
  if (child == 0) {
    setpgid(0, 0);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    execl(quorvel.c_str(), quorvel.c_str(), "--registry", store.c_str(), "-e", statements, static_cast<char*>(nullptr));
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

// The hidden files in `folder`.
std::vector<std::string> DotFiles(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.front() == '.') names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(BackupKill, TheTemporaryFilesOfAKilledBackupAndExportGoWithTheNextOnes) {
  TempDir work;
  const std::string store = (work.path() / "registry.db").string();
  const std::string out = (work.path() / "out").string();
  const std::string export_statement = "Export \"" + out + "\", True";
  {
    // A copy of quorvel beside an editor that never finishes (the program's
    // own folder is searched first): the control waits with its new file
    // beside the target until it is killed.
    TempDir programs;
    const std::filesystem::path quorvel = programs.path() / "quorvel";
    std::filesystem::copy_file(QUORVEL_PROGRAM, quorvel);
    std::ofstream(programs.path() / "orvane-regedit") << "#!/bin/sh\nexec /bin/sleep 60\n";
    std::filesystem::permissions(programs.path() / "orvane-regedit", std::filesystem::perms::owner_all);
    for (const char* statements : {"Backup", export_statement.c_str()}) {
      const size_t before = DotFiles(work.path()).size();
      const pid_t child = StartBackup(store, statements, quorvel);
      ASSERT_GT(child, 0);
      for (int wait = 0; wait < 3000 && DotFiles(work.path()).size() == before; ++wait) usleep(10000);
      kill(-child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
  }
  const std::vector<std::string> left = DotFiles(work.path());
  ASSERT_EQ(left.size(), 2u) << ::testing::PrintToString(left);
  EXPECT_EQ(left[0].rfind(".Registry.orv.", 0), 0u) << left[0];
  EXPECT_EQ(left[1].rfind(".out.reg.", 0), 0u) << left[1];
  // Time passes: nobody holds them, and they have not changed for long.
  for (const std::string& name : left) {
    const timespec past{std::time(nullptr) - 3600, 0};
    const timespec times[2] = {past, past};
    ASSERT_EQ(utimensat(AT_FDCWD, (work.path() / name).c_str(), times, 0), 0);
  }
  testing::FakePrograms programs;
  std::filesystem::copy_file(REGEDIT_PROGRAM, programs.dir() / "orvane-regedit");
  const auto run = RunQuorvel({"--registry", store, "-e", "Backup: " + export_statement}, work.path());
  ASSERT_EQ(run.status, 0) << Transcript(run);
  EXPECT_EQ(DotFiles(work.path()), std::vector<std::string>{});
  EXPECT_TRUE(std::filesystem::exists(work.path() / "Registry.orv"));
  EXPECT_TRUE(std::filesystem::exists(work.path() / "out.reg"));
}

}  // namespace
}  // namespace orvane
