// The regedit program as the control starts it: a separate process on the
// same store, its exit status and messages, and /C leaving the registry as
// it was whenever it cannot replace it completely.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "store/registry_store.h"
#include "regedit/tree_dump.h"
#include "support/program_output.h"
#include "support/temp_registry.h"
#include "tools/regedit/reg_export.h"

namespace orvane::regedit::testing {
namespace {

using orvane::testing::ProgramOutput;
using orvane::testing::RunProgram;

std::string ExportText(const std::string& key) {
  std::string text, error;
  EXPECT_EQ(ExportRegistry(key, &text, &error), ERROR_SUCCESS) << error;
  return text;
}

class RegeditProgram : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return (registry_.path() / name).string(); }

  // The export of `key` as a fresh process sees the store: the result of
  // another process's changes, whatever this process has cached.
  std::string FreshExport(const std::string& key) {
    const ProgramResult result = RunRegeditProgram({"/E", File("fresh.reg"), key});
    EXPECT_EQ(result.exit_code, 0) << result.error;
    std::string text = ReadFile(File("fresh.reg"));
    std::filesystem::remove(File("fresh.reg"));
    return text;
  }

  // Only the store's own files and `expected` are in the folder.
  void ExpectFolderHolds(const std::vector<std::string>& expected) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(registry_.path())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("registry.db", 0) != 0) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expected);
  }

  TempRegistry registry_;
};

TEST_F(RegeditProgram, ExportWritesTheFileOnlyWhenTheKeyExists) {
  SetValue(HKEY_CURRENT_USER, "Software\\A B", "v", REG_DWORD, std::string("\x05\0\0\0", 4));
  const ProgramResult ok = RunRegeditProgram({"/S", "/E", File("out.reg"), "HKEY_CURRENT_USER\\Software\\A B"});
  EXPECT_EQ(ok.exit_code, 0) << ok.error;
  EXPECT_EQ(ReadFile(File("out.reg")),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A B]\r\n\"v\"=dword:00000005\r\n\r\n");
  const ProgramResult missing = RunRegeditProgram({"/S", "/E", File("no.reg"), "HKEY_CURRENT_USER\\Software\\Z"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.error,
            "orvane-regedit: Unable to export the registry key 'HKEY_CURRENT_USER\\Software\\Z' (status 2)\n");
  const ProgramResult no_folder =
      RunRegeditProgram({"/E", File("none/x.reg"), "HKEY_CURRENT_USER\\Software\\A B"});
  EXPECT_EQ(no_folder.exit_code, 1);
  EXPECT_EQ(no_folder.error,
            "orvane-regedit: Cannot create the file '" + File("none/x.reg") + "': No such file or directory\n");
  ExpectFolderHolds({"out.reg"});
}

TEST_F(RegeditProgram, WholeRegistryExportMatchesTheLibrary) {
  SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane", "x", REG_BINARY, std::string(100, '\x11'));
  EXPECT_EQ(RunRegeditProgram({"-s", "-e", File("all.reg")}).exit_code, 0);
  EXPECT_EQ(ReadFile(File("all.reg")), ExportText(""));
}

TEST_F(RegeditProgram, WindowsCommandLineFormIsSplitWithQuotes) {
  SetValue(HKEY_CURRENT_USER, "Software\\A B", "", REG_SZ, std::string("x\0", 2));
  const std::string line = "/S /E \"" + File("with space.reg") + "\" \"HKEY_CURRENT_USER\\Software\\A B\"";
  EXPECT_EQ(RunRegeditProgram({"--command-line", line}).exit_code, 0);
  EXPECT_EQ(ReadFile(File("with space.reg")), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A B]\r\n@=\"x\"\r\n\r\n");
}

TEST_F(RegeditProgram, ImportSkipsBadLinesNamingThemAndFailsOverall) {
  // Line 3 fails in the registry (a name too long), line 4 in the reader;
  // the messages come in line order.
  const std::string long_key = "HKEY_CURRENT_USER\\" + std::string(256, 'k');
  WriteFile(File("in.reg"), "REGEDIT4\r\n\r\n[" + long_key + "]\r\n\"a\"=dword:123456789\r\n" +
                                "[HKEY_CURRENT_USER\\Software\\I]\r\n\"b\"=\"ok\"\r\n");
  const ProgramResult result = RunRegeditProgram({"/S", File("in.reg")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error, "orvane-regedit: " + File("in.reg") + ": line 3: Unable to open the registry key '" +
                              long_key + "' (status 87)\norvane-regedit: " + File("in.reg") +
                              ": line 4: a dword needs 1 to 8 hexadecimal digits\n");
  EXPECT_EQ(FreshExport("HKEY_CURRENT_USER\\Software\\I"),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\I]\r\n\"b\"=\"ok\"\r\n\r\n");
}

