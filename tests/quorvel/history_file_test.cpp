// The prompt's history file: where it lives, the modes it is created
// with, the entries kept, and names that are not plain files left alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "history_file.h"
#include "run_program.h"

namespace quorvel {
namespace {

using testing::ReadFile;
using testing::TempDir;
using Entries = std::vector<std::string>;

// Sets an environment variable for one scope; restores it after.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

TEST(HistoryFile, StateHomeElseHomeLocalState) {
  {
    ScopedVariable state("XDG_STATE_HOME", "/state");
    ScopedVariable home("HOME", "/home/u");
    EXPECT_EQ(DefaultHistoryPath(), "/state/orvane/history");
  }
  for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/state"}) {
    ScopedVariable state("XDG_STATE_HOME", unusable);
    ScopedVariable home("HOME", "/home/u");
    EXPECT_EQ(DefaultHistoryPath(), "/home/u/.local/state/orvane/history");
  }
  ScopedVariable state("XDG_STATE_HOME", nullptr);
  ScopedVariable home("HOME", nullptr);
  EXPECT_EQ(DefaultHistoryPath(), "");
}

TEST(HistoryFile, EntriesAreAppendedAtOnceInFoldersOnlyTheUserCanEnter) {
  TempDir dir;
  const std::filesystem::path path = dir.path() / "state" / "orvane" / "history";
  HistoryFile history(path);
  EXPECT_EQ(history.Load(), Entries{});
  ASSERT_TRUE(history.Append("Print 1"));
  ASSERT_TRUE(history.Append("GlobalKeyPath = \"HKEY_USERS\""));
  EXPECT_EQ(ReadFile(path), "Print 1\nGlobalKeyPath = \"HKEY_USERS\"\n");
  EXPECT_EQ(ModeOf(dir.path() / "state"), 0700u);
  EXPECT_EQ(ModeOf(path.parent_path()), 0700u);
  EXPECT_EQ(ModeOf(path), 0600u);
  EXPECT_EQ(HistoryFile(path).Load(), (Entries{"Print 1", "GlobalKeyPath = \"HKEY_USERS\""}));
}

TEST(HistoryFile, OnlyTheNewestEntriesAreKept) {
  TempDir dir;
  const std::filesystem::path path = dir.path() / "history";
  std::ofstream(path) << "a\nb\nc\nd\n";
  HistoryFile history(path, 2);
  EXPECT_EQ(history.Load(), (Entries{"c", "d"}));
  EXPECT_EQ(ReadFile(path), "c\nd\n");
  ASSERT_TRUE(history.Append("e"));
  EXPECT_EQ(HistoryFile(path, 2).Load(), (Entries{"d", "e"}));
}

TEST(HistoryFile, ANameThatIsNotAPlainFileIsLeftAlone) {
  TempDir dir;
  const std::filesystem::path target = dir.path() / "elsewhere";
  std::ofstream(target) << "secret\n";
  const std::filesystem::path link = dir.path() / "history";
  std::filesystem::create_symlink(target, link);
  HistoryFile through_link(link);
  EXPECT_EQ(through_link.Load(), Entries{});
  EXPECT_FALSE(through_link.Append("Print 1"));
  EXPECT_EQ(ReadFile(target), "secret\n");
  const std::filesystem::path folder = dir.path() / "folder";
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(HistoryFile(folder).Append("Print 1"));
  const std::filesystem::path fifo = dir.path() / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(HistoryFile(fifo).Load(), Entries{});  // returns at once: nothing waits for a writer
  EXPECT_FALSE(HistoryFile(fifo).Append("Print 1"));
}

}  // namespace
}  // namespace quorvel
