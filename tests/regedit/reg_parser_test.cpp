// The registration-file reader, one input per rule of the format.
#include <gtest/gtest.h>

#include <string>

#include "regedit/parse_dump.h"
#include "tools/regedit/code_page.h"

namespace orvane::regedit::testing {
namespace {

constexpr char kOpenT[] = "open HKEY_CURRENT_USER\\T\n";

// A REGEDIT4 file with a section for HKEY_CURRENT_USER\T, then `body`.
std::string InT(const std::string& body) { return "REGEDIT4\r\n[HKEY_CURRENT_USER\\T]\r\n" + body; }

std::string Set(const std::string& name, int type, const std::string& bytes) {
  return "set \"" + name + "\" " + std::to_string(type) + " " + bytes + "\n";
}

TEST(RegParserFile, LinesEndAtCrLfCrOrLfAndTheLastNeedsNone) {
  const std::string expected = kOpenT + Set("a", 1, "31,00") + Set("b", 1, "32,00");
  EXPECT_EQ(ParseAndDump("REGEDIT4\r\n[HKEY_CURRENT_USER\\T]\r\n\"a\"=\"1\"\r\n\"b\"=\"2\"\r\n"), expected);
  EXPECT_EQ(ParseAndDump("REGEDIT4\n[HKEY_CURRENT_USER\\T]\n\"a\"=\"1\"\n\"b\"=\"2\""), expected);
  EXPECT_EQ(ParseAndDump("REGEDIT4\r[HKEY_CURRENT_USER\\T]\r\"a\"=\"1\"\r\"b\"=\"2\"\r"), expected);
}

TEST(RegParserFile, HeaderIsExactlyOneOfTheTwoAfterLeadingBlanks) {
  EXPECT_EQ(ParseAndDump(" \tREGEDIT4\r\n[HKEY_CURRENT_USER\\T]\r\n"), kOpenT);
  // The version 5 header is accepted in an 8-bit file too.
  EXPECT_EQ(ParseAndDump("Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\T]\r\n"), kOpenT);
  for (const char* bad : {"regedit4\r\n", "REGEDIT4 \r\n", "REGEDIT 4\r\n", "REGEDIT5\r\n", "\r\nREGEDIT4\r\n",
                          "\xEF\xBB\xBFREGEDIT4\r\n", "Windows Registry Editor Version 4.00\r\n", ""}) {
    EXPECT_EQ(ParseAndDump(std::string(bad) + "[HKEY_CURRENT_USER\\T]\r\n"), "bad header\n") << bad;
  }
}

TEST(RegParserFile, CommentsBlankLinesAndRepeatedHeadersAreIgnoredSilently) {
  EXPECT_EQ(ParseAndDump(InT("; comment\r\n# comment\r\n\r\n  \t\r\nREGEDIT4\r\n\"a\"=dword:1\r\n")),
            kOpenT + Set("a", 4, "01,00,00,00"));
}

TEST(RegParserFile, OtherTextIsSkippedWithItsLineNumber) {
  EXPECT_EQ(ParseAndDump(InT("garbage\r\n\"a\"=dword:1\r\n")), kOpenT + Set("a", 4, "01,00,00,00") + "skip 3\n");
}

TEST(RegParserSection, NameEndsAtTheLastBracketAndJunkAfterItIsIgnored) {
  EXPECT_EQ(ParseAndDump("REGEDIT4\r\n[HKEY_CURRENT_USER\\Br]ack]et] junk\r\n"),
            "open HKEY_CURRENT_USER\\Br]ack]et\n");
}

TEST(RegParserSection, RootsInAnyCaseAndEmptyPathPartsVanish) {
  EXPECT_EQ(ParseAndDump("REGEDIT4\r\n[hkey_local_machine\\A\\\\B\\]\r\n[HKEY_USERS]\r\n"),
            "open HKEY_LOCAL_MACHINE\\A\\B\nopen HKEY_USERS\n");
}

TEST(RegParserSection, BlanksQuotesAndSemicolonsAreNameCharacters) {
  EXPECT_EQ(ParseAndDump("REGEDIT4\r\n[HKEY_CURRENT_USER\\a \"q\";x \t]\r\n"),
            "open HKEY_CURRENT_USER\\a \"q\";x \t\n");
}

TEST(RegParserSection, UnreadableSectionLineKeepsTheCurrentKey) {
  // A blank after "[" or a missing "]" makes the line unreadable; values
  // after it still belong to the previous section.
  EXPECT_EQ(ParseAndDump(InT("[ HKEY_CURRENT_USER\\U]\r\n\"a\"=\"\"\r\n[HKEY_CURRENT_USER\\U\r\n\"b\"=\"\"\r\n")),
            kOpenT + Set("a", 1, "00") + Set("b", 1, "00") + "skip 3\nskip 5\n");
}

TEST(RegParserSection, UnknownRootDropsTheValuesUntilTheNextSection) {
  EXPECT_EQ(ParseAndDump("REGEDIT4\r\n[HKCU\\X]\r\n\"a\"=\"\"\r\n[HKEY_CURRENT_USERS\\X]\r\n\"b\"=\"\"\r\n" +
                         std::string("[HKEY_CURRENT_USER\\T]\r\n\"c\"=\"\"\r\n")),
            kOpenT + Set("c", 1, "00") + "skip 2\nskip 3\nskip 4\nskip 5\n");
}

TEST(RegParserSection, ValuesBeforeTheFirstSectionAreSkipped) {
  EXPECT_EQ(ParseAndDump("REGEDIT4\r\n\"a\"=\"x\"\r\n@=hex:01,\\\r\n  02\r\n"), "skip 2\nskip 3\n");
}

TEST(RegParserDelete, DeletesTheNamedTreeAndClosesTheCurrentKey) {
  EXPECT_EQ(ParseAndDump(InT("[-HKEY_CURRENT_USER\\T\\Old]\r\n\"a\"=\"\"\r\n")),
            kOpenT + std::string("delete HKEY_CURRENT_USER\\T\\Old\n") + "skip 4\n");
}

TEST(RegParserDelete, BadDeletionsAreSkippedAndTheImportGoesOn) {
  // An unknown root, a bare root, or a blank after "-" deletes nothing; the
  // lines after them are still read.
  EXPECT_EQ(ParseAndDump("REGEDIT4\r\n[-HKEY_NOSUCH\\X]\r\n[-HKEY_CURRENT_USER]\r\n[- HKEY_CURRENT_USER\\X]\r\n" +
                         std::string("[HKEY_CURRENT_USER\\T]\r\n")),
            kOpenT + std::string("skip 2\nskip 3\nskip 4\n"));
}

TEST(RegParserName, DefaultValueIsAtSignOrEmptyQuotes) {
  EXPECT_EQ(ParseAndDump(InT("@=\"1\"\r\n\"\"=\"2\"\r\n\"@\"=\"3\"\r\n@x=\"4\"\r\n")),
            kOpenT + Set("", 1, "31,00") + Set("", 1, "32,00") + Set("@", 1, "33,00") + "skip 6\n");
}

TEST(RegParserName, NamesTakeEscapesAndBlanksAroundTheEqualsSign) {
  EXPECT_EQ(ParseAndDump(InT("\"a \\\"b\\\" \\\\c\" \t= \t\"x\"\r\n")), kOpenT + Set("a \"b\" \\c", 1, "78,00"));
}

TEST(RegParserName, BadNamesSkipOnlyTheirLine) {
  // No closing quote, the escape \0, a backslash at the end, no "=".
  EXPECT_EQ(ParseAndDump(InT("\"a=\"x\r\n\"b\\0\"=\"x\"\r\n\"c\\\r\n\"d\" \"x\"\r\n\"e\"=\"ok\"\r\n")),
            kOpenT + Set("e", 1, "6f,6b,00") + "skip 3\nskip 4\nskip 5\nskip 6\n");
}

TEST(RegParserName, ANulInAKeyOrValueNameSkipsTheLineInsteadOfCuttingTheName) {
  const std::string nul(1, '\0');
  EXPECT_EQ(ParseAndDump(InT("\"a" + nul + "b\"=\"x\"\r\n\"c\"=\"ok\"\r\n\"n" + nul + "\"=hex:01\r\n" +
                             "[HKEY_CURRENT_USER\\T\\k" + nul + "x]\r\n\"d\"=\"lost\"\r\n" +
                             "[-HKEY_CURRENT_USER\\T\\k" + nul + "x]\r\n\"a" + nul + "\"=-\r\n" +
                             "[HKEY_CURRENT_USER\\T]\r\n\"e\"=\"ok\"\r\n")),
            kOpenT + Set("c", 1, "6f,6b,00") + kOpenT + Set("e", 1, "6f,6b,00") +
                "skip 3\nskip 5\nskip 6\nskip 7\nskip 8\nskip 9\n");
  EXPECT_EQ(ParseAndDump("REGEDIT\r\nHKEY_CLASSES_ROOT\\a" + nul + "b = text\r\n"), "skip 2\n");
}

TEST(RegParserString, EscapesAndATerminatingNul) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=\"\\\\\\\"\\n\\r;#\t\"\r\n\"b\"=\"\"\r\n")),
            kOpenT + Set("a", 1, "5c,22,0a,0d,3b,23,09,00") + Set("b", 1, "00"));
}