TEST_F(RegeditProgram, ImportSkipsNamesHoldingANulInsteadOfCuttingThem) {
  const std::string nul(1, '\0');
  SetValue(HKEY_CURRENT_USER, "Software\\N", "a", REG_SZ, std::string("keep\0", 5));
  WriteFile(File("nul.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\N]\r\n\"a" + nul + "b\"=\"cut\"\r\n" +
                                 "\"a" + nul + "\"=-\r\n[HKEY_CURRENT_USER\\Software\\N" + nul + "x]\r\n\"c\"=\"1\"\r\n");
  const ProgramResult result = RunRegeditProgram({"/S", File("nul.reg")});
  EXPECT_EQ(result.exit_code, 1);
  const std::string prefix = "orvane-regedit: " + File("nul.reg") + ": line ";
  EXPECT_EQ(result.error, prefix + "4: the value name holds a NUL character\n" + prefix +
                              "5: the value name holds a NUL character\n" + prefix +
                              "6: the key name holds a NUL character\n" + prefix + "7: no key section before this value\n");
  EXPECT_EQ(FreshExport("HKEY_CURRENT_USER\\Software\\N"),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\N]\r\n\"a\"=\"keep\"\r\n\r\n");
}

TEST_F(RegeditProgram, AMalformedCommitDelayIsNamedOnceAndTheDefaultUsed) {
  WriteFile(File("two.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\D1]\r\n\"a\"=\"1\"\r\n"
                             "[HKEY_CURRENT_USER\\Software\\D2]\r\n\"b\"=\"2\"\r\n");
  for (const char* text : {"-5", "abc", "1e3", " 7", "+5", "2.5"}) {
    setenv("ORVANE_COMMIT_DELAY_MS", text, 1);
    const ProgramResult result = RunRegeditProgram({"/S", File("two.reg")});
    EXPECT_EQ(result.exit_code, 0) << text;
    EXPECT_EQ(result.error, "orvane: ORVANE_COMMIT_DELAY_MS=\"" + std::string(text) +
                                "\" is not a whole number of milliseconds; using 20 ms\n");
  }
  for (const char* text : {"0", "250", "99999999999999999999", ""}) {
    setenv("ORVANE_COMMIT_DELAY_MS", text, 1);
    const ProgramResult result = RunRegeditProgram({"/S", File("two.reg")});
    EXPECT_EQ(result.exit_code, 0) << text;
    EXPECT_EQ(result.error, "") << text;
  }
  unsetenv("ORVANE_COMMIT_DELAY_MS");
  EXPECT_EQ(FreshExport("HKEY_CURRENT_USER\\Software\\D2"),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\D2]\r\n\"b\"=\"2\"\r\n\r\n");
}

TEST_F(RegeditProgram, ImportOfAMissingFileOrBadHeaderFails) {
  const ProgramResult missing = RunRegeditProgram({"/S", File("none.reg")});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_EQ(missing.error,
            "orvane-regedit: Cannot open the file '" + File("none.reg") + "': No such file or directory\n");
  WriteFile(File("bad.reg"), "REGEDIT5\r\n[HKEY_CURRENT_USER\\Software\\Bad]\r\n");
  const ProgramResult bad = RunRegeditProgram({"/S", File("bad.reg")});
  EXPECT_EQ(bad.exit_code, 1);
  EXPECT_EQ(bad.error, "orvane-regedit: " + File("bad.reg") +
                           ": line 1: not a registration file (the first line must be REGEDIT4 or "
                           "Windows Registry Editor Version 5.00)\n");
  EXPECT_EQ(FreshExport("HKEY_CURRENT_USER"), ExportText("HKEY_CURRENT_USER"));
}

TEST_F(RegeditProgram, ReplaceSwapsTheWholeRegistryForTheFile) {
  SetValue(HKEY_CURRENT_USER, "Software\\Old", "v", REG_SZ, std::string("o\0", 2));
  SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\.old", "", REG_SZ, std::string("o\0", 2));
  const std::string before = ExportText("");
  SetValue(HKEY_CURRENT_USER, "Software\\Later", "v", REG_SZ, std::string("l\0", 2));
  // A backup as the control leaves it: comment lines after the header, and
  // the end marker as its last line.
  WriteFile(File("backup.reg"), "REGEDIT4\r\n\r\n; " + std::string(65, '-') + "\r\n; Orvane Version 1.6.1\r\n; " +
                                    "Orvane Backup\r\n" + before.substr(10) +
                                    "; End of the Orvane registry backup\r\n");
  const ProgramResult result = RunRegeditProgram({"/S", "/C", File("backup.reg")});
  EXPECT_EQ(result.exit_code, 0) << result.error;
  EXPECT_EQ(FreshExport(""), before);
}

