// The orvane-reg program as a separate process on a private store: its
// help, version and usage errors, answers read from standard input, and
// the exit codes of compare.
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

}  // namespace
}  // namespace orvane::reg::testing
