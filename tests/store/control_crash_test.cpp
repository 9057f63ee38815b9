// Processes of the control killed at random moments: while terminating a
// control clears a journal that holds a large deleted subtree, while Undo
// brings such a subtree back, and while Backup writes the backup file.
// Each kill must leave a whole state: the journal whole or gone, the
// subtree all restored (and its record gone) or not at all, the backup
// file the old one or the complete new one.
//
// The moments are spread over the length of one unkilled run of the same
// step, measured first, so that most kills land inside the step; what is
// checked never depends on where they land.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "child_process.h"
#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/temp_registry.h"

extern char** environ;

namespace orvane::testing {
namespace {

using Clock = std::chrono::steady_clock;
using platform::RegistryMethodScope;

constexpr int kJournalRounds = 45;
constexpr int kBackupRounds = 20;
constexpr int kFanOut = 40;  // the subtree: a key, 40 children, 40 grandchildren each
constexpr int kSubtreeKeys = 1 + kFanOut + kFanOut * kFanOut;
constexpr const char* kSubtree = "Software\\Big";
constexpr const char* kProductKey = "SOFTWARE\\Orvane";

void BuildSubtree() {
  RegistryMethodScope method;
  for (int i = 0; i < kFanOut; ++i) {
    for (int j = 0; j < kFanOut; ++j) {
      const std::string path = std::string(kSubtree) + "\\C" + std::to_string(i) + "\\G" + std::to_string(j);
      ASSERT_EQ(WriteText(path, "v", std::to_string(i * kFanOut + j)), ERROR_SUCCESS);
    }
  }
}

// The keys of the subtree at `path` under `root`, itself included; -1 when
// it does not open.
int CountKeys(HKEY root, const std::string& path) {
  OwnedKey key;
  if (OpenKey(root, path, key) != ERROR_SUCCESS) return -1;
  int count = 1;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    count += CountKeys(key.get(), name);
  }
  return count;
}

// The direct sub-keys of `path` under `root`; -1 when it does not open.
int SubKeyCount(HKEY root, const std::string& path) {
  OwnedKey key;
  if (OpenKey(root, path, key) != ERROR_SUCCESS) return -1;
  DWORD sub_keys = 0;
  RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr);
  return static_cast<int>(sub_keys);
}

// The names of the product key's sub-keys starting with `prefix`.
std::vector<std::string> ProductChildren(const std::string& prefix) {
  std::vector<std::string> names;
  OwnedKey product;
  if (OpenKey(HKEY_LOCAL_MACHINE, kProductKey, product) != ERROR_SUCCESS) return names;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(product.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (std::string(name).rfind(prefix, 0) == 0) names.emplace_back(name);
  }
  return names;
}

// The records of every journal left in the store, as "journal: records,
// keys of the first record's saved data" lines; a whole journal of one
// deletion reads "Undo-<n>: 1 record, <kSubtreeKeys> saved".
std::string JournalStates() {
  std::string states;
  for (const std::string& journal : ProductChildren("Undo-")) {
    const std::string path = std::string(kProductKey) + "\\" + journal;
    const int records = SubKeyCount(HKEY_LOCAL_MACHINE, path);
    states += journal + ": " + std::to_string(records) + " record, " +
              std::to_string(CountKeys(HKEY_LOCAL_MACHINE, path + "\\Undo#0\\OldValue")) + " saved\n";
  }
  return states;
}

const std::string kWholeRecord = ": 1 record, " + std::to_string(kSubtreeKeys) + " saved\n";

// Exactly one journal, holding the whole recorded deletion.
bool OneWholeJournal(const std::string& states) {
  return states.find('\n') + 1 == states.size() && states.size() >= kWholeRecord.size() &&
         states.compare(states.size() - kWholeRecord.size(), kWholeRecord.size(), kWholeRecord) == 0;
}

// Starts control_child with `command`, waits for its line announcing the
// step, and kills it `delay` later; a negative delay waits for "done"
// instead and returns how long the step took.
Clock::duration RunJournalChild(const std::string& command, Clock::duration delay) {
  RunningChild child({command, kSubtree});
  const std::string announced = child.ReadLine();
  EXPECT_TRUE(announced == "clearing" || announced == "undoing") << announced;
  const Clock::time_point start = Clock::now();
  if (delay < Clock::duration::zero()) {
    EXPECT_EQ(child.ReadLine(), "done");
    const Clock::duration took = Clock::now() - start;
    EXPECT_EQ(child.Wait(), 0);
    return took;
  }
  std::this_thread::sleep_for(delay);
  child.Kill();
  return {};
}

