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

}  // namespace
}  // namespace orvane