TEST(RegParserString, UnknownEscapeGivesTheCharacterWithAWarning) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=\"x\\ty\"\r\n")), kOpenT + Set("a", 1, "78,74,79,00") + "warn 3\n");
}

TEST(RegParserString, NulEscapeOrFinalBackslashSkipsOnlyThatLine) {
  // Wine stops reading the file here; the rest of the file is still read.
  EXPECT_EQ(ParseAndDump(InT("\"a\"=\"x\\0y\"\r\n\"b\"=\"x\\\r\n\"c\"=\"ok\"\r\n")),
            kOpenT + Set("c", 1, "6f,6b,00") + "skip 3\nskip 4\n");
}

TEST(RegParserString, OnlyBlanksAndASemicolonCommentMayFollow) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=\"x\" ; note\r\n\"b\"=\"x\"#c\r\n\"c\"=\"x\"y\"\r\n\"d\"=\"a\"\"b\"\r\n")),
            kOpenT + Set("a", 1, "78,00") + "skip 4\nskip 5\nskip 6\n");
}

TEST(RegParserDword, OneToEightDigitsInEitherCase) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=dword:0000ABcd\r\n\"b\"=dword:  7 ;c\r\n\"c\"=dword:;c\r\n")),
            kOpenT + Set("a", 4, "cd,ab,00,00") + Set("b", 4, "07,00,00,00") + Set("c", 4, "00,00,00,00"));
}

