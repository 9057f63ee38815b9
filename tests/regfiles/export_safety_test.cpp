// Export over files that exist: the old file survives every failure byte for
// byte, nothing planted at a temporary name is written through, links are
// followed only as protected symlinks would be, and an editor that hangs is
// stopped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "regfiles/export_wait.h"
#include "registry/expect_error.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// A short stall limit for one test; the default again afterwards.
class ShortStallLimit {
 public:
  explicit ShortStallLimit(int milliseconds) { SetExportStallLimit(std::chrono::milliseconds(milliseconds)); }
  ~ShortStallLimit() { SetExportStallLimit(std::chrono::milliseconds(0)); }
};

class ExportSafetyTest : public EditorTest {
 protected:
  ExportSafetyTest() {
    control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Exp");
    control_.SetKey();
    fs::create_directory(Work());
  }
  // A folder of the test's own, so that its listing holds only its files.
  std::string Work() const { return In("work"); }
  std::string At(const std::string& name) const { return Work() + "/" + name; }
  void Write(const std::string& file, const std::string& bytes) const { std::ofstream(file, std::ios::binary) << bytes; }
  void Export(std::string path, bool all, std::string comment) { control_.Export(path, all, comment); }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Work())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(ExportSafetyTest, AFailingEditorOverAnExistingFileRaises60111AndLeavesItsBytes) {
  Write(At("x.reg"), "old bytes\r\n");
  AddScript("orvane-regedit", "exit 1\n");
  EXPECT_ERROR_NUMBER(Export(At("x.reg"), false, "c"), 60111);
  EXPECT_EQ(ReadText(At("x.reg")), "old bytes\r\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"x.reg"});
}

TEST_F(ExportSafetyTest, AnEditorThatWritesNothingLeavesTheOldFile) {
  Write(At("x.reg"), "old bytes\r\n");
  AddScript("orvane-regedit", ": > \"$4\"\n");  // an empty file is no export
  EXPECT_ERROR_NUMBER(Export(At("x.reg"), false, "~"), 60111);
  EXPECT_EQ(ReadText(At("x.reg")), "old bytes\r\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"x.reg"});
}

TEST_F(ExportSafetyTest, AnExportOverAFileKeepsItsModeAndReplacesItWhole) {
  Write(At("x.reg"), "old bytes\r\n");
  chmod(At("x.reg").c_str(), 0640);
  UseOurEditor();
  Export(At("x.reg"), false, "c");
  const std::string text = ReadText(At("x.reg"));
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n; ---", 0), 0u);
  EXPECT_NE(text.find("; c\r\n\r\n[HKEY_CURRENT_USER\\Software\\Exp]\r\n"), std::string::npos);
  EXPECT_EQ(fs::status(At("x.reg")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Names(), std::vector<std::string>{"x.reg"});
}

TEST_F(ExportSafetyTest, AHangingEditorIsStoppedAndItsFileRemoved) {
  ShortStallLimit short_limit(300);
  Write(At("x.reg"), "old bytes\r\n");
  // Writes a first line, then hangs: it uses no processor time and writes nothing more.
  AddScript("orvane-regedit", "printf 'REGEDIT4\\r\\n' > \"$4\"\nexec /bin/sleep 1000\n");
  EXPECT_ERROR_NUMBER(Export(At("x.reg"), false, "c"), 60111);
  EXPECT_EQ(ReadText(At("x.reg")), "old bytes\r\n");
  EXPECT_EQ(Names(), std::vector<std::string>{"x.reg"});
}

TEST_F(ExportSafetyTest, AnEditorThatKeepsWritingIsNotStopped) {
  ShortStallLimit short_limit(1500);
  // Each pause is far shorter than the limit, all of them together longer.
  AddScript("orvane-regedit", "printf 'REGEDIT4\\r\\n' > \"$4\"\n"
                       "for i in 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20; do\n"
                       "  /bin/sleep 0.1; printf ';\\r\\n' >> \"$4\"\ndone\n"
                       "printf '[done]\\r\\n' >> \"$4\"\n");
  Export(At("x.reg"), false, "~");
  std::string expected = "REGEDIT4\r\n";
  for (int i = 0; i < 20; ++i) expected += ";\r\n";
  EXPECT_EQ(ReadText(At("x.reg")), expected + "[done]\r\n");
}

TEST_F(ExportSafetyTest, ALinkAtTheOldHeaderTemporaryNameIsNotWrittenThrough) {
  Write(At("victim"), "precious");
  fs::create_symlink(At("victim"), At("out.reg~"));
  UseOurEditor();
  Export(At("out.reg"), false, "c");
  EXPECT_EQ(ReadText(At("victim")), "precious");
  EXPECT_NE(ReadText(At("out.reg")).find("; c\r\n"), std::string::npos);
}

TEST_F(ExportSafetyTest, ALinkIsWrittenThroughAndStaysALink) {
  Write(At("real.reg"), "old");
  fs::create_symlink("real.reg", At("link.reg"));
  UseOurEditor();
  Export(At("link.reg"), false, "c");
  EXPECT_TRUE(fs::is_symlink(At("link.reg")));
  EXPECT_NE(ReadText(At("real.reg")).find("[HKEY_CURRENT_USER\\Software\\Exp]"), std::string::npos);
}

TEST_F(ExportSafetyTest, ALinkOfAnotherUserInASharedStickyFolderIsRefusedBeforeTheEditorStarts) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link another owner needs root";
  const std::string shared = At("shared");
  fs::create_directory(shared);
  chmod(shared.c_str(), 01777);
  Write(At("victim"), "precious");
  fs::create_symlink(At("victim"), shared + "/out.reg");
  ASSERT_EQ(lchown((shared + "/out.reg").c_str(), 12345, 12345), 0);
  AddRecordingEditor("printf 'REGEDIT4\\r\\n' > \"$4\"\n");
  EXPECT_ERROR_NUMBER(Export(shared + "/out.reg", false, "c"), 70);
  EXPECT_FALSE(EditorStarted());
  EXPECT_EQ(ReadText(At("victim")), "precious");
  EXPECT_TRUE(fs::is_symlink(shared + "/out.reg"));
}

TEST_F(ExportSafetyTest, AFifoReceivesTheExportWithItsHeaderAndStaysAFifo) {
  const std::string fifo = At("pipe.reg");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  UseOurEditor();
  Export(fifo, false, "c");
  char buffer[4096] = {};
  const ssize_t got = read(reader, buffer, sizeof(buffer));
  close(reader);
  const std::string text(buffer, got > 0 ? static_cast<size_t>(got) : 0);
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n; ---", 0), 0u);
  EXPECT_NE(text.find("; c\r\n\r\n[HKEY_CURRENT_USER\\Software\\Exp]\r\n"), std::string::npos);
  struct stat info {};
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(Names(), std::vector<std::string>{"pipe.reg"});
}

}  // namespace
}  // namespace orvane
