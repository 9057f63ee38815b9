// Round trips through Wine's registry editor, the reference for the file
// format: Wine imports our REGEDIT4 export, exports it again (version 5,
// UTF-16), and we import that. Skipped where wine is not installed. Each
// test uses a private Wine prefix in a temporary directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/registry_store.h"
#include "regedit/tree_dump.h"
#include "support/program_output.h"
#include "support/temp_registry.h"
#include "tools/regedit/code_page.h"
#include "tools/regedit/reg_export.h"
#include "tools/regedit/reg_import.h"
#include "tools/regedit/reg_parser.h"

namespace orvane::regedit::testing {
namespace {

using orvane::testing::EndWinePrefix;
using orvane::testing::RunQuietly;
using orvane::testing::UsePrivateWinePrefix;
using orvane::testing::WinePath;

const std::string kTree = "Software\\OrvaneWine";
const std::string kTreeKey = "HKEY_CURRENT_USER\\" + kTree;

class WineRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!UsePrivateWinePrefix(registry_.path() / "wineprefix")) GTEST_SKIP() << "wine is not installed";
    wine_started_ = true;
  }

  void TearDown() override {
    if (wine_started_) EndWinePrefix();
  }

  std::filesystem::path File(const std::string& name) const { return registry_.path() / name; }

  TempRegistry registry_;
  bool wine_started_ = false;
};

// The registry's text is UTF-8; Wine reads an 8-bit file in its ANSI code
// page, Windows-1252, so each byte of our text comes back as the character
// that byte is in Windows-1252: `Text` gives the text as it is filled, and
// as it is expected back.
using TextForm = std::string (*)(std::string_view);
std::string AsFilled(std::string_view text) { return std::string(text); }
std::string AsReadByWine(std::string_view text) { return Utf8FromWindows1252(text); }

// Values in Wine's order (names sorted without regard to case), so that
// Wine's export lists them as they were created here.
void FillTree(TextForm text) {
  const auto set = [&](const std::string& key, std::string_view name, DWORD type, std::string_view data) {
    const bool is_text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    SetValue(HKEY_CURRENT_USER, text(key), text(name), type, is_text ? text(data) : std::string(data));
  };
  set(kTree, "", REG_SZ, std::string("default\0", 8));
  set(kTree, "a name with spaces", REG_SZ, std::string("x \"q\" \\ y\r\nz\t;#\0", 16));
  set(kTree, "b \"quoted\" \\back\\", REG_SZ, std::string("\0", 1));
  set(kTree, "c caf\xc3\xa9 \xe2\x82\xac", REG_SZ, std::string("\xc3\xa9t\xc3\xa9 \xe2\x82\xac\0", 10));
  set(kTree, "d dword", REG_DWORD, std::string("\x78\x56\x34\x12", 4));
  set(kTree, "e binary", REG_BINARY, std::string(1000, '\xa5'));
  set(kTree, "f empty binary", REG_BINARY, "");
  set(kTree, "g expand", REG_EXPAND_SZ, std::string("%PATH%;\xc3\xa9\0", 10));
  set(kTree, "h empty expand", REG_EXPAND_SZ, "");
  set(kTree, "i multi", REG_MULTI_SZ, std::string("one\0tw\xc3\xa9\0\0", 10));
  set(kTree, "j none", REG_NONE, std::string("\0\x01\x02", 3));
  set(kTree, "k empty none", REG_NONE, "");
  set(kTree, "l qword", REG_QWORD, std::string("\x01\0\0\0\0\0\0\x80", 8));
  set(kTree, "m type 100", 0x100, "\x01\x02");
  set(kTree, "n empty string", REG_SZ, "");
  set(kTree + "\\Sub \xc3\xa9 ]x", "v", REG_BINARY, std::string(77, '\x07'));
  set(kTree + "\\Sub \xc3\xa9 ]x\\deeper", "", REG_DWORD, std::string("\0\0\0\0", 4));
  set(kTree + "\\empty key", "", REG_SZ, std::string("\0", 1));
}

TEST_F(WineRoundTrip, OurExportThroughWineComesBackTheSame) {
  FillTree(AsFilled);
  std::string ours, error;
  ASSERT_EQ(ExportRegistry(kTreeKey, &ours, &error), ERROR_SUCCESS) << error;
  WriteFile(File("ours.reg"), ours);

  ASSERT_EQ(RunQuietly({"wine", "regedit", "/S", WinePath(File("ours.reg"))}), 0);
  ASSERT_EQ(RunQuietly({"wine", "regedit", "/E", WinePath(File("wine.reg")), kTreeKey}), 0);
  const std::string theirs = ReadFile(File("wine.reg"));
  ASSERT_EQ(theirs.substr(0, 2), "\xFF\xFE") << "Wine writes version 5 files";

  ASSERT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, kTree), ERROR_SUCCESS);
  FillTree(AsReadByWine);
  const std::string dump = DumpTree(HKEY_CURRENT_USER, kTree);
  ASSERT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, kTree), ERROR_SUCCESS);
  const RegFile file = ParseRegFile(theirs);
  EXPECT_TRUE(file.utf16);
  EXPECT_FALSE(file.HasSkippedLines());
  std::vector<RegMessage> messages;
  {
    platform::RegistryMethodScope scope;
    EXPECT_EQ(MergeRegFile(file, &messages), 0);
  }
  // The one loss: Wine writes a string of no bytes as "", which is one NUL.
  const std::string empty_before = "  \"n empty string\" 1 \n";
  const std::string empty_after = "  \"n empty string\" 1 00\n";
  std::string expected = dump;
  ASSERT_NE(expected.find(empty_before), std::string::npos);
  expected.replace(expected.find(empty_before), empty_before.size(), empty_after);
  EXPECT_EQ(DumpTree(HKEY_CURRENT_USER, kTree), expected);
}

TEST_F(WineRoundTrip, WinesOwnKeysImportWithoutASkippedLine) {
  ASSERT_EQ(RunQuietly({"wine", "regedit", "/E", WinePath(File("wine.reg")), "HKEY_CURRENT_USER\\Software"}), 0);
  const RegFile file = ParseRegFile(ReadFile(File("wine.reg")));
  EXPECT_TRUE(file.header_ok);
  EXPECT_TRUE(file.messages.empty());
  EXPECT_GT(file.ops.size(), 100u);
  std::vector<RegMessage> messages;
  platform::RegistryMethodScope scope;
  EXPECT_EQ(MergeRegFile(file, &messages), 0);
}

}  // namespace
}  // namespace orvane::regedit::testing