TEST(RegParserDword, MalformedDwordsAreSkipped) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=dword:\r\n\"b\"=dword:012345678\r\n\"c\"=dword:0x1\r\n"
                             "\"d\"=dword:12 34\r\n\"e\"=dword:1#\r\n\"f\"=DWORD:1\r\n\"g\"=dword:-1\r\n")),
            std::string(kOpenT) + "skip 3\nskip 4\nskip 5\nskip 6\nskip 7\nskip 8\nskip 9\n");
}

TEST(RegParserHex, BytesTrailingCommaAndEmptyList) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex:aa,BB,1, 0c,\r\n\"b\"=hex:\r\n\"c\"=hex(0):\r\n")),
            kOpenT + Set("a", 3, "aa,bb,01,0c") + Set("b", 3, "") + Set("c", 0, ""));
}

TEST(RegParserHex, TypeNumberIsHexadecimalInEitherCase) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex(100):01\r\n\"b\"=hex(abcd):01\r\n\"c\"=hex(B):01\r\n\"d\"=hex():01\r\n")),
            kOpenT + Set("a", 256, "01") + Set("b", 43981, "01") + Set("c", 11, "01") + Set("d", 0, "01"));
}

TEST(RegParserHex, MalformedListsAreSkipped) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex:11 ,22\r\n\"b\"=hex:11,,22\r\n\"c\"=hex:11,22#c\r\n\"d\"=hex:100\r\n"
                             "\"e\"=HEX:11\r\n\"f\"=hex :11\r\n\"g\"=hex(0x2):11\r\n\"h\"=hex(2:11\r\n")),
            std::string(kOpenT) + "skip 3\nskip 4\nskip 5\nskip 6\nskip 7\nskip 8\nskip 9\nskip 10\n");
}

