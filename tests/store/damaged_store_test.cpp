// A store whose file is damaged where no call has read yet: once a call
// meets the damage, this process writes nothing more to the file (no
// write, no checkpoint at close) and every call returns 1009. The admin
// tool's check reports the damage, recover copies what can be read into a
// new store, and neither changes the damaged file nor creates a store
// where there is none.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/temp_registry.h"

extern char** environ;

namespace orvane::testing {
namespace {

using platform::SelectRegistryStore;

constexpr int kValues = 40;
constexpr size_t kPage = 4096;

std::string FileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Marked(int i) {
  char mark[16];
  std::snprintf(mark, sizeof(mark), "MARK%04d", i);
  return mark + std::string(2000, 'q');
}

struct AdminResult {
  int exit_code = -1;
  std::string output;  // standard output and standard error
};

AdminResult Admin(const std::vector<std::string>& args) {
  int ends[2];
  if (pipe(ends) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  std::vector<std::string> strings{ORVANE_REGISTRY_ADMIN};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& text : strings) argv.push_back(text.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, ORVANE_REGISTRY_ADMIN, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  AdminResult result;
  char buffer[4096];
  for (ssize_t got; (got = read(ends[0], buffer, sizeof(buffer))) > 0;) result.output.append(buffer, got);
  close(ends[0]);
  int status = 0;
  if (rc == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  return result;
}

// A store in `damaged.db` whose values of Software\Damaged fill many pages,
// with the page of value 20 made unreadable, and a sound Software\Sound.
class DamagedStore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SelectRegistryStore(file_), ERROR_SUCCESS);
    for (int i = 0; i < kValues; ++i) {
      ASSERT_EQ(WriteText("Software\\Damaged", ("v" + std::to_string(i)).c_str(), Marked(i)), ERROR_SUCCESS);
    }
    ASSERT_EQ(WriteText("Software\\Sound", "x", "sound"), ERROR_SUCCESS);
    ASSERT_EQ(SelectRegistryStore(registry_.file()), ERROR_SUCCESS);  // checkpoints and closes the file
    bytes_ = FileBytes(file_);
    const size_t mark = bytes_.find(Marked(20).substr(0, 8));
    ASSERT_NE(mark, std::string::npos);
    bytes_[mark / kPage * kPage] = 0;  // not a valid b-tree page type
    WriteFile(file_, bytes_);
  }

  TempRegistry registry_;
  const std::filesystem::path file_ = registry_.path() / "damaged.db";
  std::string bytes_;
};

TEST_F(DamagedStore, NothingIsWrittenOnceACallHasMetTheDamage) {
  ::testing::internal::CaptureStderr();
  ASSERT_EQ(SelectRegistryStore(file_), ERROR_SUCCESS);
  EXPECT_EQ(ReadText("Software\\Sound", "x"), "sound");  // the damage is elsewhere
  EXPECT_EQ(ReadText("Software\\Damaged", "v20"), "status 1009");
  EXPECT_EQ(WriteText("Software\\Sound", "y", "after"), ERROR_BADDB);
  EXPECT_EQ(ReadText("Software\\Sound", "x"), "status 1009");
  ASSERT_EQ(SelectRegistryStore(registry_.file()), ERROR_SUCCESS);  // closes the damaged file
  ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(FileBytes(file_) == bytes_);
  EXPECT_EQ(std::filesystem::exists(file_.string() + "-wal") ? std::filesystem::file_size(file_.string() + "-wal") : 0u,
            0u);
}

TEST_F(DamagedStore, CheckReportsTheDamageAndRecoverCopiesWhatCanBeRead) {
  const AdminResult check = Admin({"--store", file_, "check"});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_NE(check.output, "ok\n");
  EXPECT_FALSE(check.output.empty());

  const std::filesystem::path copy = registry_.path() / "recovered.db";
  const AdminResult recover = Admin({"--store", file_, "recover", copy});
  EXPECT_EQ(recover.exit_code, 0) << recover.output;
  EXPECT_TRUE(FileBytes(file_) == bytes_);
  EXPECT_EQ(IntegrityCheck(copy), "ok");
  ASSERT_EQ(SelectRegistryStore(copy), ERROR_SUCCESS);
  EXPECT_EQ(ReadText("Software\\Sound", "x"), "sound");
  EXPECT_EQ(ReadText("Software\\Damaged", "v20"), "status 2");
  int kept = 0;
  for (int i = 0; i < kValues; ++i) {
    const std::string text = ReadText("Software\\Damaged", ("v" + std::to_string(i)).c_str());
    if (text == Marked(i)) ++kept;
    else EXPECT_EQ(text, "status 2") << i;
  }
  EXPECT_GT(kept, 0);
  EXPECT_LT(kept, kValues);

  EXPECT_EQ(Admin({"--store", file_, "recover", copy}).exit_code, 1);  // never over an existing file
}

TEST(MissingStore, CheckSaysThereIsNoStoreAndCreatesNothing) {
  TempRegistry registry;
  const std::filesystem::path missing = registry.path() / "absent" / "registry.db";
  const AdminResult check = Admin({"--store", missing, "check"});
  EXPECT_EQ(check.exit_code, 1);
  EXPECT_NE(check.output.find("no registry store at " + missing.string()), std::string::npos) << check.output;
  EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));
}

}  // namespace
}  // namespace orvane::testing
