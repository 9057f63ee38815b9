// Writes that a full disk refuses after their calls have returned: the next
// registry call fails with that failure, naming how many calls lost their
// changes; CommitRegistryWrites reports it; the programs exit with a failure
// instead of 0. The store lives on a small file system made for each test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "store/registry_store.h"
#include "registry/registry_error.h"
#include "small_file_system.h"
#include "store_test_util.h"
#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

using platform::CommitPendingRegistryWrites;
using platform::CommitRegistryWrites;
using platform::RegistryCallsLostWithLastFailure;
using platform::SetRegistryCommitDelay;

constexpr size_t kRoom = 512 * 1024;
constexpr int kCalls = 60;  // 60 values of 16 KiB: more than the room, fewer rows than commit at once
const std::string kData(16 * 1024, 'x');

// A store on a small file system, deferring commits for a minute so that
// the test decides when they happen.
class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!room_.available()) GTEST_SKIP() << "no small file system can be made here: " << room_.why_not();
    setenv("TMPDIR", room_.folder().c_str(), 1);
    registry_.emplace();
    unsetenv("TMPDIR");
    SetRegistryCommitDelay(std::chrono::minutes(1));
    ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, "Software\\Full", key_), ERROR_SUCCESS);
    ASSERT_EQ(CommitRegistryWrites(), ERROR_SUCCESS);
  }
  void TearDown() override {
    key_.Reset();
    SetRegistryCommitDelay(std::chrono::milliseconds(20));
  }

  // Writes kCalls values that fit in memory but not on the disk; each call
  // returns success, its change held for the commit.
  void WriteMoreThanFits() {
    for (int i = 0; i < kCalls; ++i) {
      const std::string name = "v" + std::to_string(i);
      ASSERT_EQ(SetText(key_.get(), name.c_str(), kData), ERROR_SUCCESS) << name;
    }
  }

  LONG ExpectedStatus() const { return room_.full_disk() ? ERROR_DISK_FULL : ERROR_CANTWRITE; }

  SmallFileSystem room_{kRoom};
  std::optional<TempRegistry> registry_;
  OwnedKey key_;
};

TEST_F(FullDisk, NextCallReturnsTheFailedCommitAndNamesTheLostCalls) {
  WriteMoreThanFits();
  CommitPendingRegistryWrites();  // fails for want of room; says nothing to its caller
  OwnedKey software;
  const LONG status = OpenKey(HKEY_CURRENT_USER, "Software", software);
  if (room_.full_disk()) {
    EXPECT_EQ(status, ERROR_DISK_FULL);
  } else {
    EXPECT_NE(status, ERROR_SUCCESS);
  }
  EXPECT_EQ(RegistryCallsLostWithLastFailure(), kCalls);
  const std::string message = MakeRegistryError(status).description;
  EXPECT_NE(message.find("The changes of 60 earlier registry calls were lost."), std::string::npos) << message;
  if (room_.full_disk()) {
    EXPECT_EQ(MakeRegistryError(status).number, 60112);
  }
  // Reported once: the calls after it work on what the store holds, which
  // has none of the lost values.
  EXPECT_EQ(OpenKey(HKEY_CURRENT_USER, "Software", software), ERROR_SUCCESS);
  EXPECT_EQ(RegistryCallsLostWithLastFailure(), 0);
  EXPECT_EQ(GetText(key_.get(), "v0"), "status 2");
  EXPECT_EQ(SqlNumber(registry_->file(), "SELECT count(*) FROM vals"), SqlNumber(registry_->file(), "SELECT count(*) FROM vals WHERE length(data) < 1000"));
}

TEST_F(FullDisk, CommitRegistryWritesReportsTheFailure) {
  WriteMoreThanFits();
  const LONG status = CommitRegistryWrites();
  if (room_.full_disk()) {
    EXPECT_EQ(status, ERROR_DISK_FULL);
  } else {
    EXPECT_NE(status, ERROR_SUCCESS);
  }
  EXPECT_EQ(RegistryCallsLostWithLastFailure(), kCalls);
  EXPECT_EQ(CommitRegistryWrites(), ERROR_SUCCESS);  // nothing is left to commit
  EXPECT_EQ(GetText(key_.get(), "v0"), "status 2");
}

TEST_F(FullDisk, FailedGroupCommitIsReturnedByTheNextCall) {
  {
    platform::RegistryMethodScope group;
    WriteMoreThanFits();
    SetRegistryCommitDelay(std::chrono::milliseconds(0));  // the group commits at its end
  }
  EXPECT_EQ(GetText(key_.get(), "v0"), "status " + std::to_string(ExpectedStatus()));
  EXPECT_EQ(RegistryCallsLostWithLastFailure(), kCalls);
  EXPECT_EQ(GetText(key_.get(), "v0"), "status 2");
}

TEST_F(FullDisk, ProgramsExitWithFailureWhenTheirChangesAreLost) {
  if (!room_.full_disk()) GTEST_SKIP() << "the programs' own writes need a full file system, not a size limit";
  // The programs use the test's store (ORVANE_REGISTRY) and hold their changes.
  setenv("ORVANE_COMMIT_DELAY_MS", "60000", 1);
  std::string script = "GlobalKeyPath = \"HKEY_CURRENT_USER\\Software\\Script\"\n";
  for (int i = 0; i < kCalls; ++i) {
    script += "ValueName = \"s" + std::to_string(i) + "\"\nValue = \"" + kData + "\"\nSetValue\n";
  }
  const std::filesystem::path files = std::filesystem::temp_directory_path();
  const std::filesystem::path script_file = files / ("orvane-full-" + std::to_string(getpid()) + ".qv");
  std::ofstream(script_file) << script;
  EXPECT_EQ(RunQuietly({QUORVEL_PROGRAM, script_file}), 1);
  std::filesystem::remove(script_file);

  std::string reg = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Imported]\n";
  for (int i = 0; i < kCalls; ++i) reg += "\"r" + std::to_string(i) + "\"=\"" + kData + "\"\n";
  const std::filesystem::path reg_file = files / ("orvane-full-" + std::to_string(getpid()) + ".reg");
  std::ofstream(reg_file) << reg;
  EXPECT_EQ(RunQuietly({REGEDIT_PROGRAM, "/S", reg_file}), 1);
  std::filesystem::remove(reg_file);
  unsetenv("ORVANE_COMMIT_DELAY_MS");
  EXPECT_EQ(ReadText("Software\\Imported", "r0"), "status 2");
}

}  // namespace
}  // namespace orvane::testing
