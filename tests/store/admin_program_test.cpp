// The orvane-registry-admin program as a user runs it: help, version,
// usage errors, and its commands on the test's own store.
#include <gtest/gtest.h>

#include <algorithm>

#include "store/registry_store.h"
#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

ProgramOutput Admin(const std::vector<std::string>& args) { return RunProgram(ORVANE_ADMIN_PROGRAM, args); }

TEST(AdminProgram, HelpAndVersionGoToStandardOutputAndSucceed) {
  const ProgramOutput help = Admin({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  for (const char* word : {"--registry", "--version", "where", "check", "read-only"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word << " in\n" << help.out;
  }
  const ProgramOutput version = Admin({"--version"});
  EXPECT_EQ(version.out, "Orvane 1.6.1\n");
  EXPECT_EQ(version.err, "");
  EXPECT_EQ(version.status, 0);
}

// A usage error is one line on standard error that names the problem.
TEST(AdminProgram, AUsageErrorIsOneLineNamingTheProblem) {
  TempRegistry registry;
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "command"},
      {{"bogus"}, "bogus"},
      {{"where", "extra"}, "extra"},
      {{"read-only", "maybe", "HKCU\\Software"}, "maybe"},
      {{"read-only", "on", "HKXX\\Software"}, "HKXX\\Software"},
      {{"read-only", "on"}, "key"},
  };
  for (const auto& [args, named] : cases) {
    const ProgramOutput run = Admin(args);
    EXPECT_EQ(run.status, 2) << named;
    EXPECT_EQ(run.out, "") << named;
    EXPECT_EQ(run.err.rfind("orvane-registry-admin: ", 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
  }
}

TEST(AdminProgram, CommandsWorkOnTheChosenStore) {
  TempRegistry registry;
  const std::string store = registry.file().string();
  EXPECT_EQ(Admin({"--store", store, "where"}).out, store + "\n");
  EXPECT_EQ(Admin({"--store", store, "check"}).out, "ok\n");
  const ProgramOutput locked = Admin({"--store", store, "read-only", "on", "hkcu\\Software"});
  EXPECT_EQ(locked.status, 0) << locked.err;
  const ProgramOutput missing = Admin({"--store", store, "read-only", "on", "HKCU\\Software\\Missing"});
  EXPECT_EQ(missing.out, "status 2\n");
  EXPECT_EQ(missing.status, 1);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_WRITE, &key), ERROR_ACCESS_DENIED);
}

}  // namespace
}  // namespace orvane::testing
