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
#include "platform/registry_store.h"
#include "store_test_util.h"
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

}  // namespace
}  // namespace orvane::testing
