// The registry-file methods end to end through the quorvel script host:
// the script's Export, Backup and Import reach our regedit (first on PATH)
// and the files come out as the control writes them.
#include <gtest/gtest.h>

#include <fstream>

#include "about/fake_program.h"
#include "platform/win32_system.h"
#include "quorvel/run_program.h"

namespace orvane {
namespace {

using quorvel::testing::ReadFile;
using quorvel::testing::RunQuorvel;
using quorvel::testing::TempDir;
using quorvel::testing::Transcript;

constexpr const char* kScript = R"(GlobalKeyPath = "HKEY_CURRENT_USER\Software\Script"
ValueName = "name"
Value = "text"
SetValue
Export "out", False, "from|a script"
Backup
DeleteKey
Import "out"
)";

TEST(ScriptHost, ExportBackupAndImportRunThroughOurEditor) {
  testing::FakePrograms programs;
  std::filesystem::copy_file(REGEDIT_PROGRAM, programs.dir() / "orvane-regedit");
  TempDir work;
  std::ofstream(work.path() / "files.qv") << kScript;
  const auto run = RunQuorvel({"--registry", (work.path() / "registry.db").string(), "files.qv"}, work.path());
  EXPECT_EQ(run.status, 0) << Transcript(run);
  const std::string exported = ReadFile(work.path() / "out.reg");
  EXPECT_NE(exported.find("; from\r\n; a script\r\n\r\n[HKEY_CURRENT_USER\\Software\\Script]\r\n\"name\"=\"text\"\r\n"),
            std::string::npos)
      << exported;
  const std::string backup = (work.path() / "Registry.orv").string();
  EXPECT_EQ(GetFileAttributesA(backup.c_str()), 7u);
  EXPECT_NE(ReadFile(backup).find("\r\n; Orvane Backup\r\n"), std::string::npos);
}

}  // namespace
}  // namespace orvane
