// The backup file itself: complete or untouched, ending with its marker,
// private to its owner, and never a way to change a file it links to.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <filesystem>
#include <string>

#include "editor_fixture.h"
#include "platform/win32_system.h"
#include "registry/expect_error.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kBackupAttributes = 7;
constexpr char kEndLine[] = "; End of the Orvane registry backup\r\n";

class BackupFileTest : public EditorTest {
 protected:
  std::string Backup() const { return (registry_.file().parent_path() / "Registry.orv").string(); }
  static unsigned Mode(const std::string& file) {
    struct stat info {};
    return stat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  }
};

TEST_F(BackupFileTest, ABackupEndsWithItsMarkerAndIsReadableByItsOwnerOnly) {
  UseOurEditor();
  control_.Backup();
  const std::string text = ReadText(Backup());
  ASSERT_GT(text.size(), sizeof(kEndLine));
  EXPECT_EQ(text.substr(text.size() - (sizeof(kEndLine) - 1)), kEndLine);
  EXPECT_EQ(text.find(kEndLine), text.size() - (sizeof(kEndLine) - 1));  // once, at the end
  EXPECT_EQ(Mode(Backup()), 0400u);
  EXPECT_EQ(GetFileAttributesA(Backup().c_str()), kBackupAttributes);
}

TEST_F(BackupFileTest, AFailingEditorLeavesThePreviousBackupExactlyAsItWas) {
  UseOurEditor();
  control_.Backup();
  const std::string before = ReadText(Backup());
  AddScript("orvane-regedit", "exit 1\n");
  EXPECT_ERROR_NUMBER(control_.Backup(), 60111);
  EXPECT_EQ(ReadText(Backup()), before);
  EXPECT_EQ(GetFileAttributesA(Backup().c_str()), kBackupAttributes);
  EXPECT_EQ(Mode(Backup()), 0400u);
}

TEST_F(BackupFileTest, ALinkAtTheOldHeaderTemporaryNameIsNotWrittenThrough) {
  const std::string victim = (Folder() / "victim").string();
  std::ofstream(victim) << "precious";
  fs::create_symlink(victim, Backup() + "~");
  UseOurEditor();
  control_.Backup();
  EXPECT_EQ(ReadText(victim), "precious");
  EXPECT_NE(ReadText(Backup()).find("; Orvane Backup\r\n"), std::string::npos);
}

TEST_F(BackupFileTest, RestoreFromALinkChangesNeitherModeNorAttributesOfTheFileItNames) {
  const std::string victim = (Folder() / "victim.reg").string();
  std::ofstream(victim) << "REGEDIT4\r\n";
  chmod(victim.c_str(), 0644);
  fs::create_symlink(victim, Backup());
  AddRecordingEditor();
  control_.Restore();
  EXPECT_EQ(RecordedArguments(), "/S\n/C\n--\n" + Backup() + "\n");
  EXPECT_EQ(Mode(victim), 0644u);
  char value[16];
  EXPECT_LT(getxattr(victim.c_str(), "user.DOSATTRIB", value, sizeof(value)), 0);
}

}  // namespace
}  // namespace orvane
