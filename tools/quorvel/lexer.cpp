// Script tokens:
//   identifier := letter { letter | digit | "_" }
//   number     := digit { digit } [ "." { digit } ] [ ("E"|"e") ["+"|"-"] digit { digit } ]
//               | "." digit { digit } [ exponent ]
//   hex        := "&H" hexdigit { hexdigit }      (1 to 8 digits)
//   string     := '"' { any byte but '"' | '""' } '"'
//   comment    := "'" { any byte but newline }    (skipped)
//   symbols    := ( ) , . = & - :  and newline
#include "lexer.h"

#include <cctype>

namespace quorvel {
namespace {

constexpr size_t kMaxHexDigits = 8;

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool IsHexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

class Lexer {
 public:
  explicit Lexer(std::string_view source) : source_(source) {}

  std::vector<Token> Run() {
    while (pos_ < source_.size()) Step();
    tokens_.push_back({TokenKind::kEnd, "", line_});
    return std::move(tokens_);
  }

 private:
  char Peek(size_t ahead = 0) const {
    return pos_ + ahead < source_.size() ? source_[pos_ + ahead] : '\0';
  }
  void Add(TokenKind kind, std::string text) { tokens_.push_back({kind, std::move(text), line_}); }

  void Step() {
    char c = Peek();
    if (c == '\n') {
      Add(TokenKind::kNewline, "");
      ++line_;
      ++pos_;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++pos_;
    } else if (c == '\'') {
      while (pos_ < source_.size() && Peek() != '\n') ++pos_;
    } else if (IsLetter(c)) {
      Identifier();
    } else if (IsDigit(c) || (c == '.' && IsDigit(Peek(1)))) {
      Number();
    } else if (c == '"') {
      String();
    } else if (c == '&' && (Peek(1) == 'H' || Peek(1) == 'h')) {
      Hex();
    } else {
      Symbol(c);
    }
  }

  void Identifier() {
    size_t start = pos_;
    while (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '_') ++pos_;
    Add(TokenKind::kIdentifier, std::string(source_.substr(start, pos_ - start)));
  }

  void Digits() {
    while (IsDigit(Peek())) ++pos_;
  }

  void Number() {
    size_t start = pos_;
    Digits();
    if (Peek() == '.') {
      ++pos_;
      Digits();
    }
    bool sign = Peek(1) == '+' || Peek(1) == '-';
    if ((Peek() == 'E' || Peek() == 'e') && IsDigit(Peek(sign ? 2 : 1))) {
      pos_ += sign ? 2 : 1;
      Digits();
    }
    if (IsLetter(Peek()) || Peek() == '_') throw SyntaxError(line_, "malformed number");
    Add(TokenKind::kNumber, std::string(source_.substr(start, pos_ - start)));
  }

  void Hex() {
    pos_ += 2;
    size_t start = pos_;
    while (IsHexDigit(Peek())) ++pos_;
    size_t count = pos_ - start;
    if (count == 0 || count > kMaxHexDigits || IsLetter(Peek()) || Peek() == '_') {
      throw SyntaxError(line_, "a &H literal needs 1 to 8 hexadecimal digits");
    }
    Add(TokenKind::kHexNumber, std::string(source_.substr(start, count)));
  }

  // A doubled quote inside the literal stands for one quote.
  void String() {
    ++pos_;
    std::string text;
    for (;;) {
      if (pos_ >= source_.size() || Peek() == '\n') throw SyntaxError(line_, "unterminated string");
      char c = source_[pos_++];
      if (c != '"') {
        text += c;
      } else if (Peek() == '"') {
        text += '"';
        ++pos_;
      } else {
        break;
      }
    }
    Add(TokenKind::kString, std::move(text));
  }

  void Symbol(char c) {
    static constexpr struct {
      char c;
      TokenKind kind;
    } kSymbols[] = {
        {'(', TokenKind::kLeftParen}, {')', TokenKind::kRightParen}, {',', TokenKind::kComma},
        {'.', TokenKind::kDot},       {'=', TokenKind::kEquals},     {'&', TokenKind::kAmpersand},
        {'-', TokenKind::kMinus},     {':', TokenKind::kColon},
    };
    for (const auto& symbol : kSymbols) {
      if (symbol.c == c) {
        Add(symbol.kind, std::string(1, c));
        ++pos_;
        return;
      }
    }
    throw SyntaxError(line_, "unexpected character '" + std::string(1, c) + "'");
  }

  std::string_view source_;
  size_t pos_ = 0;
  int line_ = 1;
  std::vector<Token> tokens_;
};

}  // namespace

std::vector<Token> Tokenize(std::string_view source) { return Lexer(source).Run(); }

std::string Describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::kNewline:
      return "end of line";
    case TokenKind::kEnd:
      return "end of script";
    case TokenKind::kString:
      return "\"" + token.text + "\"";
    case TokenKind::kHexNumber:
      return "&H" + token.text;
    default:
      return "'" + token.text + "'";
  }
}

}  // namespace quorvel
