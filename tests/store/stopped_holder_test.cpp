// A process that holds uncommitted changes and is then stopped (SIGSTOP)
// cannot commit them when asked. Every call of another process gives up
// after its wait limit with 170 (busy), instead of answering from the
// committed state without the held change; once the holder runs again,
// the change is there.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>

#include "child_process.h"
#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

using platform::SetRegistryWaitLimit;

class StoppedHolder : public ::testing::Test {
 protected:
  void SetUp() override { SetRegistryWaitLimit(std::chrono::milliseconds(200)); }
  void TearDown() override { SetRegistryWaitLimit(platform::kRegistryWaitLimit); }
  TempRegistry registry_;
};

TEST_F(StoppedHolder, CallsFailBusyInsteadOfAnsweringWithoutTheHeldChange) {
  ASSERT_EQ(WriteText("Software\\Stopped", "Before", "committed"), ERROR_SUCCESS);
  ASSERT_EQ(platform::CommitRegistryWrites(), ERROR_SUCCESS);
  RunningChild holder({"hold", "Software\\Stopped\\Held", "Name", "kept"});
  ASSERT_EQ(holder.ReadLine(), "ready");
  ASSERT_EQ(kill(holder.pid(), SIGSTOP), 0);
  // kill() returns before every thread of the child has stopped; until
  // then its commit thread could still answer a request. Wait for the stop.
  int state = 0;
  ASSERT_EQ(waitpid(holder.pid(), &state, WUNTRACED), holder.pid());
  ASSERT_TRUE(WIFSTOPPED(state));

  const std::string busy = "status " + std::to_string(ERROR_BUSY);
  EXPECT_EQ(ReadText("Software\\Stopped\\Held", "Name"), busy);
  EXPECT_EQ(ReadText("Software\\Stopped", "Before"), busy);
  EXPECT_EQ(WriteText("Software\\Stopped", "After", "new"), ERROR_BUSY);
  OwnedKey key;
  EXPECT_EQ(OpenKey(HKEY_CURRENT_USER, "Software\\Stopped\\Held", key), ERROR_BUSY);

  ASSERT_EQ(kill(holder.pid(), SIGCONT), 0);
  SetRegistryWaitLimit(platform::kRegistryWaitLimit);
  EXPECT_EQ(ReadText("Software\\Stopped\\Held", "Name"), "kept");
  ASSERT_EQ(WriteText("Software\\Stopped", "After", "new"), ERROR_SUCCESS);
  EXPECT_EQ(ReadText("Software\\Stopped", "After"), "new");
}

// The control's methods meeting a stopped holder raise 60170 once their
// wait is over: an existence check never answers False for a key that
// exists, a copy never reports its source missing, a count never answers.
TEST_F(StoppedHolder, ControlMethodsRaiseBusyInsteadOfAnswering) {
  ASSERT_EQ(WriteText("Software\\T\\Sub", "Before", "committed"), ERROR_SUCCESS);
  ASSERT_EQ(platform::CommitRegistryWrites(), ERROR_SUCCESS);
  RunningChild holder({"hold", "Software\\Held", "Name", "kept"});
  ASSERT_EQ(holder.ReadLine(), "ready");
  ASSERT_EQ(kill(holder.pid(), SIGSTOP), 0);
  int state = 0;
  ASSERT_EQ(waitpid(holder.pid(), &state, WUNTRACED), holder.pid());

  setenv("ORVANE_WAIT_LIMIT_MS", "300", 1);
  const ProgramOutput run = RunProgram(QUORVEL_PROGRAM, {"--no-dialogs", "-e",
      "GlobalKeyPath = \"HKEY_CURRENT_USER\\Software\\T\": Print VerifyExistence(VerifyKey): "
      "CopyKey HKEY_CURRENT_USER, \"Software\\C\\T\": Print Count(0, 1)"});
  unsetenv("ORVANE_WAIT_LIMIT_MS");
  EXPECT_EQ(run.status, 1);
  const std::string busy =
      "Error 60170: The registry is busy: another process has kept it locked for longer than a registry call waits.\n";
  EXPECT_EQ(run.out, busy + busy + busy);
  ASSERT_EQ(kill(holder.pid(), SIGCONT), 0);
}

}  // namespace
}  // namespace orvane::testing
