// The same command lines through Wine's own reg and through orvane-reg, on
// the same data imported into both from one file, compared line by line.
// The file lists values in name order, since Wine lists values sorted and
// our store keeps creation order. Wine's reg differs from the Windows tool
// in a few texts, which are mapped to the Windows ones before comparing
// (tools/reg/README.md lists them); commands where Wine's output is known
// to be wrong (REG_QWORD data) are left out. Skipped without wine.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "store/store_extensions.h"
#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::reg::testing {
namespace {

using orvane::testing::EndWinePrefix;
using orvane::testing::ProgramOutput;
using orvane::testing::RunProgram;
using orvane::testing::UsePrivateWinePrefix;
using orvane::testing::WinePath;

const char kData[] =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\OrvaneRegWine]\r\n"
    "@=\"top\"\r\n"
    "\"a binary\"=hex:00,ff,10\r\n"
    "\"b dword\"=dword:0000002a\r\n"
    "\"c expand\"=hex(2):25,50,41,54,48,25,00\r\n"
    "\"d multi\"=hex(7):6f,6e,65,00,74,77,6f,00,00\r\n"
    "\"e none\"=hex(0):01,02\r\n"
    "\"f text\"=\"hello world\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\OrvaneRegWine\\Alpha]\r\n"
    "\"x\"=\"1\"\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\OrvaneRegWine\\Alpha\\Deeper]\r\n"
    "\"x\"=\"2\"\r\n"
    "\"y\"=dword:00000000\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\OrvaneRegWine\\Beta]\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\OrvaneRegWine\\Gamma]\r\n"
    "@=\"g\"\r\n"
    "\"z\"=\"3\"\r\n\r\n";

const std::string kKey = "HKCU\\Software\\OrvaneRegWine";

// Wine's texts for lines the Windows tool (and orvane-reg) words otherwise.
std::string ToWindowsWording(std::string text) {
  std::string lines, line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c != '\n') {
      line.push_back(c);
      continue;
    }
    if (line == "reg: The operation completed successfully") line = "The operation completed successfully.";
    if (line.starts_with("Search complete. Number of matches found: ")) {
      line = "End of search: " + line.substr(line.rfind(' ') + 1) + " match(es) found.";
    }
    lines += line + '\n';
    line.clear();
  }
  return lines + line;
}

class RegAgainstWine : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!UsePrivateWinePrefix(registry_.path() / "wineprefix")) GTEST_SKIP() << "wine is not installed";
    wine_started_ = true;
    std::ofstream(registry_.path() / "data.reg", std::ios::binary) << kData;
    ASSERT_EQ(Ours({"import", "@data.reg"}).status, 0);
    ASSERT_EQ(Wines({"import", "@data.reg"}).status, 0);
  }

  void TearDown() override {
    if (wine_started_) EndWinePrefix();
  }

  // "@name" stands for the file `name` in the test's folder.
  std::vector<std::string> Words(std::vector<std::string> args, bool wine) {
    for (std::string& arg : args) {
      if (!arg.starts_with('@')) continue;
      const std::filesystem::path path = registry_.path() / arg.substr(1);
      arg = wine ? WinePath(path) : path.string();
    }
    return args;
  }

  ProgramOutput Ours(const std::vector<std::string>& args) {
    return RunProgram(ORVANE_REG_PROGRAM, Words(args, false));
  }

  ProgramOutput Wines(const std::vector<std::string>& args) {
    std::vector<std::string> words = Words(args, true);
    words.insert(words.begin(), "reg");
    ProgramOutput result = RunProgram("wine", words);
    result.out = ToWindowsWording(result.out);
    return result;
  }

  // Runs `args` through both; the exit codes must agree and, when
  // `compare_output`, the standard output too.
  void Both(const std::vector<std::string>& args, bool compare_output = true) {
    std::string line;
    for (const std::string& arg : args) line += arg + ' ';
    const ProgramOutput ours = Ours(args);
    const ProgramOutput wines = Wines(args);
    EXPECT_EQ(ours.status, wines.status) << line << "\nours: " << ours.err << "\nWine's: " << wines.out;
    if (compare_output) {
      EXPECT_EQ(ours.out, wines.out) << line;
    }
  }

  TempRegistry registry_;
  bool wine_started_ = false;
};

TEST_F(RegAgainstWine, QueriesPrintTheSame) {
  Both({"query", kKey});
  Both({"query", kKey, "/s"});
  Both({"query", "hkey_current_user\\software\\orvaneregwine\\alpha"});
  Both({"query", kKey + "\\Beta"});
  Both({"query", kKey, "/v", "B DWORD"});
  Both({"query", kKey, "/ve"});
  Both({"query", kKey, "/v", "x", "/s"});
  Both({"query", kKey, "/ve", "/s"});
  Both({"query", kKey, "/v", "missing", "/s"});
  Both({"query", kKey, "/v", "missing"}, false);
  Both({"query", kKey + "\\Missing"}, false);
  Both({"query", "HKXX\\Software"}, false);
  Both({"query", kKey, "/v", "x", "/ve"}, false);
}

TEST_F(RegAgainstWine, ChangesLeaveTheSameData) {
  // Values are added in name order, the order Wine lists them in.
  Both({"add", kKey + "\\New\\Key", "/v", "list", "/t", "REG_MULTI_SZ", "/d", "a#b#", "/s", "#", "/f"});
  Both({"add", kKey + "\\New\\Key", "/v", "n", "/t", "REG_DWORD", "/d", "0x10", "/f"});
  Both({"add", kKey + "\\New\\Key", "/v", "odd", "/t", "REG_BINARY", "/d", "abc", "/f"});
  Both({"add", kKey + "\\New\\Key", "/v", "bad", "/t", "REG_DWORD", "/d", "4294967296", "/f"}, false);
  Both({"add", kKey + "\\New\\Key", "/v", "bad", "/t", "REG_BINARY", "/d", "xy", "/f"}, false);
  Both({"add", kKey + "\\New\\Key", "/v", "bad", "/t", "REG_FOO", "/f"}, false);
  Both({"query", kKey + "\\New", "/s"});
  Both({"delete", kKey, "/v", "b dword", "/f"});
  Both({"delete", kKey, "/ve", "/f"});
  Both({"delete", kKey + "\\Gamma", "/va", "/f"});
  Both({"delete", kKey + "\\Alpha\\Deeper", "/f"});
  Both({"delete", kKey + "\\Missing", "/f"}, false);
  Both({"delete", kKey, "/v", "missing", "/f"}, false);
  Both({"query", kKey, "/s"});
}

TEST_F(RegAgainstWine, CopyExportAndImportLeaveTheSameData) {
  // Wine's reg prints nothing when these succeed; the Windows tool (and
  // orvane-reg) print the success line, so only the data is compared.
  Both({"copy", kKey + "\\Alpha", "HKCU\\Software\\OrvaneRegCopy", "/s", "/f"}, false);
  Both({"copy", kKey, "HKCU\\Software\\OrvaneRegCopy\\Flat", "/f"}, false);
  Both({"query", "HKCU\\Software\\OrvaneRegCopy", "/s"});
  Both({"copy", kKey + "\\Missing", "HKCU\\Software\\OrvaneRegCopy", "/f"}, false);
  Both({"export", kKey, "@exported.reg", "/y"}, false);
  Both({"delete", kKey, "/f"});
  Both({"import", "@exported.reg"}, false);
  Both({"query", kKey, "/s"});
  Both({"export", kKey + "\\Missing", "@missing.reg", "/y"}, false);
  Both({"import", "@missing.reg"}, false);
}

}  // namespace
}  // namespace orvane::reg::testing