// Kill moments spread over 0 .. 1.3 times `step`, the same in every run.
std::vector<Clock::duration> KillMoments(Clock::duration step, int rounds) {
  std::mt19937 generator(20261209);
  std::uniform_real_distribution<double> fraction(0.0, 1.3);
  std::vector<Clock::duration> moments;
  for (int i = 0; i < rounds; ++i) {
    moments.push_back(std::chrono::duration_cast<Clock::duration>(step * fraction(generator)));
  }
  return moments;
}

TEST(ControlCrash, KillWhileTerminatingLeavesTheJournalWholeOrGone) {
  TempRegistry registry;
  BuildSubtree();
  const Clock::duration step = RunJournalChild("delete-then-end", Clock::duration(-1));
  ASSERT_EQ(JournalStates(), "");
  int round = 0;
  for (Clock::duration moment : KillMoments(step, kJournalRounds)) {
    BuildSubtree();
    RunJournalChild("delete-then-end", moment);
    const std::string states = JournalStates();
    EXPECT_TRUE(states.empty() || OneWholeJournal(states)) << "round " << round << ":\n" << states;
    EXPECT_EQ(ProductChildren("TempUndo-").size(), 0u) << "round " << round;
    EXPECT_EQ(CountKeys(HKEY_CURRENT_USER, kSubtree), -1) << "round " << round;
    ++round;
  }
  EXPECT_EQ(IntegrityCheck(registry.file()), "ok");
}

TEST(ControlCrash, KillWhileUndoingRestoresTheWholeSubtreeOrNothing) {
  TempRegistry registry;
  BuildSubtree();
  const Clock::duration step = RunJournalChild("delete-then-undo", Clock::duration(-1));
  ASSERT_EQ(CountKeys(HKEY_CURRENT_USER, kSubtree), kSubtreeKeys);
  int round = 0;
  for (Clock::duration moment : KillMoments(step, kJournalRounds)) {
    if (CountKeys(HKEY_CURRENT_USER, kSubtree) == -1) BuildSubtree();
    RunJournalChild("delete-then-undo", moment);
    const int restored = CountKeys(HKEY_CURRENT_USER, kSubtree);
    const std::string states = JournalStates();
    if (restored == -1) {
      // Not undone: the record is there, whole, to undo later.
      EXPECT_TRUE(OneWholeJournal(states)) << "round " << round << ":\n" << states;
    } else {
      EXPECT_EQ(restored, kSubtreeKeys) << "round " << round;
      EXPECT_EQ(states.find(": 1 record"), std::string::npos) << "round " << round << ":\n" << states;
    }
    ++round;
  }
  EXPECT_EQ(IntegrityCheck(registry.file()), "ok");
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs quorvel's Backup in a process group of its own (the editor it
// starts included); kills the whole group `delay` after the start, or with
// a negative delay waits for the end and returns how long it took.
Clock::duration RunBackup(Clock::duration delay) {
  std::vector<std::string> args = {QUORVEL_PROGRAM, "-e", "Backup"};
  std::vector<char*> argv = {args[0].data(), args[1].data(), args[2].data(), nullptr};
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const Clock::time_point start = Clock::now();
  pid_t child = -1;
  const int spawned = posix_spawn(&child, QUORVEL_PROGRAM, &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  EXPECT_EQ(spawned, 0);
  if (spawned != 0) return {};
  int status = 0;
  if (delay < Clock::duration::zero()) {
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return Clock::now() - start;
  }
  std::this_thread::sleep_for(delay);
  kill(-child, SIGKILL);
  // The editor died with the group: nothing writes the file any more.
  waitpid(child, &status, 0);
  return {};
}

// Backup's header and end marker go into a new file that replaces the old
// one only when complete, so a kill at any moment leaves one or the other.
TEST(ControlCrash, KillDuringBackupLeavesTheOldBackupOrTheCompleteNewOne) {
  TempRegistry registry;
  const std::filesystem::path backup = registry.path() / "Registry.orv";
  ASSERT_EQ(WriteText("Software\\Backed", "round", "first"), ERROR_SUCCESS);
  platform::CommitPendingRegistryWrites();
  const Clock::duration step = RunBackup(Clock::duration(-1));
  std::string old_bytes = ReadBytes(backup);
  ASSERT_NE(old_bytes, "<missing>");
  int round = 0;
  for (Clock::duration moment : KillMoments(step, kBackupRounds)) {
    ASSERT_EQ(WriteText("Software\\Backed", "round", std::to_string(round)), ERROR_SUCCESS);
    platform::CommitPendingRegistryWrites();
    RunBackup(moment);
    const std::string left = ReadBytes(backup);
    RunBackup(Clock::duration(-1));
    const std::string new_bytes = ReadBytes(backup);
    EXPECT_TRUE(left == old_bytes || left == new_bytes)
        << "round " << round << ": " << left.size() << " bytes left, old " << old_bytes.size() << ", new "
        << new_bytes.size();
    old_bytes = new_bytes;
    ++round;
  }
}

}  // namespace
}  // namespace orvane::testing
