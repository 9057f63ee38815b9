// reg export and reg import on a private store: the REGEDIT4 text, the
// question before replacing a file, never replacing what is not a plain
// file, and the messages of a file with bad lines.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "reg/reg_fixture.h"

namespace orvane::reg::testing {
namespace {

using RegFiles = RegTest;

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

const char kExport[] =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\E]\r\n"
    "\"s\"=\"x\"\r\n"
    "\"n\"=dword:0000000a\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\E\\Sub]\r\n"
    "\"b\"=hex:01,02\r\n\r\n";

TEST_F(RegFiles, ExportWritesTheSubtreeAndAsksBeforeReplacing) {
  Ok({"add", "HKCU\\Software\\E", "/v", "s", "/d", "x", "/f"});
  Ok({"add", "HKCU\\Software\\E", "/v", "n", "/t", "REG_DWORD", "/d", "10", "/f"});
  Ok({"add", "HKCU\\Software\\E\\Sub", "/v", "b", "/t", "REG_BINARY", "/d", "0102", "/f"});
  const std::string file = (registry_.path() / "e.reg").string();
  EXPECT_EQ(Ok({"export", "hkcu\\Software\\E", file}), kDone);
  EXPECT_EQ(ReadText(file), kExport);

  WriteText(file, "old");
  RunResult result = Run({"export", "HKCU\\Software\\E", file}, "no\n");
  EXPECT_EQ(result.out, "File " + file + " already exists. Overwrite (Yes/No)? The operation was canceled by the user.\n");
  EXPECT_EQ(ReadText(file), "old");
  result = Run({"export", "HKCU\\Software\\E", file}, "y\n");
  EXPECT_EQ(result.out, "File " + file + " already exists. Overwrite (Yes/No)? " + kDone);
  EXPECT_EQ(ReadText(file), kExport);
  WriteText(file, "old");
  EXPECT_EQ(Ok({"export", "HKCU\\Software\\E", file, "/Y"}), kDone);
  EXPECT_EQ(ReadText(file), kExport);
}

TEST_F(RegFiles, ExportToStandardOutputPrintsTheFileAlone) {
  Ok({"add", "HKCU\\Software\\E", "/v", "s", "/d", "x", "/f"});
  EXPECT_EQ(Ok({"export", "HKCU\\Software\\E", "-"}),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\E]\r\n\"s\"=\"x\"\r\n\r\n");
}

