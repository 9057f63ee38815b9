// The quorvel command line: script sources, options and exit statuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "run_program.h"

namespace quorvel::testing {
namespace {

// What every new control writes to standard error when there is no
// terminal: its About box, closed at once.
const std::string kAboutBox =
    "[About Orvane]\n"
    "  Orvane\n"
    "  The fastest and easiest way to manipulate your Registry !\n"
    "  Version 1.6.1\n"
    "  Orvane by Verrilan, written for everyone who edits the registry\n"
    "  <orvane@verrilan.example>\n"
    "  < OK > < Quorvel... > < Disclaimer... >\n";

class ProgramTest : public ::testing::Test {
 protected:
  // Runs quorvel on the test's own store with the given further arguments.
  ProgramRun Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"--registry", store_file()});
    return RunQuorvel(args, dir_.path(), input);
  }
  std::string store_file() const { return (dir_.path() / "registry.db").string(); }

  TempDir dir_;
};

TEST_F(ProgramTest, GlobalKeyPathIsParsedIntoRootAndSubKeyPath) {
  ProgramRun run = Run({"-e", "GlobalKeyPath = \"hkey_local_machine\\\\Software\\\\\": Print GlobalKeyPath: Print hKey"});
  EXPECT_EQ(Transcript(run),
            "String \"HKEY_LOCAL_MACHINE\\Software\"\nLong -2147483646\n--- stderr\n" + kAboutBox + "--- exit 0\n");
}

TEST_F(ProgramTest, WithoutScriptOrTerminalTheScriptComesFromStandardInput) {
  EXPECT_EQ(Transcript(Run({}, "Print 1\r\nhKey = HKEY_USERS: Print GlobalKeyPath\n")),
            "Integer 1\nString \"HKEY_USERS\"\n--- stderr\n" + kAboutBox + "--- exit 0\n");
  EXPECT_EQ(Transcript(Run({}, "Print 1\nPrint (\n")),
            "--- stderr\n<stdin>:2: syntax error: expected an expression, found end of line\n--- exit 2\n");
}

TEST_F(ProgramTest, AStatementThatRaisedMakesTheExitStatusOne) {
  EXPECT_EQ(Transcript(Run({"-e", "Print Chr(300)\nPrint 2"})),
            "Error 5: Invalid procedure call or argument\nInteger 2\n--- stderr\n" + kAboutBox + "--- exit 1\n");
}

TEST_F(ProgramTest, ASyntaxErrorAnywhereRunsNothing) {
  EXPECT_EQ(Transcript(Run({"-e", "Print 1\n\nPrint 1 2"})),
            "--- stderr\n-e:3: syntax error: expected end of statement, found '2'\n--- exit 2\n");
}

TEST_F(ProgramTest, DeepInputIsASyntaxErrorAndLongJoinsRun) {
  const std::string deep = "Print 1\nPrint " + std::string(11718, '(') + "1" + std::string(11718, ')');
  EXPECT_EQ(Transcript(Run({"-e", deep})),
            "--- stderr\n-e:2: syntax error: expression nested more than 256 levels deep\n--- exit 2\n");
  std::string chain = "Print \"a\"";
  for (int i = 0; i < 50000; ++i) chain += " & \"b\"";
  std::ofstream(dir_.path() / "chain.qv", std::ios::binary) << chain << " & Null & 1\n";
  ProgramRun joined = Run({"chain.qv"});
  EXPECT_EQ(joined.status, 0) << joined.err;
  EXPECT_EQ(joined.out, "String \"a" + std::string(50000, 'b') + "1\"\n");
}

TEST_F(ProgramTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Run({"-e", "Print 1", "script.qv"}).status, 2);
  EXPECT_EQ(Run({"--bogus"}).status, 2);
  EXPECT_EQ(Run({"--platform", "95", "-e", "Print 1"}).status, 2);
  EXPECT_EQ(Run({"a.qv", "b.qv"}).status, 2);
  ProgramRun missing = Run({"missing.qv"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("missing.qv"), std::string::npos) << missing.err;
}