TEST_F(RegeditProgram, ReplaceWithASmallFileKeepsOnlyTheRootViewKeys) {
  SetValue(HKEY_CURRENT_USER, "Software\\Old", "v", REG_SZ, std::string("o\0", 2));
  WriteFile(File("small.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\New]\r\n\"n\"=\"1\"\r\n");
  EXPECT_EQ(RunRegeditProgram({"/S", "/C", File("small.reg")}).exit_code, 0);
  EXPECT_EQ(FreshExport("HKEY_CURRENT_USER"),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\New]\r\n\"n\"=\"1\"\r\n\r\n");
  EXPECT_EQ(FreshExport("HKEY_LOCAL_MACHINE"),
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes]\r\n\r\n[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Hardware Profiles]\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current]\r\n\r\n");
}

// Each file below fails in a different phase: reading, parsing, or applying
// after the registry was already emptied; none may change anything.
TEST_F(RegeditProgram, FailedReplaceLeavesTheRegistryAsItWas) {
  SetValue(HKEY_CURRENT_USER, "Software\\Keep", "v", REG_BINARY, std::string(300, '\x42'));
  const std::string before = ExportText("");
  const std::string good = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\New]\r\n";
  WriteFile(File("malformed.reg"), good + "\"a\"=dword:xyz\r\n");
  WriteFile(File("long.reg"), good + "[HKEY_CURRENT_USER\\" + std::string(256, 'k') + "]\r\n");
  WriteFile(File("header.reg"), "REGEDIT\r\n");
  struct Case {
    std::string file;
    std::string error;
  };
  const std::vector<Case> cases = {
      {File("none.reg"),
       "orvane-regedit: Cannot open the file '" + File("none.reg") + "': No such file or directory\n"},
      {File("malformed.reg"), "orvane-regedit: " + File("malformed.reg") +
                                  ": line 4: a dword needs 1 to 8 hexadecimal digits\norvane-regedit: The registry was "
                                  "not replaced: '" +
                                  File("malformed.reg") + "' has lines that cannot be read.\n"},
      {File("long.reg"), "orvane-regedit: " + File("long.reg") +
                             ": line 4: Unable to open the registry key "
                             "'HKEY_CURRENT_USER\\" +
                             std::string(256, 'k') + "' (status 87)\norvane-regedit: The registry was not replaced.\n"},
  };
  for (const Case& c : cases) {
    const ProgramResult result = RunRegeditProgram({"/S", "/C", c.file});
    EXPECT_EQ(result.exit_code, 1) << c.file;
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(FreshExport(""), before) << c.file;
  }
}

