// quorvel in a real terminal (tmux): a pipeline whose output is not a
// terminal never waits for the About box, and the interactive prompt
// completes names with Tab, drops a line on Ctrl-C, ends on Ctrl-D and
// finds its history again in the next session. Skipped without tmux.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "run_program.h"
#include "tmux_pane.h"

namespace quorvel::testing {
namespace {

class TerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TmuxAvailable()) GTEST_SKIP() << "tmux is not installed; the terminal tests need it";
    pane_ = std::make_unique<TmuxPane>(dir_.path(), std::map<std::string, std::string>{
                                                        {"HOME", (dir_.path() / "home").string()},
                                                        {"XDG_STATE_HOME", (dir_.path() / "state").string()},
                                                        {"PATH", "/usr/bin:/bin"},
                                                        {"PS1", "shell$ "},
                                                    });
    ASSERT_TRUE(pane_->WaitFor("shell$")) << pane_->Screen();
  }

  // Types a command line for the shell and presses Enter.
  void Run(const std::string& command) {
    pane_->Type(command);
    pane_->Press({"Enter"});
  }

  // The command that starts quorvel on the test's own store.
  std::string Quorvel(const std::string& options) const {
    return std::string(QUORVEL_PROGRAM) + " --registry " + (dir_.path() / "registry.db").string() + " " + options;
  }

  TempDir dir_;
  std::unique_ptr<TmuxPane> pane_;
};

// Standard input and error are the terminal, standard output a pipe.
TEST_F(TerminalTest, APipelineNeverWaitsForTheAboutBox) {
  Run(Quorvel("-e 'Print 7'") + " | cat > out.txt; echo \"piped-$?\"");
  ASSERT_TRUE(pane_->WaitFor("piped-0")) << pane_->Screen();
  EXPECT_EQ(ReadFile(dir_.path() / "out.txt"), "Integer 7\n");
  EXPECT_NE(pane_->Screen().find("[About Orvane]"), std::string::npos) << pane_->Screen();
}

TEST_F(TerminalTest, ThePromptCompletesDropsALineOnCtrlCAndKeepsItsHistory) {
  Run(Quorvel("--quiet") + "; echo \"ended-$?\"");
  ASSERT_TRUE(pane_->WaitFor("quorvel>")) << pane_->Screen();
  pane_->Type("Print GetV");
  pane_->Press({"Tab"});
  ASSERT_TRUE(pane_->WaitFor("quorvel> Print GetValue")) << pane_->Screen();
  pane_->Press({"C-c"});
  ASSERT_TRUE(pane_->WaitForLastLine("quorvel>")) << pane_->Screen();  // a new prompt, the line dropped
  pane_->Type("Print 6");
  pane_->Press({"Enter"});
  ASSERT_TRUE(pane_->WaitFor("Integer 6")) << pane_->Screen();
  pane_->Type("Print hkey_local_m");  // an enumeration constant, in any case
  pane_->Press({"Tab", "Enter"});
  ASSERT_TRUE(pane_->WaitFor("Long -2147483646")) << pane_->Screen();
  pane_->Type("Print CSt");  // a function of the script host, with its "("
  pane_->Press({"Tab"});
  pane_->Type("1)");
  pane_->Press({"Enter"});
  ASSERT_TRUE(pane_->WaitFor("String \"1\"")) << pane_->Screen();
  EXPECT_EQ(pane_->Screen().find("syntax error"), std::string::npos) << pane_->Screen();
  pane_->Press({"C-d"});
  ASSERT_TRUE(pane_->WaitFor("ended-0")) << pane_->Screen();

  const std::filesystem::path history = dir_.path() / "state" / "orvane" / "history";
  // A completed word is followed by a blank; the abandoned line is not kept.
  EXPECT_EQ(ReadFile(history), "Print 6\nPrint HKEY_LOCAL_MACHINE \nPrint CStr(1)\n");
  struct stat folder;
  ASSERT_EQ(stat(history.parent_path().c_str(), &folder), 0);
  EXPECT_EQ(folder.st_mode & 0777, 0700u);

  Run("clear");
  Run(Quorvel("--quiet"));
  ASSERT_TRUE(pane_->WaitFor("quorvel>")) << pane_->Screen();
  pane_->Press({"Up", "Up"});
  ASSERT_TRUE(pane_->WaitFor("quorvel> Print HKEY_LOCAL_MACHINE")) << pane_->Screen();
  pane_->Press({"C-d"});
}

}  // namespace
}  // namespace quorvel::testing
