// orvane-reg and the control (through quorvel) on a Wine prefix that
// `wineboot -i` made, checked with Wine itself: an unchanged file written
// back is Wine's file byte for byte, what we write Wine's reg reads (and
// Wine's server writes back as we read it), and what Wine's reg writes we
// read. Skipped without wine.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::reg::testing {
namespace {

using orvane::testing::EndWinePrefix;
using orvane::testing::ProgramOutput;
using orvane::testing::RunProgram;
using orvane::testing::UsePrivateWinePrefix;

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string WithoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

// A query's lines in name order: Wine's server keeps a key's values sorted.
std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(WithoutCarriageReturns(text));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

class RegOnWinePrefix : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = registry_.path() / "wineprefix";
    if (!UsePrivateWinePrefix(prefix_)) GTEST_SKIP() << "wine is not installed";
    wine_started_ = true;
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    unsetenv("DISPLAY");
    ASSERT_EQ(RunProgram("wineboot", {"-i"}).status, 0);
    ASSERT_EQ(RunProgram("wineserver", {"-w"}).status, 0);
  }
  void TearDown() override {
    if (wine_started_) EndWinePrefix();
  }

  ProgramOutput Ours(std::vector<std::string> args) {
    args.insert(args.begin(), {"--registry", prefix_.string()});
    return RunProgram(ORVANE_REG_PROGRAM, args);
  }
  ProgramOutput Wines(std::vector<std::string> args) {
    args.insert(args.begin(), "reg");
    ProgramOutput result = RunProgram("wine", args);
    RunProgram("wineserver", {"-w"});  // Wine's server writes its files when it ends
    return result;
  }

  TempRegistry registry_;
  std::filesystem::path prefix_;
  bool wine_started_ = false;
};

TEST_F(RegOnWinePrefix, UnchangedFilesAreWrittenBackAsWineWroteThem) {
  for (const auto& [file, root] : {std::pair{"system.reg", "HKLM\\Software"}, {"user.reg", "HKCU\\Software"}}) {
    const std::string before = ReadAll(prefix_ / file);
    ASSERT_EQ(Ours({"add", std::string(root) + "\\OrvaneRoundTrip", "/v", "x", "/d", "y", "/f"}).status, 0);
    EXPECT_NE(ReadAll(prefix_ / file), before);
    ASSERT_EQ(Ours({"delete", std::string(root) + "\\OrvaneRoundTrip", "/f"}).status, 0);
    EXPECT_TRUE(ReadAll(prefix_ / file) == before) << file << " differs from the file Wine wrote";
  }
}

TEST_F(RegOnWinePrefix, WineReadsWhatWeWriteAndWeReadWhatWineWrites) {
  const std::string key = "HKCU\\Software\\Orvane\\Caf\xc3\xa9 \xe2\x98\xba";
  const std::vector<std::vector<std::string>> values = {
      {"/v", "text", "/d", "plain text"},
      {"/v", "n\xc3\xa4me", "/d", "v\xc3\xa4lue \xe2\x82\xac"},
      {"/v", "expand", "/t", "REG_EXPAND_SZ", "/d", "%SystemRoot%\\x"},
      {"/v", "multi", "/t", "REG_MULTI_SZ", "/d", "one\\0two"},
      {"/v", "dword", "/t", "REG_DWORD", "/d", "0x8000000a"},
      {"/v", "long", "/t", "REG_BINARY", "/d", std::string(600, 'a')},
      {"/v", "none", "/t", "REG_NONE", "/d", "0102"},
      {"/ve", "/d", "default"},
  };
  for (const std::vector<std::string>& value : values) {
    std::vector<std::string> args = {"add", key};
    args.insert(args.end(), value.begin(), value.end());
    args.push_back("/f");
    ASSERT_EQ(Ours(args).status, 0) << value[1];
  }
  // The control through the script host.
  ASSERT_EQ(RunProgram(ORVANE_QUORVEL_PROGRAM,
                       {"--registry", prefix_.string(), "--quiet", "-e",
                        "GlobalKeyPath = \"HKEY_CURRENT_USER\\Software\\Orvane\\Control\"\n"
                        "ValueName = \"e\" : ValueType = ExpandedStringType : Value = \"%TEMP%\\x\" : SetValue\n"
                        "ValueName = \"d\" : ValueType = DWordType : Value = 42 : SetValue\n"
                        "ValueName = \"m\" : ValueType = MultiStringType : Value = \"a|b\" : SetValue"})
                .status,
            0);
  const std::vector<std::string> ours = SortedLines(Ours({"query", key}).out);
  // Wine's server reads our file, and writes it again when a value is added.
  ASSERT_EQ(Wines({"add", "HKCU\\Software\\Orvane\\FromWine", "/v", "w", "/d", "wine value", "/f"}).status, 0);
  EXPECT_EQ(SortedLines(Ours({"query", key}).out), ours) << "after Wine wrote user.reg again";
  EXPECT_EQ(WithoutCarriageReturns(Ours({"query", "HKCU\\Software\\Orvane\\FromWine", "/v", "w"}).out),
            "\nHKEY_CURRENT_USER\\Software\\Orvane\\FromWine\n    w    REG_SZ    wine value\n\n");
  const std::string wines = WithoutCarriageReturns(Wines({"query", "HKCU\\Software\\Orvane", "/s"}).out);
  for (const char* line : {"    text    REG_SZ    plain text\n", "    expand    REG_EXPAND_SZ    %SystemRoot%\\x\n",
                           "    multi    REG_MULTI_SZ    one\\0two\n", "    dword    REG_DWORD    0x8000000a\n",
                           "    none    REG_NONE    3031303200\n", "    (Default)    REG_SZ    default\n"}) {
    EXPECT_NE(wines.find(line), std::string::npos) << line << wines;
  }
  for (const char* line :
       {"    e    REG_EXPAND_SZ    %TEMP%\\x\n", "    d    REG_DWORD    0x2a\n", "    m    REG_MULTI_SZ    a\\0b\n"}) {
    EXPECT_NE(wines.find(line), std::string::npos) << "the control's " << line << wines;
  }
  EXPECT_NE(wines.find("    long    REG_BINARY    " + std::string(600, 'A') + "\n"), std::string::npos) << wines;
  // The README's first commands.
  const std::string version = "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion";
  // Its values; Wine's running system adds volatile sub-keys that no file holds.
  const auto values_of = [](const std::string& text) {
    std::vector<std::string> lines = SortedLines(text);
    std::erase_if(lines, [](const std::string& line) { return !line.starts_with("    "); });
    return lines;
  };
  EXPECT_EQ(values_of(Ours({"query", version}).out), values_of(Wines({"query", version}).out));
  ASSERT_EQ(Ours({"add", "HKCU\\Software\\Wine\\Direct3D", "/v", "csmt", "/t", "REG_DWORD", "/d", "0", "/f"}).status,
            0);
  EXPECT_NE(Wines({"query", "HKCU\\Software\\Wine\\Direct3D", "/v", "csmt"}).out.find("csmt    REG_DWORD    0x0"),
            std::string::npos);
  // A path through a link key (CurrentControlSet) reads what Wine reads there.
  const std::string linked = "HKLM\\System\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
  EXPECT_EQ(WithoutCarriageReturns(Ours({"query", linked}).out).substr(1),
            WithoutCarriageReturns(Wines({"query", linked}).out).substr(1));
}

}  // namespace
}  // namespace orvane::reg::testing