TEST_F(ProgramTest, HelpOptionPrintsUsageAndSucceeds) {
  ProgramRun run = Run({"--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("--registry"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("--version"), std::string::npos) << run.out;
  EXPECT_EQ(run.err, "");
}

TEST_F(ProgramTest, VersionOptionPrintsTheProductVersionAndRunsNothing) {
  EXPECT_EQ(Transcript(Run({"--version"})), "Orvane 1.6.1\n--- exit 0\n");
  EXPECT_EQ(Transcript(Run({"--version", "-e", "Print 1"})), "Orvane 1.6.1\n--- exit 0\n");
}

// A usage error is one line on standard error that names the problem.
TEST_F(ProgramTest, AUsageErrorIsOneLineNamingTheProblem) {
  for (const auto& [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--bogus"}, "--bogus"}, {{"--platform", "95"}, "95"}, {{"a.qv", "b.qv"}, "b.qv"}}) {
    ProgramRun run = Run(args);
    EXPECT_EQ(run.status, 2) << named;
    EXPECT_EQ(run.out, "") << named;
    EXPECT_EQ(run.err.rfind("quorvel: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
  }
}

// --no-dialogs is the container's choice, which comes before the
// environment's: the About box is written and closes at once even where
// ORVANE_DIALOGS asks for the terminal. --quiet leaves out its text.
TEST_F(ProgramTest, NoDialogsAndQuietNeverWaitForTheAboutBox) {
  setenv("ORVANE_DIALOGS", "terminal", 1);
  ProgramRun batch = Run({"--no-dialogs", "-e", "Print 1: AboutBox"});
  ProgramRun quiet = Run({"--quiet", "-e", "Print 1: AboutBox"});
  unsetenv("ORVANE_DIALOGS");
  EXPECT_EQ(Transcript(batch), "Integer 1\n--- stderr\n" + kAboutBox + kAboutBox + "--- exit 0\n");
  EXPECT_EQ(Transcript(quiet), "Integer 1\n--- exit 0\n");
  EXPECT_EQ(Transcript(Run({"--quiet"}, "Print 2\n")), "Integer 2\n--- exit 0\n");
}

// A relative --registry path is made absolute before the store is opened.
TEST_F(ProgramTest, RegistryOptionSelectsTheStoreFile) {
  std::filesystem::create_directory(dir_.path() / "sub");
  ProgramRun run = RunQuorvel({"--registry", "sub/own.db", "-e", "UndoEnabled = False"}, dir_.path());
  EXPECT_EQ(Transcript(run), "--- stderr\n" + kAboutBox + "--- exit 0\n");
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / "sub" / "own.db"));
}

TEST_F(ProgramTest, PlatformOptionDecidesWhetherDynDataCanBeSelected) {
  const std::string script = "hKey = HKEY_DYN_DATA: Print GlobalKeyPath";
  EXPECT_EQ(Transcript(Run({"--platform", "9x", "-e", script})),
            "String \"HKEY_DYN_DATA\"\n--- stderr\n" + kAboutBox + "--- exit 0\n");
  EXPECT_EQ(Transcript(Run({"--platform", "nt", "-e", script})),
            "Error 60998: HKEY_DYN_DATA root key is not available under Windows NT\n"
            "String \"HKEY_CLASSES_ROOT\"\n--- stderr\n" + kAboutBox + "--- exit 1\n");
}

// The tour of the README, on a fresh store, prints exactly tour.out.
TEST_F(ProgramTest, TourRunsAsRecorded) {
  std::filesystem::path examples = QUORVEL_EXAMPLES;
  ProgramRun run = Run({(examples / "tour.qv").string()});
  EXPECT_EQ(Transcript(run), ReadFile(std::filesystem::path(QUORVEL_TRANSCRIPTS) / ".." / "tour.out"));
}

}  // namespace
}  // namespace quorvel::testing
