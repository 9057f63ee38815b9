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

TEST(MatchText, EveryLetterMatchesWithoutCase) {
  EXPECT_TRUE(TextMatches("caf\xC3\xA9", "CAF\xC3\x89", 0));  // café, CAFÉ
  EXPECT_TRUE(TextMatches("Grand caf\xC3\xA9 noir", "CAF\xC3\x89 N", 1));
  EXPECT_EQ(FindNoCase("Grand caf\xC3\xA9", "CAF\xC3\x89"), 6u);
  // Ê and Ú differ in one byte; they are different letters.
  EXPECT_FALSE(TextMatches("\xC3\x8A", "\xC3\x9A", 0));
  EXPECT_FALSE(TextMatches("x\xC3\xAA", "\xC3\x9A", 1));
  // Windows-1252 bytes are not UTF-8: kept as they are, not folded.
  EXPECT_FALSE(TextMatches("caf\xE9", "CAF\xC9", 0));
  EXPECT_TRUE(TextMatches("caf\xE9", "CAF\xE9", 0));
  // A match starts at a character, never inside one.
  EXPECT_EQ(FindNoCase("\xC3\x89", "\x89"), std::string::npos);
}

TEST(MatchText, ReplacementTakesTheBytesThatMatched) {
  EXPECT_EQ(ReplaceFirstNoCase("Le caf\xC3\xA9", "CAF\xC3\x89", "bar"), "Le bar");
  // U+0250 (two bytes) upper-cases to U+2C6F (three bytes).
  EXPECT_EQ(ReplaceAllNoCase("x\xC9\x90y\xC9\x90", "\xE2\xB1\xAF", "-"), "x-y-");
  const TextMatch match = FindIgnoringCase("x\xE2\xB1\xAFy", "\xC9\x90y");
  EXPECT_EQ(match.at, 1u);
  EXPECT_EQ(match.length, 4u);
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
