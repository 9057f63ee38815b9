// The orvane-reg program as a separate process on a private store: its
// help, version and usage errors, answers read from standard input, the
// exit codes of compare, and registry text on a terminal.
#include <gtest/gtest.h>

#include "store/store_extensions.h"
#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::reg::testing {
namespace {

using orvane::testing::ProgramOutput;
using orvane::testing::RunProgram;

class RegProgram : public ::testing::Test {
 protected:
  ProgramOutput Reg(const std::vector<std::string>& args, const std::string& input = "") {
    platform::CommitPendingRegistryWrites();
    return RunProgram(ORVANE_REG_PROGRAM, args, input);
  }

  // Runs `args` with its standard streams on a terminal; what reached it.
  std::string RegOnTerminal(const std::vector<std::string>& args) {
    platform::CommitPendingRegistryWrites();
    return orvane::testing::RunOnTerminal(ORVANE_REG_PROGRAM, args);
  }

  TempRegistry registry_;
};

TEST_F(RegProgram, HelpAndVersionGoToStandardOutput) {
  for (const std::string help : {"--help", "-h", "/?"}) {
    const ProgramOutput result = Reg({help});
    EXPECT_EQ(result.status, 0) << help;
    EXPECT_TRUE(result.out.starts_with("Usage: orvane-reg VERB ARGUMENTS...\n")) << result.out;
    EXPECT_EQ(result.err, "");
  }
  for (const std::string help : {"-?", "/?", "--help"}) {
    const ProgramOutput verb = Reg({"Delete", help});
    EXPECT_EQ(verb.status, 0) << help;
    EXPECT_TRUE(verb.out.starts_with("orvane-reg delete KEY [/v NAME | /ve | /va] [/f]\n")) << verb.out;
  }
  const ProgramOutput version = Reg({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "Orvane 1.6.1\n");
}

TEST_F(RegProgram, UsageErrorsExitWithOne) {
  const std::string syntax = "ERROR: Invalid syntax.\nType \"orvane-reg /?\" for usage.\n";
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {"frobnicate"}, {"--version", "extra"}, {"--bogus"}}) {
    const ProgramOutput result = Reg(args);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, syntax);
  }
  const ProgramOutput result = Reg({"add", "HKCU\\Software\\P", "/x"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ERROR: Invalid syntax.\nType \"orvane-reg ADD /?\" for usage.\n");
}