TEST(RegParserHex, AnsiStringTypesGetOneTerminatorWhenMissing) {
  // hex(1), hex(2) and hex(7) in an 8-bit file are code-page text.
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex(2):25,50,25\r\n\"b\"=hex(2):25,00\r\n\"c\"=hex(7):4c,69\r\n"
                             "\"d\"=hex(1):e9\r\n\"e\"=hex(7):\r\n\"f\"=hex(3):61\r\n")),
            kOpenT + Set("a", 2, "25,50,25,00") + Set("b", 2, "25,00") + Set("c", 7, "4c,69,00") +
                Set("d", 1, "e9,00") + Set("e", 7, "") + Set("f", 3, "61"));
}

TEST(RegParserContinuation, BackslashAfterACommaContinuesOnTheNextLine) {
  // Blank lines and ";" lines in between are skipped; indentation is optional.
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex:01,\\ ;c\r\n\r\n; note\r\n  02,\\\r\n03\r\n\"b\"=hex:\\\r\n  04\r\n")),
            kOpenT + Set("a", 3, "01,02,03") + Set("b", 3, "04"));
}

TEST(RegParserContinuation, BackslashStraightAfterAByteIsInvalid) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex:01,02\\\r\n\"b\"=hex:01,\\ x\r\n")), std::string(kOpenT) + "skip 3\nskip 4\n");
}

TEST(RegParserContinuation, ALineThatIsNoHexDropsTheValueButIsStillRead) {
  // Wine consumes that line too; here the section on it is kept.
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex:01,\\\r\n[HKEY_CURRENT_USER\\U]\r\n\"b\"=hex:01,\\\r\n  02,zz\r\n")),
            kOpenT + std::string("open HKEY_CURRENT_USER\\U\n") + "skip 4\nskip 6\n");
}

TEST(RegParserContinuation, ListEndsAtALineWithoutBackslashEvenAfterAComma) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex:01,02,\r\n  03,04\r\n")), kOpenT + Set("a", 3, "01,02") + "skip 4\n");
}

TEST(RegParserContinuation, FileEndingInsideTheListDropsTheValue) {
  // A file cut short must not leave part of a value behind (Wine keeps it).
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex:01,\\\r\n  02,\\\r\n")), std::string(kOpenT) + "skip 4\n");
  EXPECT_EQ(ParseAndDump(InT("\"a\"=hex:01,\\")), std::string(kOpenT) + "skip 3\n");
}

TEST(RegParserDeleteValue, DashDeletesAndOnlyACommentMayFollow) {
  EXPECT_EQ(ParseAndDump(InT("\"a\"=-\r\n@= - ;c\r\n\"b\"=-\"x\"\r\n\"c\"=- #\r\n")),
            kOpenT + std::string("unset \"a\"\nunset \"\"\n") + "skip 5\nskip 6\n");
}

TEST(RegParserWin31, ClassesRootLinesSetDefaultValues) {
  EXPECT_EQ(ParseAndDump("REGEDIT\r\nHKEY_CLASSES_ROOT\\.txt = txtfile\r\n ignored\r\nHKEY_CLASSES_ROOT\\x\r\n"),
            "open HKEY_CLASSES_ROOT\\.txt\n" + Set("", 1, "74,78,74,66,69,6c,65,00") +
                "open HKEY_CLASSES_ROOT\\x\n" + Set("", 1, "00"));
}

