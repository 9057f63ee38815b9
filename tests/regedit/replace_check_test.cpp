// Replacing the whole registry (/C) only from a complete file: a backup
// needs its end marker, and any file whose last line is cut is refused
// before anything changes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "regedit/tree_dump.h"
#include "support/temp_registry.h"
#include "tools/regedit/reg_export.h"

namespace orvane::regedit::testing {
namespace {

constexpr char kHeader[] = "REGEDIT4\r\n\r\n; ----\r\n; Orvane Backup\r\n\r\n";
constexpr char kEnd[] = "; End of the Orvane registry backup\r\n";
constexpr char kKeys[] = "[HKEY_CURRENT_USER\\Software\\New]\r\n\"n\"=\"1\"\r\n\"h\"=hex:01,02,\\\r\n  03\r\n\r\n";

class RegeditReplaceCheck : public ::testing::Test {
 protected:
  RegeditReplaceCheck() { SetValue(HKEY_CURRENT_USER, "Software\\Keep", "v", REG_SZ, std::string("k\0", 2)); }
  std::string File(const std::string& name) const { return (registry_.path() / name).string(); }

  // The whole registry as a fresh process sees it.
  std::string FreshExport() {
    const ProgramResult result = RunRegeditProgram({"/E", File("fresh.reg")});
    EXPECT_EQ(result.exit_code, 0) << result.error;
    std::string text = ReadFile(File("fresh.reg"));
    std::filesystem::remove(File("fresh.reg"));
    return text;
  }
  // Runs /C on `bytes` written as `name`; expects a refusal naming `reason`
  // and an unchanged registry.
  void ExpectRefused(const std::string& name, const std::string& bytes, const std::string& reason) {
    const std::string before = FreshExport();
    WriteFile(File(name), bytes);
    const ProgramResult result = RunRegeditProgram({"/S", "/C", File(name)});
    EXPECT_EQ(result.exit_code, 1) << name;
    EXPECT_EQ(result.error, "orvane-regedit: The registry was not replaced: '" + File(name) + "' is not complete (" +
                                reason + ").\n");
    EXPECT_EQ(FreshExport(), before) << name;
  }
  void ExpectAccepted(const std::string& name, const std::string& bytes) {
    WriteFile(File(name), bytes);
    const ProgramResult result = RunRegeditProgram({"/S", "/C", File(name)});
    EXPECT_EQ(result.exit_code, 0) << name << ": " << result.error;
    EXPECT_NE(FreshExport().find("\\Software\\New]\r\n\"n\"=\"1\"\r\n"), std::string::npos) << name;
  }

  TempRegistry registry_;
};

TEST_F(RegeditReplaceCheck, ABackupWithoutItsEndMarkerIsRefused) {
  ExpectRefused("cut.reg", std::string(kHeader) + kKeys, "it is a backup without its end marker");
  // Cut within the header: a file named as the backup is one whatever it holds.
  ExpectRefused("Registry.orv", "REGEDIT4\r\n\r\n; ----\r\n", "it is a backup without its end marker");
}

TEST_F(RegeditReplaceCheck, ABackupWithItsEndMarkerIsRestored) {
  ExpectAccepted("Registry.orv", std::string(kHeader) + kKeys + kEnd);
}

TEST_F(RegeditReplaceCheck, AFileWhoseLastLineIsCutIsRefused) {
  const std::string plain = std::string("REGEDIT4\r\n\r\n") + kKeys;
  ExpectRefused("no-end.reg", plain.substr(0, plain.size() - 5), "its last line has no line end");
  ExpectRefused("in-value.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\New]\r\n\"n\"=\"1",
                "its last line has no line end");
  ExpectRefused("continued.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\New]\r\n\"h\"=hex:01,02,\\\r\n",
                "it ends inside a value continued on the next line");
  ExpectRefused("continued-blank.reg",
                "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\New]\r\n\"h\"=hex:01,02,\\\r\n\r\n",
                "it ends inside a value continued on the next line");
  ExpectRefused("utf16.reg", std::string("\xff\xfe" "R\0E\0G\0", 8), "its last line has no line end");
  ExpectRefused("odd.reg", std::string("\xff\xfe" "R\0\n\0\r", 7), "it ends inside a character");
}

TEST_F(RegeditReplaceCheck, AFileEndingWithItsLineEndIsReplaced) {
  ExpectAccepted("plain.reg", std::string("REGEDIT4\r\n\r\n") + kKeys);
}

}  // namespace
}  // namespace orvane::regedit::testing