TEST_F(RegFiles, ExportNeverReplacesALinkOrAFolder) {
  Ok({"add", "HKCU\\Software\\E", "/v", "s", "/d", "x", "/f"});
  const std::filesystem::path target = registry_.path() / "target.txt";
  const std::filesystem::path link = registry_.path() / "link.reg";
  WriteText(target, "kept");
  std::filesystem::create_symlink(target, link);
  const std::filesystem::path folder = registry_.path() / "folder.reg";
  std::filesystem::create_directory(folder);
  for (const std::filesystem::path& path : {link, folder}) {
    const RunResult result = Run({"export", "HKCU\\Software\\E", path.string(), "/y"});
    EXPECT_EQ(result.status, 1) << path;
    EXPECT_EQ(result.err, "ERROR: Error opening the file. There may be a disk or file system error.\n");
  }
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadText(target), "kept");
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(RegFiles, ExportOfAMissingKeyCreatesNoFile) {
  const std::filesystem::path file = registry_.path() / "none.reg";
  const RunResult result = Run({"export", "HKCU\\Software\\Missing", file.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ERROR: The system was unable to find the specified registry key or value.\n");
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(RegFiles, ImportMergesAndReportsBadLines) {
  const std::filesystem::path file = registry_.path() / "in.reg";
  WriteText(file, kExport);
  EXPECT_EQ(Ok({"import", file.string()}), kDone);
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\E", "/s"}),
            "\nHKEY_CURRENT_USER\\Software\\E\n    s    REG_SZ    x\n    n    REG_DWORD    0xa\n\n"
            "HKEY_CURRENT_USER\\Software\\E\\Sub\n    b    REG_BINARY    0102\n\n");

  WriteText(file, "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\F]\n\"a\"=dword:zz\n\"b\"=\"ok\"\n");
  const RunResult result = Run({"import", file.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(file.string() + ": line 4: "), std::string::npos) << result.err;
  EXPECT_TRUE(result.err.ends_with("ERROR: Error accessing the registry.\n")) << result.err;
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\F"}), "\nHKEY_CURRENT_USER\\Software\\F\n    b    REG_SZ    ok\n\n");
}

TEST_F(RegFiles, ShortRootNamesAreForCommandLinesOnly) {
  const std::filesystem::path file = registry_.path() / "short.reg";
  WriteText(file, "REGEDIT4\n\n[HKCU\\Software\\G]\n\"a\"=\"1\"\n");
  const RunResult result = Run({"import", file.string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find(file.string() + ": line 3: "), std::string::npos) << result.err;
  EXPECT_EQ(Run({"query", "HKCU\\Software\\G"}).status, 1);
}

TEST_F(RegFiles, ImportOfAMissingFileFails) {
  const RunResult result = Run({"import", (registry_.path() / "missing.reg").string()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ERROR: Error opening the file. There may be a disk or file system error.\n");
}

// save asks before replacing a file and replaces it whole after a Yes (or
// with /y); restore puts a saved subtree back; load and unload take a key
// directly below HKLM or HKU; each failure prints reg's message.
TEST_F(RegFiles, HiveVerbsSaveRestoreLoadAndUnload) {
  const std::string hive = (registry_.path() / "saved.hiv").string();
  const std::string text = (registry_.path() / "text.txt").string();
  WriteText(text, "not a hive");
  Ok({"add", "HKCU\\Software\\H\\Sub", "/v", "s", "/d", "x", "/f"});
  EXPECT_EQ(Ok({"save", "HKCU\\Software\\H", hive}), kDone);
  const std::string first = ReadText(hive);
  Ok({"add", "HKCU\\Software\\H", "/v", "later", "/d", "y", "/f"});
  EXPECT_EQ(Run({"save", "HKCU\\Software\\H", hive}, "n\n").out,
            "File " + hive + " already exists. Overwrite (Yes/No)? The operation was canceled by the user.\n");
  EXPECT_EQ(ReadText(hive), first);
  EXPECT_EQ(Ok({"save", "HKCU\\Software\\H", hive, "/y"}), kDone);
  EXPECT_NE(ReadText(hive), first);
  Ok({"delete", "HKCU\\Software\\H", "/f"});
  Ok({"add", "HKCU\\Software\\R", "/v", "old", "/d", "z", "/f"});
  EXPECT_EQ(Ok({"restore", "HKCU\\Software\\R", hive}), kDone);
  EXPECT_EQ(Ok({"query", "HKCU\\Software\\R", "/s"}),
            "\nHKEY_CURRENT_USER\\Software\\R\n    later    REG_SZ    y\n\n"
            "HKEY_CURRENT_USER\\Software\\R\\Sub\n    s    REG_SZ    x\n\n");
  EXPECT_EQ(Ok({"load", "HKU\\Loaded", hive}), kDone);
  EXPECT_EQ(Ok({"query", "HKU\\Loaded", "/v", "later"}), "\nHKEY_USERS\\Loaded\n    later    REG_SZ    y\n\n");
  const struct {
    std::vector<std::string> args;
    std::string err;
  } failures[] = {
      {{"load", "HKCU\\X", hive}, "ERROR: Invalid key name.\n"},
      {{"load", "HKLM\\X\\Y", hive}, "ERROR: Invalid key name.\n"},
      {{"load", "HKLM\\X", hive},
       "ERROR: The process cannot access the file because it is being used by another process.\n"},
      {{"load", "HKLM\\X", text}, "ERROR: The configuration registry database is corrupt.\n"},
      {{"load", "HKLM\\SOFTWARE", text}, "ERROR: Cannot create a file when that file already exists.\n"},
      {{"unload", "HKLM\\SOFTWARE"}, "ERROR: Access is denied.\n"},
      {{"unload", "HKLM\\Nothing"}, "ERROR: The system was unable to find the specified registry key or value.\n"},
      {{"restore", "HKCU\\Software\\R", text}, "ERROR: The configuration registry database is corrupt.\n"},
      {{"save", "HKCU\\Software\\Missing", text, "/y"},
       "ERROR: The system was unable to find the specified registry key or value.\n"},
  };
  for (const auto& failure : failures) {
    const RunResult result = Run(failure.args);
    EXPECT_EQ(result.status, 1) << failure.args[0];
    EXPECT_EQ(result.err, failure.err) << failure.args[0] << " " << failure.args[1];
  }
  EXPECT_EQ(Ok({"unload", "HKU\\Loaded"}), kDone);
}

}  // namespace
}  // namespace orvane::reg::testing
