// Program start by an argument list or a Windows-style command line: how
// the program is found, how the rest of the line becomes its arguments, and
// that registry writes are committed before it starts.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "about/fake_program.h"
#include "platform/process_start.h"
#include "store/registry_store.h"
#include "platform/win32_registry.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

using platform::FindProgram;
using platform::StartProgram;

TEST(ProgramStart, AMissingProgramGivesProcessIdZero) {
  testing::FakePrograms programs;
  EXPECT_EQ(StartProgram("Quorvel.exe"), 0u);
  EXPECT_EQ(StartProgram("winhlp32.exe -I topic"), 0u);
  EXPECT_EQ(StartProgram(""), 0u);
  EXPECT_EQ(StartProgram("/no/such/program arg"), 0u);
}

TEST(ProgramStart, ANameIsFoundAsWrittenThenWithoutExe) {
  testing::FakePrograms programs;
  programs.Add("helper");
  programs.Add("Tool.exe");
  EXPECT_EQ(FindProgram("helper.exe"), programs.dir() / "helper");
  EXPECT_EQ(FindProgram("helper.EXE"), programs.dir() / "helper");
  EXPECT_EQ(FindProgram("Tool.exe"), programs.dir() / "Tool.exe");
  EXPECT_TRUE(FindProgram("HELPER").empty());  // other names keep their case
  EXPECT_TRUE(FindProgram("helper.com").empty());
}

TEST(ProgramStart, RegeditInAnyCaseWithOrWithoutExeIsOurRegistryEditor) {
  testing::FakePrograms programs;
  programs.Add("orvane-regedit");
  for (const char* name : {"REGEDIT.EXE", "regedit", "RegEdit.Exe", "C:\\WINDOWS\\regedit.exe"}) {
    EXPECT_EQ(FindProgram(name), programs.dir() / "orvane-regedit") << name;
  }
  EXPECT_TRUE(FindProgram("regedit32.exe").empty());
}

// Wine's launcher script and any other program called `regedit` on PATH
// belong to someone else's registry: the control never starts them.
TEST(ProgramStart, ARegeditOnThePathIsNotOurEditor) {
  testing::FakePrograms programs;
  const std::filesystem::path launcher = programs.dir() / "regedit";
  std::ofstream(launcher) << "#!/bin/sh -e\nexec wine-stable regedit.exe \"$@\"\n";
  std::filesystem::permissions(launcher, std::filesystem::perms::owner_all);
  EXPECT_TRUE(FindProgram("REGEDIT.EXE").empty());
  EXPECT_EQ(StartProgram("REGEDIT.EXE /S x.reg"), 0u);
  programs.Add("regedit.exe");
  EXPECT_TRUE(FindProgram("regedit.exe").empty());
}

TEST(ProgramStart, TheRestOfTheLineIsSplitByWindowsRules) {
  testing::FakePrograms programs;
  programs.Add("orvane-regedit");
  uint32_t pid = StartProgram(R"(REGEDIT.EXE /S /E "C:\My Files\out.reg" say\"hi a\\b "c\\")");
  ASSERT_NE(pid, 0u);
  EXPECT_EQ(programs.ArgumentsOf("orvane-regedit", pid), "/S\n/E\nC:\\My Files\\out.reg\nsay\"hi\na\\\\b\nc\\\n");
}

TEST(ProgramStart, EachElementOfAnArgumentListIsOneArgument) {
  testing::FakePrograms programs;
  programs.Add("orvane-regedit");
  uint32_t pid = StartProgram(std::vector<std::string>{"REGEDIT.EXE", "/S", "--", "two  blanks", "q\"x", "",
                                                       "\"wrapped\"", "a\\\"b"});
  ASSERT_NE(pid, 0u);
  EXPECT_EQ(programs.ArgumentsOf("orvane-regedit", pid), "/S\n--\ntwo  blanks\nq\"x\n\n\"wrapped\"\na\\\"b\n");
  EXPECT_EQ(StartProgram(std::vector<std::string>{}), 0u);
  EXPECT_EQ(StartProgram(std::vector<std::string>{"/no/such/program", "x"}), 0u);
}

#ifdef REGEDIT_PROGRAM
TEST(ProgramStart, WritesOfAnOpenMethodAreVisibleToTheStartedProgram) {
  TempRegistry registry;
  testing::FakePrograms programs;
  std::filesystem::copy_file(REGEDIT_PROGRAM, programs.dir() / "orvane-regedit");
  std::filesystem::path exported = registry.path() / "out.reg";
  uint32_t pid = 0;
  {
    platform::RegistryMethodScope method;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Started", 0, nullptr, 0, 0x3F, nullptr, &key, nullptr), 0);
    RegCloseKey(key);
    pid = StartProgram("regedit /S /E \"" + exported.string() + "\" HKEY_LOCAL_MACHINE\\SOFTWARE\\Started");
    ASSERT_NE(pid, 0u);
    int status = 0;
    waitpid(static_cast<pid_t>(pid), &status, 0);  // while the method is still open
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
  std::ifstream in(exported, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Started]"), std::string::npos) << text;
}
#endif

}  // namespace
}  // namespace orvane