// A version 5 file: the byte-order mark, then `text` as UTF-16LE (ASCII and
// the code points given as \u escapes are enough here).
std::string Utf16(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xff));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

TEST(RegParserUtf16, TextBecomesUtf8AndUnpairedSurrogatesReplacementCharacters) {
  const std::u16string lone_surrogate(1, static_cast<char16_t>(0xD800));
  EXPECT_EQ(ParseAndDump(Utf16(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\T\u00e9]\r\n"
                               u"\"\u20ac\"=\"\u0416\u00e9\u0081" + lone_surrogate + u"\"\r\n")),
            "open HKEY_CURRENT_USER\\T\xc3\xa9\n" + Set("\xe2\x82\xac", 1, "d0,96,c3,a9,c2,81,ef,bf,bd,00"));
}

TEST(RegParserUtf16, ANulCharacterInANameSkipsTheLine) {
  using namespace std::string_literals;
  EXPECT_EQ(ParseAndDump(Utf16(u"Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\T]\r\n"
                               u"\"a\0b\"=\"x\"\r\n[HKEY_CURRENT_USER\\T\0U]\r\n"s)),
            kOpenT + std::string("skip 3\nskip 4\n"));
}

TEST(RegParserUtf16, StringTypesInHexAreUtf16AndGetATerminator) {
  EXPECT_EQ(ParseAndDump(Utf16(u"Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\T]\r\n"
                               u"\"a\"=hex(2):25,00,50,00,25,00,00,00\r\n\"b\"=hex(7):61,00,00,00,e9,00\r\n"
                               u"\"c\"=hex(3):61,00\r\n")),
            kOpenT + Set("a", 2, "25,50,25,00") + Set("b", 7, "61,00,c3,a9,00") + Set("c", 3, "61,00"));
}

TEST(RegParserCodePage, Utf8FileIsTakenAsItIs) {
  EXPECT_EQ(ParseAndDump(InT("\"caf\xc3\xa9\"=\"\xc3\x89t\xc3\xa9\"\r\n\"p\"=hex(2):25,c3,a9,e9,00\r\n")),
            kOpenT + Set("caf\xc3\xa9", 1, "c3,89,74,c3,a9,00") + Set("p", 2, "25,c3,a9,e9,00"));
}

TEST(RegParserCodePage, EachLineThatIsNotUtf8IsWindows1252) {
  // Names and strings of such a line; a UTF-8 line beside it and string
  // data in hex (bytes) are taken as they are.
  EXPECT_EQ(ParseAndDump("REGEDIT4\r\n[HKEY_CURRENT_USER\\T\xe9]\r\n\"caf\xe9\"=\"\x80\x81\"\r\n"
                         "\"cr\xc3\xa8me\"=\"cr\xc3\xa8me\"\r\n\"p\"=hex(2):25,c3,a9,00\r\n\"b\"=hex:e9\r\n"),
            "open HKEY_CURRENT_USER\\T\xc3\xa9\n" + Set("caf\xc3\xa9", 1, "e2,82,ac,c2,81,00") +
                Set("cr\xc3\xa8me", 1, "63,72,c3,a8,6d,65,00") + Set("p", 2, "25,c3,a9,00") + Set("b", 3, "e9"));
  // An export that holds names that are not UTF-8 says so: its bytes stay.
  EXPECT_EQ(ParseAndDump("REGEDIT4\r\n" + std::string(kRawBytesLine) + "\r\n[HKEY_CURRENT_USER\\T\xe9]\r\n"
                         "\"caf\xe9\"=\"cr\xc3\xa8me\"\r\n"),
            "open HKEY_CURRENT_USER\\T\xe9\n" + Set("caf\xe9", 1, "63,72,c3,a8,6d,65,00"));
}

}  // namespace
}  // namespace orvane::regedit::testing