TEST_F(RegeditProgram, ReplaceStopsAtAReadOnlyKeyAndChangesNothing) {
  SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked", "v", REG_SZ, std::string("l\0", 2));
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked", true), 0);
  const std::string before = ExportText("");
  WriteFile(File("x.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\New]\r\n");
  const ProgramResult result = RunRegeditProgram({"/S", "/C", File("x.reg")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error,
            "orvane-regedit: " + File("x.reg") +
                ": Unable to empty HKEY_LOCAL_MACHINE (status 5)\norvane-regedit: The registry was not replaced.\n");
  EXPECT_EQ(FreshExport(""), before);
}

TEST_F(RegeditProgram, DeleteRemovesATreeAndRefusesRoots) {
  SetValue(HKEY_CURRENT_USER, "Software\\Gone\\Deep", "v", REG_SZ, std::string("g\0", 2));
  EXPECT_EQ(RunRegeditProgram({"/D", "hkey_current_user\\Software\\Gone"}).exit_code, 0);
  EXPECT_EQ(FreshExport("HKEY_CURRENT_USER\\Software"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n");
  const ProgramResult root = RunRegeditProgram({"/D", "HKEY_CURRENT_USER"});
  EXPECT_EQ(root.exit_code, 1);
  EXPECT_EQ(root.error, "orvane-regedit: Invalid system key [HKEY_CURRENT_USER]\n");
}

// A read-only key deep inside is met after the keys before it are gone:
// the deletion fails whole and the tree keeps every byte.
TEST_F(RegeditProgram, DeleteOfATreeHoldingAReadOnlyKeyChangesNothing) {
  for (const char* key : {"Software\\T\\a", "Software\\T\\b\\locked", "Software\\T\\c"}) {
    SetValue(HKEY_CURRENT_USER, key, "v", REG_SZ, std::string("x\0", 2));
  }
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_CURRENT_USER, "Software\\T\\b\\locked", true), 0);
  const std::string before = ExportText("HKEY_CURRENT_USER\\Software");
  const ProgramResult result = RunRegeditProgram({"/D", "HKEY_CURRENT_USER\\Software\\T"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.error,
            "orvane-regedit: Unable to delete the registry key 'HKEY_CURRENT_USER\\Software\\T' (status 5)\n");
  EXPECT_EQ(FreshExport("HKEY_CURRENT_USER\\Software"), before);
}

// A usage error is one line on standard error that names the problem.
TEST_F(RegeditProgram, AUsageErrorIsOneLineNamingTheProblem) {
  for (const auto& [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"/Q", "x"}, "Invalid switch [/Q]"},
           {{"--bogus"}, "Invalid switch [--bogus]"},
           {{"/S"}, "No file name was given."},
           {{"--delete"}, "The delete option needs exactly one key."},
           {{"/E", "--delete", "k"}, "Only one action may be given"}}) {
    const ProgramOutput run = RunProgram(ORVANE_REGEDIT_PROGRAM, args);
    EXPECT_EQ(run.status, 2) << named;
    EXPECT_EQ(run.out, "") << named;
    EXPECT_EQ(run.err.rfind("orvane-regedit: " + named, 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
}

TEST_F(RegeditProgram, HelpAndVersionGoToStandardOutputAndSucceed) {
  for (const char* help : {"--help", "-h", "/?", "-H"}) {
    const ProgramOutput run = RunProgram(ORVANE_REGEDIT_PROGRAM, {help});
    EXPECT_EQ(run.status, 0) << help;
    EXPECT_EQ(run.err, "") << help;
    for (const char* option : {"--export", "--import", "--replace-all", "--delete", "/E", "/C", "/D", "--version"}) {
      EXPECT_NE(run.out.find(option), std::string::npos) << option << " in " << help;
    }
  }
  const ProgramOutput version = RunProgram(ORVANE_REGEDIT_PROGRAM, {"--version"});
  EXPECT_EQ(version.out, "Orvane 1.6.1\n");
  EXPECT_EQ(version.err, "");
  EXPECT_EQ(version.status, 0);
}

// The long options on the store; "-" is standard input or output.
TEST_F(RegeditProgram, LongOptionsImportExportReplaceAndDelete) {
  const std::string text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Long]\r\n\"v\"=\"1\"\r\n\r\n";
  ProgramOutput run = RunProgram(ORVANE_REGEDIT_PROGRAM, {"--import", "-"}, text);
  EXPECT_EQ(run.status, 0) << run.err;
  run = RunProgram(ORVANE_REGEDIT_PROGRAM, {"--export", "-", "HKEY_CURRENT_USER\\Software\\Long"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, text);
  WriteFile(File("all.reg"), FreshExport(""));
  run = RunProgram(ORVANE_REGEDIT_PROGRAM, {"--delete", "HKEY_CURRENT_USER\\Software\\Long"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FreshExport("HKEY_CURRENT_USER\\Software"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\r\n");
  run = RunProgram(ORVANE_REGEDIT_PROGRAM, {"--replace-all", File("all.reg")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FreshExport("HKEY_CURRENT_USER\\Software\\Long"), text);
}

// Export, import and replace count keys on standard error when it is a
// terminal, erasing the line when done; into a pipe nothing.
TEST_F(RegeditProgram, LongWorkShowsProgressOnATerminalOnly) {
  SetValue(HKEY_CURRENT_USER, "Software\\P", "v", REG_SZ, std::string("p\0", 2));
  const std::string file = File("p.reg");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"/E", file, "HKEY_CURRENT_USER\\Software\\P"}, "Exporting"},
      {{file}, "Importing"},
      {{"/C", file}, "Replacing"},
  };
  for (const auto& [args, label] : cases) {
    platform::CommitPendingRegistryWrites();
    const std::string screen = orvane::testing::RunOnTerminal(ORVANE_REGEDIT_PROGRAM, args);
    EXPECT_NE(screen.find("\r" + label + ": 1 key"), std::string::npos) << screen;
    EXPECT_NE(screen.find("\r\x1b[K"), std::string::npos) << screen;
    EXPECT_EQ(RunProgram(ORVANE_REGEDIT_PROGRAM, args).err, "") << label;
  }
}

}  // namespace
}  // namespace orvane::regedit::testing
