#include <gtest/gtest.h>

#include "tools/quorvel/lexer.h"

namespace quorvel {
namespace {

std::vector<TokenKind> Kinds(const std::vector<Token>& tokens) {
  std::vector<TokenKind> kinds;
  for (const Token& token : tokens) kinds.push_back(token.kind);
  return kinds;
}

// The line of the SyntaxError that tokenizing `source` raises, or 0.
int ErrorLine(std::string_view source) {
  try {
    Tokenize(source);
  } catch (const SyntaxError& error) {
    return error.line();
  }
  return 0;
}

TEST(Lexer, SplitsStatementsSymbolsAndSkipsComments) {
  auto tokens = Tokenize("q.Value = -&H1F & \"x\" ' comment: not a separator\nPrint(1.5e3),:");
  using K = TokenKind;
  EXPECT_EQ(Kinds(tokens),
            (std::vector<K>{K::kIdentifier, K::kDot, K::kIdentifier, K::kEquals, K::kMinus, K::kHexNumber,
                            K::kAmpersand, K::kString, K::kNewline, K::kIdentifier, K::kLeftParen, K::kNumber,
                            K::kRightParen, K::kComma, K::kColon, K::kEnd}));
  EXPECT_EQ(tokens[5].text, "1F");
  EXPECT_EQ(tokens[11].text, "1.5e3");
  EXPECT_EQ(tokens[11].line, 2);
}

TEST(Lexer, DoubledQuoteInsideStringStandsForOneQuote) {
  auto tokens = Tokenize("\"say \"\"hi\"\"\" \"\"");
  EXPECT_EQ(tokens[0].text, "say \"hi\"");
  EXPECT_EQ(tokens[1].kind, TokenKind::kString);
  EXPECT_EQ(tokens[1].text, "");
}

TEST(Lexer, StringKeepsBytesAndQuoteCharacterOfComments) {
  auto tokens = Tokenize("\"a'b\\\xff\"");
  EXPECT_EQ(tokens[0].text, "a'b\\\xff");
}

TEST(Lexer, LineNumbersCountNewlinesAndCarriageReturnsAreBlanks) {
  auto tokens = Tokenize("a\r\n\r\nb");
  EXPECT_EQ(tokens[0].line, 1);
  EXPECT_EQ(tokens[3].text, "b");
  EXPECT_EQ(tokens[3].line, 3);
}

TEST(Lexer, HexLiteralTakesOneToEightDigits) {
  EXPECT_EQ(Tokenize("&hfFfFfFfF")[0].text, "fFfFfFfF");
  EXPECT_EQ(ErrorLine("\n&H123456789"), 2);
  EXPECT_EQ(ErrorLine("&H"), 1);
  EXPECT_EQ(ErrorLine("&H1G"), 1);
}

TEST(Lexer, MalformedTokensNameTheirLine) {
  EXPECT_EQ(ErrorLine("Print 1\nPrint \"open"), 2);
  EXPECT_EQ(ErrorLine("\n\n x = 12abc"), 3);
  EXPECT_EQ(ErrorLine("x = 1 + 2"), 1);  // no "+" in the language
  EXPECT_EQ(ErrorLine("Print \"a\nb\""), 1);  // a string ends on its own line
}

}  // namespace
}  // namespace quorvel