TEST_F(RegProgram, AnswersComeFromStandardInputAndChangesReachTheStore) {
  EXPECT_EQ(Reg({"add", "HKCU\\Software\\P", "/v", "v", "/d", "1"}).status, 0);
  ProgramOutput result = Reg({"delete", "HKCU\\Software\\P"}, "n\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "Permanently delete the registry key HKEY_CURRENT_USER\\Software\\P (Yes/No)? "
            "The operation was canceled by the user.\n");
  result = Reg({"query", "HKCU\\Software\\P"});
  EXPECT_EQ(result.out, "\nHKEY_CURRENT_USER\\Software\\P\n    v    REG_SZ    1\n\n");
  result = Reg({"delete", "HKCU\\Software\\P"}, "y\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(Reg({"query", "HKCU\\Software\\P"}).status, 1);
}

TEST_F(RegProgram, CompareExitsWithZeroForSameAndTwoForDifferent) {
  EXPECT_EQ(Reg({"add", "HKCU\\Software\\P1", "/v", "v", "/d", "1"}).status, 0);
  EXPECT_EQ(Reg({"add", "HKCU\\Software\\P2", "/v", "v", "/d", "1"}).status, 0);
  EXPECT_EQ(Reg({"compare", "HKCU\\Software\\P1", "HKCU\\Software\\P2", "/on"}).status, 0);
  EXPECT_EQ(Reg({"add", "HKCU\\Software\\P2", "/v", "v", "/d", "2", "/f"}).status, 0);
  EXPECT_EQ(Reg({"compare", "HKCU\\Software\\P1", "HKCU\\Software\\P2", "/on"}).status, 2);
}

// A value whose data sets the terminal's title and clears the screen, in a
// key whose name moves the cursor: on a terminal they show as text; into a
// pipe they go byte for byte.
TEST_F(RegProgram, QueryOnATerminalShowsControlCharactersEscaped) {
  const std::string key = "HKCU\\Software\\T\rX";
  const std::string data = "\x1b]0;OWNED\x07\x1b[2J\x9b" "2J";
  ASSERT_EQ(Reg({"add", key, "/v", "v", "/d", data, "/f"}).status, 0);
  const std::string screen = RegOnTerminal({"query", key});
  EXPECT_EQ(screen,
            "\n\"HKEY_CURRENT_USER\\Software\\T\" & Chr(13) & \"X\"\n"
            "    v    REG_SZ    Chr(27) & \"]0;OWNED\" & Chr(7) & Chr(27) & \"[2J\" & Chr(155) & \"2J\"\n\n");
  EXPECT_EQ(Reg({"query", key}).out, "\nHKEY_CURRENT_USER\\Software\\T\rX\n    v    REG_SZ    " + data + "\n\n");
}

// The verbs that go through many keys count them on standard error when it
// is a terminal, erasing the line before the result; into a pipe nothing.
TEST_F(RegProgram, LongVerbsShowProgressOnATerminalOnly) {
  const std::string file = (registry_.path() / "p.reg").string();
  ASSERT_EQ(Reg({"add", "HKCU\\Software\\P\\A\\B", "/f"}).status, 0);
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"export", "HKCU\\Software\\P", file, "/y"}, "Exporting"},
      {{"import", file}, "Importing"},
      {{"copy", "HKCU\\Software\\P", "HKCU\\Software\\Q", "/s", "/f"}, "Copying"},
      {{"compare", "HKCU\\Software\\P", "HKCU\\Software\\Q", "/s"}, "Comparing"},
  };
  for (const auto& [args, label] : cases) {
    const std::string screen = RegOnTerminal(args);
    EXPECT_NE(screen.find("\r" + label + ": 1 key"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\r\x1b[K"), std::string::npos) << screen;
    EXPECT_EQ(Reg(args).err, "") << label;
  }
}

// A hive loaded by one process is there for the next ones: each change one
// of them makes reaches the hive file when its command ends (hivexget reads
// it there before the unload), and this process, which read the hive
// first, sees what the others changed.
TEST_F(RegProgram, LoadedHiveIsSharedByProcessesAndWrittenAtEachChange) {
  const std::string hive = (registry_.path() / "user.dat").string();
  ASSERT_EQ(Reg({"add", "HKCU\\Software\\Src", "/v", "v", "/d", "one", "/f"}).status, 0);
  EXPECT_EQ(Reg({"save", "HKCU\\Software\\Src", hive}).out, "The operation completed successfully.\n");
  EXPECT_EQ(Reg({"load", "HKLM\\Mounted", hive}).out, "The operation completed successfully.\n");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Mounted", 0, KEY_READ, &key), 0);
  char data[16] = {};
  DWORD size = sizeof data;
  ASSERT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size), 0);
  EXPECT_STREQ(data, "one");
  EXPECT_EQ(Reg({"add", "HKLM\\Mounted\\Sub", "/v", "v", "/d", "two", "/f"}).status, 0);
  EXPECT_EQ(Reg({"add", "HKLM\\Mounted", "/v", "v", "/d", "three", "/f"}).status, 0);
  EXPECT_EQ(RunProgram("hivexget", {hive, "\\Sub", "v"}).out, "two\n");
  size = sizeof data;
  ASSERT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size), 0);
  EXPECT_STREQ(data, "three");
  RegCloseKey(key);
  EXPECT_EQ(Reg({"query", "HKLM\\Mounted", "/s"}).out,
            "\nHKEY_LOCAL_MACHINE\\Mounted\n    v    REG_SZ    three\n\n"
            "HKEY_LOCAL_MACHINE\\Mounted\\Sub\n    v    REG_SZ    two\n\n");
  EXPECT_EQ(Reg({"unload", "HKLM\\Mounted"}).status, 0);
  const ProgramOutput gone = Reg({"query", "HKLM\\Mounted"});
  EXPECT_EQ(gone.status, 1);
  EXPECT_EQ(gone.err, "ERROR: The system was unable to find the specified registry key or value.\n");
}

}  // namespace
}  // namespace orvane::reg::testing
