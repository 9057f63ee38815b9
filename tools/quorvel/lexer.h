// The lexer of the quorvel script language: turns script text into tokens
// with their line numbers. Keywords are not told apart here (the parser
// compares identifiers without regard to case). A lexer owns nothing beyond
// the tokens it returns; a malformed token raises SyntaxError.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// A mistake in the script text, found before anything runs.
class SyntaxError : public std::runtime_error {
 public:
  SyntaxError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

enum class TokenKind {
  kIdentifier,  // a name: keyword, member, constant, builtin or variable
  kNumber,      // decimal digits, maybe with a point and an exponent
  kHexNumber,   // &H followed by hexadecimal digits (text holds the digits)
  kString,      // text holds the bytes between the quotes, doubled quotes undone
  kLeftParen,
  kRightParen,
  kComma,
  kDot,
  kEquals,
  kAmpersand,
  kMinus,
  kColon,      // statement separator
  kNewline,    // statement separator that also ends a line
  kEnd,
};

struct Token {
  TokenKind kind;
  std::string text;
  int line;
};

// Splits `source` into tokens ending with one kEnd. Raises SyntaxError for
// an unterminated string, a bad &H literal or a character of no token.
std::vector<Token> Tokenize(std::string_view source);

// A short name of a token for messages: "'='", "end of line", "\"abc\"".
std::string Describe(const Token& token);

}  // namespace quorvel
