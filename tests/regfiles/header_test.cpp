// The header inserted into an exported file, and the file names and quotes
// the registry-file methods hand to the editor.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "about/fake_program.h"
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

TEST(RegFilePaths, QuotesAreAddedUnlessEitherEndHasOne) {
  EXPECT_EQ(QuoteUnlessQuoted("a b.reg"), "\"a b.reg\"");
  EXPECT_EQ(QuoteUnlessQuoted("\"a b.reg\""), "\"a b.reg\"");
  EXPECT_EQ(QuoteUnlessQuoted("\"a b.reg"), "\"a b.reg");
  EXPECT_EQ(QuoteUnlessQuoted("a b.reg\""), "a b.reg\"");
  EXPECT_EQ(QuoteUnlessQuoted(""), "\"\"");
  EXPECT_EQ(WithoutQuotes("\"a b.reg\""), "a b.reg");
  EXPECT_EQ(WithoutQuotes("\""), "");
}

TEST(RegFilePaths, BackslashesNameFoldersOnThisHost) {
  EXPECT_EQ(HostFilePath("/tmp/w\\Registry.orv"), "/tmp/w/Registry.orv");
}

}  // namespace
}  // namespace orvane
