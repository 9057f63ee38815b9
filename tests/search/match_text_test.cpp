// The texts search and replace compare and produce.
#include <gtest/gtest.h>

#include "search/match_text.h"
#include "search/replace_key.h"

namespace orvane {
namespace {

TEST(MatchText, DataTextDropsTerminatorsAndJoinsEntries) {
  EXPECT_EQ(DataText(1, std::string(" a b \0", 6)), "a b");
  EXPECT_EQ(DataText(2, ""), "");
  EXPECT_EQ(DataText(7, std::string("a\0b\0\0", 5)), "a|b");
  EXPECT_EQ(DataText(7, std::string("a\0b\0", 4)), "a|b");
  EXPECT_EQ(DataText(7, std::string("\0", 1)), "");
  EXPECT_EQ(DataText(3, "abc"), "");
}

TEST(MatchText, MatchingIgnoresLetterCaseAndEmptyTextNeedsAText) {
  EXPECT_TRUE(TextMatches("Colour", "COL", 1));
  EXPECT_FALSE(TextMatches("Colour", "COL", 0));
  EXPECT_TRUE(TextMatches("x", "", 1));
  EXPECT_FALSE(TextMatches("", "", 1));
  EXPECT_TRUE(TextMatches("", "", 0));
  EXPECT_FALSE(TextMatches("a", "a", 2));
}

TEST(MatchText, ReplaceAllLooksAgainWhereEachReplacementStarts) {
  EXPECT_EQ(ReplaceAllNoCase("aAbb", "ab", "a"), "aa");
  EXPECT_EQ(ReplaceAllNoCase("abb", "ab", "xa"), "xxa");
  EXPECT_EQ(ReplaceFirstNoCase("Red Red", "red", "blue"), "blue Red");
}

TEST(MatchText, ReplacedDataEndsAsItsTypeRequires) {
  ReplaceOptions options{{"red", 1, false, false, true}, "a|b"};
  std::string data;
  ASSERT_TRUE(ReplacedData(7, std::string("red", 3), options, data));
  EXPECT_EQ(data, std::string("a\0b\0\0", 5));
  ASSERT_TRUE(ReplacedData(1, std::string("red\0\0", 5), options, data));
  EXPECT_EQ(data, std::string("a|b\0", 4));
  options.with = "";
  options.find.mode = 0;
  ASSERT_TRUE(ReplacedData(7, std::string("red\0\0", 5), options, data));
  EXPECT_EQ(data, std::string("\0\0", 2));
  EXPECT_FALSE(ReplacedData(4, "red", options, data));
}

}  // namespace
}  // namespace orvane
