// Deferred commits seen from several processes: a change its writer still
// holds uncommitted is visible to every other process once its call has
// returned, outlives the writer once anyone has seen it, is committed at a
// normal exit, and a killed holder stalls nobody. A method group writing on
// top of held changes is seen whole or not at all; one that only reads
// gives them away while it runs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "child_process.h"
#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

using platform::RegistryMethodScope;
using platform::SetRegistryCommitDelay;

constexpr auto kLongDelay = std::chrono::minutes(1);

class DeferredCommit : public ::testing::Test {
 protected:
  void TearDown() override { SetRegistryCommitDelay(std::chrono::milliseconds(20)); }
  TempRegistry registry_;
};

TEST_F(DeferredCommit, HeldChangeIsSeenAtOnceAndOutlivesItsWriter) {
  RunningChild holder({"hold", "Software\\Held", "Name", "kept"});
  ASSERT_EQ(holder.ReadLine(), "ready");
  EXPECT_EQ(ReadText("Software\\Held", "Name"), "kept");
  holder.Kill();
  EXPECT_EQ(RunChild({"get", "Software\\Held", "Name"}).output, "kept\n");
  EXPECT_EQ(IntegrityCheck(registry_.file()), "ok");
}

TEST_F(DeferredCommit, KilledHoldersUnseenChangeIsGoneAndStallsNobody) {
  RunningChild holder({"hold", "Software\\Gone", "Name", "lost"});
  ASSERT_EQ(holder.ReadLine(), "ready");
  holder.Kill();
  EXPECT_EQ(ReadText("Software\\Gone", "Name"), "status 2");
  ASSERT_EQ(WriteText("Software\\Gone", "Name", "mine"), ERROR_SUCCESS);
  EXPECT_EQ(RunChild({"get", "Software\\Gone", "Name"}).output, "mine\n");
  EXPECT_EQ(IntegrityCheck(registry_.file()), "ok");
}

TEST_F(DeferredCommit, NormalExitCommitsWhatWasHeld) {
  ASSERT_EQ(RunChild({"set", "Software\\Exit", "Name", "saved"}, {{"ORVANE_COMMIT_DELAY_MS", "60000"}}).exit_code, 0);
  EXPECT_EQ(ReadText("Software\\Exit", "Name"), "saved");
}

TEST_F(DeferredCommit, HeldChangesAreCommittedOnceTheDelayHasPassed) {
  SetRegistryCommitDelay(std::chrono::milliseconds(20));
  ASSERT_EQ(WriteText("Software\\Delay", "Name", "due"), ERROR_SUCCESS);
  // A raw connection asks nobody: it sees the value only once it is committed.
  constexpr const char* kCount = "SELECT count(*) FROM vals WHERE name = CAST('Name' AS BLOB)";
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (SqlNumber(registry_.file(), kCount) != 1 && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(SqlNumber(registry_.file(), kCount), 1);
}

TEST_F(DeferredCommit, HoldingProcessGivesWayToReadersAndWriters) {
  SetRegistryCommitDelay(kLongDelay);
  ASSERT_EQ(WriteText("Software\\Parent", "First", "one"), ERROR_SUCCESS);
  EXPECT_EQ(RunChild({"get", "Software\\Parent", "First"}).output, "one\n");
  // Held again; the child needs the write lock that the holding transaction owns.
  ASSERT_EQ(WriteText("Software\\Parent", "Second", "two"), ERROR_SUCCESS);
  ASSERT_EQ(RunChild({"set", "Software\\Parent", "FromChild", "three"}).exit_code, 0);
  EXPECT_EQ(ReadText("Software\\Parent", "FromChild"), "three");
  EXPECT_EQ(RunChild({"get", "Software\\Parent", "Second"}).output, "two\n");
}

TEST_F(DeferredCommit, GroupWritingOnHeldChangesIsSeenWhole) {
  SetRegistryCommitDelay(kLongDelay);
  ASSERT_EQ(WriteText("Software\\Method", "Before", "held"), ERROR_SUCCESS);
  std::future<ChildResult> listing;
  {
    RegistryMethodScope method;
    OwnedKey key;
    ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, "Software\\Method\\B", key), ERROR_SUCCESS);
    // The reader asks for the held changes while the method is half done.
    listing = std::async(std::launch::async, [] { return RunChild({"subkeys", "Software\\Method"}); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, "Software\\Method\\C", key), ERROR_SUCCESS);
  }
  EXPECT_EQ(listing.get().output, "B\nC\n");
  EXPECT_EQ(ReadText("Software\\Method", "Before"), "held");
}

TEST_F(DeferredCommit, MethodReadingBackToBackStillGivesHeldChangesAway) {
  SetRegistryCommitDelay(kLongDelay);
  ASSERT_EQ(WriteText("Software\\Busy", "Name", "held"), ERROR_SUCCESS);
  std::future<ChildResult> reader;
  bool answered = false;
  {
    RegistryMethodScope method;  // reads only, one call after another
    reader = std::async(std::launch::async, [] { return RunChild({"get", "Software\\Busy", "Name"}); });
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!answered && std::chrono::steady_clock::now() < give_up) {
      ReadText("Software\\Busy", "Name");
      answered = reader.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    }
  }
  EXPECT_TRUE(answered) << "the reader had to wait for the whole method";
  EXPECT_EQ(reader.get().output, "held\n");
}

// A child forked without exec writes at once, whether the parent's commit
// thread was idle (waiting for work) or the parent held changes at the
// fork; a hang in the child's fork handling ends in the time limit.
TEST_F(DeferredCommit, ForkedChildrenWriteAtOnce) {
  platform::SetRegistryWaitLimit(std::chrono::seconds(5));
  SetRegistryCommitDelay(kLongDelay);
  for (const bool hold_at_fork : {false, true}) {
    for (int round = 0; round < 100; ++round) {
      const std::string name = "v" + std::to_string(round);
      ASSERT_EQ(WriteText("Software\\Forked", "parent", name), ERROR_SUCCESS);
      if (!hold_at_fork) {
        ASSERT_EQ(platform::CommitRegistryWrites(), ERROR_SUCCESS);
      }
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        const bool written = WriteText("Software\\Forked\\Child", name.c_str(), "x") == ERROR_SUCCESS &&
                             platform::CommitRegistryWrites() == ERROR_SUCCESS;
        _exit(written ? 0 : 1);
      }
      int state = 0;
      ASSERT_EQ(waitpid(child, &state, 0), child);
      ASSERT_TRUE(WIFEXITED(state) && WEXITSTATUS(state) == 0) << "round " << round << ", held: " << hold_at_fork;
      EXPECT_EQ(ReadText("Software\\Forked\\Child", name.c_str()), "x");
    }
  }
  EXPECT_EQ(ReadText("Software\\Forked", "parent"), "v99");
  platform::SetRegistryWaitLimit(platform::kRegistryWaitLimit);
}

}  // namespace
}  // namespace orvane::testing
