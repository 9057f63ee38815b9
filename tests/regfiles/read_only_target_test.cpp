// Every file the control and the programs write refuses a read-only target,
// by mode or by attribute, with the error of a file it cannot write, and
// leaves it as it was; only Backup replaces its own read-only backup. The
// tests run as root too, which access() lets write anything: the bits are
// what counts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <filesystem>
#include <functional>
#include <string>

#include "editor_fixture.h"
#include "orvane/property_bag.h"
#include "registry/expect_error.h"
#include "support/program_output.h"

namespace orvane {
namespace {

constexpr const char* kOldBytes = "old bytes\r\n";

class ReadOnlyTargetTest : public EditorTest {
 protected:
  ReadOnlyTargetTest() {
    UseOurEditor();
    control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\ReadOnly");
    control_.SetKey();
  }

  // `file` with the old bytes, made read-only by its mode (0400) or by the
  // read-only attribute alone (mode 0600).
  static void MakeReadOnly(const std::string& file, bool by_mode) {
    std::ofstream(file, std::ios::binary) << kOldBytes;
    chmod(file.c_str(), by_mode ? 0400 : 0600);
    if (!by_mode) {
      ASSERT_EQ(setxattr(file.c_str(), "user.DOSATTRIB", "0x1", 4, 0), 0);
    }
  }
};

TEST_F(ReadOnlyTargetTest, EveryWriterRefusesAReadOnlyFileAndKeepsIt) {
  const struct {
    const char* writer;
    std::function<void(const std::string&)> write;
  } writers[] = {
      {"Export", [this](const std::string& file) {
         EXPECT_ERROR_NUMBER(control_.Export(file), 70);
       }},
      {"Save", [this](const std::string& file) {
         MemoryPropertyBag bag;
         control_.WriteProperties(bag);
         EXPECT_ERROR_NUMBER(bag.SaveFile(file), 70);
       }},
      {"orvane-regedit /E", [](const std::string& file) {
         const testing::ProgramOutput run =
             testing::RunProgram(REGEDIT_PROGRAM, {"/E", file, "HKEY_CURRENT_USER\\Software"});
         EXPECT_EQ(run.status, 1);
         EXPECT_NE(run.err.find("Permission denied"), std::string::npos) << run.err;
       }},
      {"orvane-reg export", [](const std::string& file) {
         const testing::ProgramOutput run =
             testing::RunProgram(ORVANE_REG_PROGRAM, {"export", "HKCU\\Software", file, "/y"});
         EXPECT_EQ(run.status, 1);
       }},
  };
  for (const auto& [writer, write] : writers) {
    for (bool by_mode : {true, false}) {
      SCOPED_TRACE(std::string(writer) + (by_mode ? " over mode 0400" : " over the read-only attribute"));
      const std::string file = In("target.reg");
      MakeReadOnly(file, by_mode);
      write(file);
      EXPECT_EQ(ReadText(file), kOldBytes);
      std::filesystem::remove(file);
    }
  }
}

TEST_F(ReadOnlyTargetTest, ExportToTheBackupFileKeepsItAndBackupStillReplacesIt) {
  control_.Backup();
  const std::string backup = In("Registry.orv");
  const std::string saved = ReadText(backup);
  EXPECT_ERROR_NUMBER(control_.Export(backup), 70);
  EXPECT_EQ(ReadText(backup), saved);
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Later");
  control_.SetKey();
  control_.Backup();
  EXPECT_NE(ReadText(backup).find("Software\\Later]"), std::string::npos);
}

}  // namespace
}  // namespace orvane
