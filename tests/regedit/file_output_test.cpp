// Where the regedit program's export goes: a plain file is replaced whole,
// a link is written through only where protected symlinks would follow it,
// a FIFO receives the bytes and stays a FIFO, and nothing planted at a
// temporary name is written through.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "regedit/tree_dump.h"
#include "support/temp_registry.h"
#include "tools/regedit/regedit_program.h"

namespace orvane::regedit::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kKey[] = "HKEY_CURRENT_USER\\Software\\Out";
constexpr char kExport[] = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Out]\r\n\"v\"=\"x\"\r\n\r\n";

class RegeditFileOutput : public ::testing::Test {
 protected:
  RegeditFileOutput() { SetValue(HKEY_CURRENT_USER, "Software\\Out", "v", REG_SZ, std::string("x\0", 2)); }
  std::string File(const std::string& name) const { return (registry_.path() / name).string(); }

  TempRegistry registry_;
};

TEST_F(RegeditFileOutput, ALinkIsWrittenThroughAndStaysALink) {
  WriteFile(File("real.reg"), "old");
  fs::create_symlink("real.reg", File("link.reg"));
  const ProgramResult result = RunRegeditProgram({"/E", File("link.reg"), kKey});
  EXPECT_EQ(result.exit_code, 0) << result.error;
  EXPECT_TRUE(fs::is_symlink(File("link.reg")));
  EXPECT_EQ(ReadFile(File("real.reg")), kExport);
}

TEST_F(RegeditFileOutput, AFifoReceivesTheExportAndStaysAFifo) {
  const std::string fifo = File("pipe.reg");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const ProgramResult result = RunRegeditProgram({"/E", fifo, kKey});
  EXPECT_EQ(result.exit_code, 0) << result.error;
  char buffer[256] = {};
  const ssize_t got = read(reader, buffer, sizeof(buffer));
  close(reader);
  EXPECT_EQ(std::string(buffer, got > 0 ? static_cast<size_t>(got) : 0), kExport);
  struct stat info {};
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(RegeditFileOutput, ALinkOfAnotherUserInASharedStickyFolderIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link another owner needs root";
  const std::string shared = File("shared");
  fs::create_directory(shared);
  chmod(shared.c_str(), 01777);
  WriteFile(File("victim"), "precious");
  const std::string link = shared + "/out.reg";
  fs::create_symlink(File("victim"), link);
  ASSERT_EQ(lchown(link.c_str(), 12345, 12345), 0);
  const ProgramResult result = RunRegeditProgram({"/E", link, kKey});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error, "orvane-regedit: Cannot create the file '" + link + "': Permission denied\n");
  EXPECT_EQ(ReadFile(File("victim")), "precious");
  EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(RegeditFileOutput, ALinkAtTheOldTemporaryNameIsNotWrittenThrough) {
  WriteFile(File("victim"), "precious");
  fs::create_symlink(File("victim"), File(".out.reg." + std::to_string(getpid()) + ".part"));
  EXPECT_EQ(ExportToFile(File("out.reg"), kKey), kExitSuccess);
  EXPECT_EQ(ReadFile(File("victim")), "precious");
  EXPECT_EQ(ReadFile(File("out.reg")), kExport);
}

TEST_F(RegeditFileOutput, AnExportOverAFileKeepsItsMode) {
  WriteFile(File("out.reg"), "old");
  chmod(File("out.reg").c_str(), 0600);
  EXPECT_EQ(ExportToFile(File("out.reg"), kKey), kExitSuccess);
  EXPECT_EQ(ReadFile(File("out.reg")), kExport);
  EXPECT_EQ(fs::status(File("out.reg")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace orvane::regedit::testing
