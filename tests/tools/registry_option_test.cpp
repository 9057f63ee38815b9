// Every program selects the registry store the same way: `--registry FILE`
// first, else ORVANE_REGISTRY. Two stores in the test's own temporary
// directory each hold a key the other lacks; each program is asked whether
// a key is there, and its answer tells which store it used.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/win32_registry.h"
#include "store/registry_store.h"
#include "support/environment.h"
#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

// How one program says whether HKEY_CURRENT_USER\Software\<name> exists:
// it exits 0 and, when `found_text` is not empty, prints it.
struct Probe {
  const char* program_name;
  std::string program;
  std::vector<std::string> (*args)(const std::string& name);
  const char* found_text;
};

std::vector<std::string> QuorvelArgs(const std::string& name) {
  return {"--quiet", "-e",
          "GlobalKeyPath = \"HKEY_CURRENT_USER\\Software\\" + name + "\": Print VerifyExistence(VerifyKey)"};
}
std::vector<std::string> RegArgs(const std::string& name) { return {"query", "HKCU\\Software\\" + name}; }
std::vector<std::string> RegeditArgs(const std::string& name) {
  return {"/E", "-", "HKEY_CURRENT_USER\\Software\\" + name};
}
std::vector<std::string> AdminArgs(const std::string& name) {
  return {"read-only", "off", "HKCU\\Software\\" + name};
}

const std::vector<Probe>& Probes() {
  static const std::vector<Probe> probes = {
      {"quorvel", QUORVEL_PROGRAM, QuorvelArgs, "True"},
      {"orvane-reg", REG_PROGRAM, RegArgs, ""},
      {"orvane-regedit", REGEDIT_PROGRAM, RegeditArgs, ""},
      {"orvane-registry-admin", ADMIN_PROGRAM, AdminArgs, ""},
  };
  return probes;
}

bool Finds(const Probe& probe, const std::vector<std::string>& before, const std::string& name) {
  std::vector<std::string> args = before;
  const std::vector<std::string> rest = probe.args(name);
  args.insert(args.end(), rest.begin(), rest.end());
  const ProgramOutput run = RunProgram(probe.program, args);
  return run.status == 0 && run.out.find(probe.found_text) != std::string::npos;
}

// A new store in `file` holding HKEY_CURRENT_USER\Software\<name>.
void MakeStoreWithKey(const fs::path& file, const std::string& name) {
  ASSERT_EQ(platform::SelectRegistryStore(file), ERROR_SUCCESS);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\" + name).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(platform::CommitRegistryWrites(), ERROR_SUCCESS);
}

class RegistryOption : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeStoreWithKey(from_variable_, "InTheVariablesStore");
    MakeStoreWithKey(from_option_, "InTheOptionsStore");
    ASSERT_EQ(platform::SelectRegistryStore(registry_.file()), ERROR_SUCCESS);
    SetEnvironment("ORVANE_REGISTRY", from_variable_.c_str());
  }

  TempRegistry registry_;
  fs::path from_variable_ = registry_.path() / "variable.db";
  fs::path from_option_ = registry_.path() / "option.db";
};

TEST_F(RegistryOption, EveryProgramUsesTheFileTheOptionNames) {
  for (const std::string& option : {std::string("--registry"), std::string("--registry=")}) {
    for (const Probe& probe : Probes()) {
      const std::vector<std::string> before =
          option.back() == '=' ? std::vector<std::string>{option + from_option_.string()}
                               : std::vector<std::string>{option, from_option_.string()};
      EXPECT_TRUE(Finds(probe, before, "InTheOptionsStore")) << probe.program_name << " " << before[0];
      EXPECT_FALSE(Finds(probe, before, "InTheVariablesStore")) << probe.program_name << " " << before[0];
    }
  }
}

TEST_F(RegistryOption, WithoutTheOptionEveryProgramUsesTheVariable) {
  for (const Probe& probe : Probes()) {
    EXPECT_TRUE(Finds(probe, {}, "InTheVariablesStore")) << probe.program_name;
    EXPECT_FALSE(Finds(probe, {}, "InTheOptionsStore")) << probe.program_name;
  }
}

// Scripts written for the admin program's earlier option name still work.
TEST_F(RegistryOption, TheAdminProgramKeepsItsOlderOptionName) {
  const Probe& admin = Probes()[3];
  EXPECT_TRUE(Finds(admin, {"--store", from_option_.string()}, "InTheOptionsStore"));
  EXPECT_FALSE(Finds(admin, {"--store", from_option_.string()}, "InTheVariablesStore"));
}

// Every program's --help names the option with the same words.
TEST(RegistryOptionHelp, IsTheSameInEveryProgram) {
  TempRegistry registry;
  const std::string words = "Registry store file for this process and the programs it starts";
  for (const Probe& probe : Probes()) {
    const ProgramOutput help = RunProgram(probe.program, {"--help"});
    EXPECT_EQ(help.status, 0) << probe.program_name;
    EXPECT_NE(help.out.find("--registry"), std::string::npos) << probe.program_name << ":\n" << help.out;
    EXPECT_NE(help.out.find(words), std::string::npos) << probe.program_name << ":\n" << help.out;
  }
}

}  // namespace
}  // namespace orvane::testing
