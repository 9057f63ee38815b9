// The header inserted into an exported file, and the file names and quotes
// the registry-file methods hand to the editor.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>
#endif

#include "regfiles/reg_file_header.h"
#include "regfiles/reg_file_paths.h"
#include "registry/expect_error.h"

namespace orvane {
namespace {

const std::string kHyphens = "; " + std::string(65, '-') + "\r\n";
const std::string kFixedHeader = "\r\n" + kHyphens + "; Orvane Version 1.6.1\r\n" +
                                 "; Internet: https://orvane.verrilan.example\r\n" +
                                 "; InfoMail: <orvane@verrilan.example>\r\n" + kHyphens;

class HeaderTest : public ::testing::Test {
 protected:
  std::string Rewritten(const std::string& contents, const std::string& comment) {
    return WithHeader(contents, comment);
  }
};

TEST_F(HeaderTest, EachPieceOfTheCommentIsOneLineAfterTheFixedLines) {
  EXPECT_EQ(Rewritten("REGEDIT4\r\n\r\n[HKEY_USERS\\a]\r\n", "first|second"),
            "REGEDIT4\r\n" + kFixedHeader + "; first\r\n; second\r\n\r\n[HKEY_USERS\\a]\r\n");
}

TEST_F(HeaderTest, LineBreaksInTheCommentStartNewCommentLines) {
  const std::string comment =
      "one\r\n[HKEY_CURRENT_USER\\Software\\Injected]\r\n\"v\"=\"1\"\rtwo\nthree|four\n\nfive\r\r\n";
  EXPECT_EQ(Rewritten("REGEDIT4\r\n\r\n[HKEY_USERS\\a]\r\n", comment),
            "REGEDIT4\r\n" + kFixedHeader +
                "; one\r\n; [HKEY_CURRENT_USER\\Software\\Injected]\r\n; \"v\"=\"1\"\r\n; two\r\n; three\r\n"
                "; four\r\n; \r\n; five\r\n; \r\n; \r\n\r\n[HKEY_USERS\\a]\r\n");
  EXPECT_EQ(CommentLines(""), (std::vector<std::string>{""}));
  EXPECT_EQ(CommentLines("a|"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(CommentLines("\n\r"), (std::vector<std::string>{"", "", ""}));
}

TEST_F(HeaderTest, AnEmptyCommentEndsTheHeaderWithASemicolonAndBlank) {
  EXPECT_EQ(Rewritten("REGEDIT4\r\n", ""), "REGEDIT4\r\n" + kFixedHeader + "; \r\n");
}

TEST_F(HeaderTest, OnlyLinesBeginningWithREGEDIT4GetAHeader) {
  const std::string body = "regedit4\r\n\"REGEDIT4\"=\"x\"\r\nREGEDIT\r\n";
  EXPECT_EQ(Rewritten(body, "c"), body);
  EXPECT_EQ(Rewritten("REGEDIT4 extra\r\nREGEDIT4\r\n", "c"),
            "REGEDIT4 extra\r\n" + kFixedHeader + "; c\r\nREGEDIT4\r\n" + kFixedHeader + "; c\r\n");
}

TEST_F(HeaderTest, LinesEndingInLineFeedAloneComeBackWithCarriageReturn) {
  EXPECT_EQ(Rewritten("REGEDIT4\n\n[HKEY_USERS\\a]", "c"),
            "REGEDIT4\r\n" + kFixedHeader + "; c\r\n\r\n[HKEY_USERS\\a]\r\n");
}

TEST(RegFilePaths, ThreeLetterExtensionsStayOthersGetReg) {
  EXPECT_EQ(WithDefaultExtension("out"), "out.reg");
  EXPECT_EQ(WithDefaultExtension("out.txt"), "out.txt");
  EXPECT_EQ(WithDefaultExtension("a.reg"), "a.reg");
  EXPECT_EQ(WithDefaultExtension("a.gz"), "a.gz.reg");
  EXPECT_EQ(WithDefaultExtension(".reg"), ".reg");
  EXPECT_EQ(WithDefaultExtension("reg"), "reg.reg");
  EXPECT_EQ(WithDefaultExtension(""), ".reg");
}

TEST(RegFilePaths, OnlyAPairOfWrappingQuotesIsRemoved) {
  EXPECT_EQ(WithoutQuotes("\"a b.reg\""), "a b.reg");
  EXPECT_EQ(WithoutQuotes("\"\"\"a\"\"\""), "\"\"a\"\"");
  EXPECT_EQ(WithoutQuotes("\"\""), "");
  EXPECT_EQ(WithoutQuotes("\""), "\"");
  EXPECT_EQ(WithoutQuotes("\"a b.reg"), "\"a b.reg");
  EXPECT_EQ(WithoutQuotes("a b.reg\""), "a b.reg\"");
  EXPECT_EQ(WithoutQuotes("imq\"1.reg"), "imq\"1.reg");
}

TEST(RegFilePaths, TheFileLosesItsWrappingQuotesBeforeTheExtensionRule) {
  EXPECT_EQ(RegFilePath("\"/tmp/a\""), "/tmp/a.reg");
  EXPECT_EQ(RegFilePath("\"/tmp/a.txt\""), "/tmp/a.txt");
  EXPECT_EQ(RegFilePath("\"/tmp/with blank.tx\""), "/tmp/with blank.tx.reg");
  EXPECT_EQ(RegFilePath("/tmp/imq\"1"), "/tmp/imq\"1.reg");
#ifdef _WIN32
  EXPECT_EQ(RegFilePath("C:\\dir\\x"), "C:\\dir\\x.reg");
#else
  EXPECT_EQ(RegFilePath("C:\\dir\\x"), "C:/dir/x.reg");
#endif
}

#ifdef _WIN32
// On Windows our editor beside the module is started by its full path, and
// each file is made absolute, so that none can start with "/" or "-".
TEST(RegFilePaths, EachFileAndKeyIsOneAbsoluteArgumentAfterTheSwitches) {
  using Words = std::vector<std::string>;
  char module[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
  const std::string editor =
      std::filesystem::path(std::string(module, length)).parent_path().string() + "\\orvane-regedit.exe";
  const std::string here = std::filesystem::current_path().string() + "\\";
  EXPECT_EQ(EditorExportArguments("-C:x.reg", "HKEY_USERS\\\"q\" x"),
            (Words{editor, "/S", "/E", here + "-C:x.reg", "HKEY_USERS\\\"q\" x"}));
  EXPECT_EQ(EditorExportArguments("D:\\two  blanks\\a.reg", ""),
            (Words{editor, "/S", "/E", "D:\\two  blanks\\a.reg"}));
  EXPECT_EQ(EditorImportArguments("/C"), (Words{editor, "/S", here.substr(0, 2) + "\\C"}));
  EXPECT_EQ(EditorRestoreArguments("D:\\a  b\\Registry.orv"),
            (Words{editor, "/S", "/C", "D:\\a  b\\Registry.orv"}));
}

TEST(RegFilePaths, BackslashesStayOnWindows) {
  EXPECT_EQ(HostFilePath("C:\\w\\Registry.orv"), "C:\\w\\Registry.orv");
}
#else
TEST(RegFilePaths, EachFileAndKeyIsOneArgumentAfterTheSwitches) {
  using Words = std::vector<std::string>;
  EXPECT_EQ(EditorExportArguments("-C:x.reg", "HKEY_USERS\\\"q\" x"),
            (Words{"REGEDIT.EXE", "/S", "/E", "--", "-C:x.reg", "HKEY_USERS\\\"q\" x"}));
  EXPECT_EQ(EditorExportArguments("/two  blanks/a.reg", ""), (Words{"REGEDIT.EXE", "/S", "/E", "--", "/two  blanks/a.reg"}));
  EXPECT_EQ(EditorImportArguments("/C"), (Words{"REGEDIT.EXE", "/S", "--", "/C"}));
  EXPECT_EQ(EditorRestoreArguments("/a  b/Registry.orv"), (Words{"REGEDIT.EXE", "/S", "/C", "--", "/a  b/Registry.orv"}));
}

TEST(RegFilePaths, BackslashesNameFoldersOnThisHost) {
  EXPECT_EQ(HostFilePath("/tmp/w\\Registry.orv"), "/tmp/w/Registry.orv");
}
#endif

}  // namespace
}  // namespace orvane
