// Bytes as a script expression: the one quoting quorvel's Print, the
// property bag file and the programs' terminal output share.
#include <gtest/gtest.h>

#include <string>

#include "runtime/quoted_bytes.h"

namespace orvane {
namespace {

TEST(QuoteBytes, UnprintableBytesBecomeChrPieces) {
  EXPECT_EQ(QuoteBytes(""), "\"\"");
  EXPECT_EQ(QuoteBytes(std::string("a\0b", 3)), "\"a\" & Chr(0) & \"b\"");
  EXPECT_EQ(QuoteBytes(std::string("\0\0", 2)), "Chr(0) & Chr(0)");
  EXPECT_EQ(QuoteBytes("say \"hi\""), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(QuoteBytes(" ~\x1f\x7f\xff"), "\" ~\" & Chr(31) & Chr(127) & Chr(255)");
  EXPECT_EQ(QuoteBytes("C:\\a\tb"), "\"C:\\a\" & Chr(9) & \"b\"");
}

// Valid UTF-8 stays text; a C1 control, a cut or overlong sequence and an
// encoded surrogate are bytes.
TEST(QuoteBytes, ValidUtf8IsText) {
  EXPECT_EQ(QuoteBytes("caf\xc3\xa9"), "\"caf\xc3\xa9\"");
  EXPECT_EQ(QuoteBytes("\xe6\x97\xa5\"\xf0\x9f\x98\x80"), "\"\xe6\x97\xa5\"\"\xf0\x9f\x98\x80\"");
  EXPECT_EQ(QuoteBytes("a\xc2\x9b" "b"), "\"a\" & Chr(194) & Chr(155) & \"b\"");
  EXPECT_EQ(QuoteBytes("caf\xc3"), "\"caf\" & Chr(195)");
  EXPECT_EQ(QuoteBytes("\xc0\xaf\xed\xa0\x80"), "Chr(192) & Chr(175) & Chr(237) & Chr(160) & Chr(128)");
}

}  // namespace
}  // namespace orvane
