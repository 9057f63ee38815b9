#include "parser.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "builtins.h"
#include "names.h"

namespace quorvel {
namespace {

using orvane::Variant;

constexpr std::string_view kErrFields[] = {"Number", "Source", "Description", "HelpFile", "HelpContext"};

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  Program ParseProgram() {
    Program program;
    for (;;) {
      while (At(TokenKind::kColon) || At(TokenKind::kNewline)) Next();
      if (At(TokenKind::kEnd)) break;
      program.statements.push_back(ParseStatement());
      if (!AtStatementEnd()) Fail("expected end of statement, found " + Describe(Peek()));
    }
    return program;
  }

 private:
  // ----- token access

  const Token& Peek(size_t ahead = 0) const { return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)]; }
  Token Next() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
  bool At(TokenKind kind, size_t ahead = 0) const { return Peek(ahead).kind == kind; }
  bool AtWord(std::string_view word) const { return At(TokenKind::kIdentifier) && SameName(Peek().text, word); }
  bool AtStatementEnd() const {
    return At(TokenKind::kColon) || At(TokenKind::kNewline) || At(TokenKind::kEnd);
  }
  [[noreturn]] void Fail(const std::string& message) const { throw SyntaxError(Peek().line, message); }

  // One level of expression nesting while it lives; entering a level past
  // kMaxExpressionDepth fails at the current token.
  class Nesting {
   public:
    explicit Nesting(Parser& parser) : parser_(parser) {
      if (parser_.depth_ == kMaxExpressionDepth) {
        parser_.Fail("expression nested more than " + std::to_string(kMaxExpressionDepth) + " levels deep");
      }
      ++parser_.depth_;
    }
    ~Nesting() { --parser_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Parser& parser_;
  };

  Token Expect(TokenKind kind, const char* what) {
    if (!At(kind)) Fail(std::string("expected ") + what + ", found " + Describe(Peek()));
    return Next();
  }

  std::string ExpectVariableName(const char* what) {
    Token token = Expect(TokenKind::kIdentifier, what);
    if (!IsVariableName(token.text)) {
      throw SyntaxError(token.line, "'" + token.text + "' cannot name a variable or control");
    }
    return token.text;
  }

  // ----- statements

  Stmt ParseStatement() {
    if (!At(TokenKind::kIdentifier)) Fail("expected a statement, found " + Describe(Peek()));
    if (AtWord("Print")) return ParsePrint();
    if (AtWord("Call")) return ParseCallStatement();
    if (AtWord("Set")) return ParseSet();
    if (AtWord("Help")) return ParseHelp();
    if (AtWord("Save")) return ParseControlCommand(StmtKind::kSave, 1);
    if (AtWord("Resize")) return ParseControlCommand(StmtKind::kResize, 2);
    if (At(TokenKind::kDot, 1) || IsMemberName(Peek().text)) return ParseMemberStatement();
    return ParseVariableAssignment();
  }

  Stmt NewStmt(StmtKind kind) {
    Stmt stmt;
    stmt.kind = kind;
    stmt.line = Peek().line;
    return stmt;
  }

  Stmt ParsePrint() {
    Stmt stmt = NewStmt(StmtKind::kPrint);
    Next();
    if (AtStatementEnd()) return stmt;
    stmt.args.push_back(ParseExpr());
    while (At(TokenKind::kComma)) {
      Next();
      stmt.args.push_back(ParseExpr());
    }
    return stmt;
  }

  Stmt ParseHelp() {
    Stmt stmt = NewStmt(StmtKind::kHelp);
    Next();
    if (!AtStatementEnd()) stmt.name = Expect(TokenKind::kIdentifier, "a member name").text;
    return stmt;
  }

  static bool IsMemberName(std::string_view name) {
    return orvane::FindMember(name) != nullptr || IsExtenderProperty(name);
  }

  // "Save" or "Resize": `count` values, optionally after a control's name
  // and a comma.
  Stmt ParseControlCommand(StmtKind kind, size_t count) {
    Stmt stmt = NewStmt(kind);
    std::string command = Next().text;
    std::vector<ExprPtr> args = ParseBareArgs();
    if (args.size() == count + 1 && args[0] && args[0]->kind == ExprKind::kVariable && !args[0]->parenthesized) {
      stmt.object = args[0]->name;
      args.erase(args.begin());
    }
    bool complete = args.size() == count && std::all_of(args.begin(), args.end(), [](const ExprPtr& a) { return a != nullptr; });
    if (!complete) throw SyntaxError(stmt.line, "wrong number of arguments to " + command);
    stmt.args = std::move(args);
    return stmt;
  }

  Stmt ParseSet() {
    Stmt stmt = NewStmt(StmtKind::kSetNothing);
    Next();
    stmt.name = ExpectVariableName("a control name");
    Expect(TokenKind::kEquals, "'='");
    if (AtWord("Nothing")) {
      Next();
      return stmt;
    }
    if (!AtWord("New")) Fail("expected New Quorvel or Nothing, found " + Describe(Peek()));
    Next();
    if (!AtWord("Quorvel")) Fail("only New Quorvel can be created, found " + Describe(Peek()));
    Next();
    stmt.kind = StmtKind::kSetNew;
    return stmt;
  }

  // Reads "[object.]member" into the statement's object and name.
  void ParseTarget(Stmt& stmt) {
    if (At(TokenKind::kDot, 1)) {
      stmt.object = ExpectVariableName("a control name");
      Next();
      stmt.name = Expect(TokenKind::kIdentifier, "a member name").text;
      return;
    }
    Token member = Expect(TokenKind::kIdentifier, "a method name");
    if (!IsMemberName(member.text)) throw SyntaxError(member.line, "'" + member.text + "' is not a method");
    stmt.name = member.text;
  }

  Stmt ParseCallStatement() {
    Stmt stmt = NewStmt(StmtKind::kCall);
    Next();
    ParseTarget(stmt);
    if (At(TokenKind::kLeftParen)) stmt.args = ParseParenArgs(true);
    return stmt;
  }

  Stmt ParseMemberStatement() {
    Stmt stmt = NewStmt(StmtKind::kCall);
    ParseTarget(stmt);
    if (At(TokenKind::kEquals)) {
      Next();
      stmt.kind = StmtKind::kAssignProperty;
      stmt.value = ParseExpr();
    } else if (At(TokenKind::kLeftParen) && At(TokenKind::kRightParen, 1) && IsEnd(Peek(2))) {
      Next();  // "Method()" alone: a call without arguments
      Next();
    } else if (!AtStatementEnd()) {
      stmt.args = ParseBareArgs();
    }
    return stmt;
  }

  static bool IsEnd(const Token& token) {
    return token.kind == TokenKind::kColon || token.kind == TokenKind::kNewline || token.kind == TokenKind::kEnd;
  }

  Stmt ParseVariableAssignment() {
    Stmt stmt = NewStmt(StmtKind::kAssignVariable);
    const Token& name = Peek();
    if (!IsVariableName(name.text)) Fail("'" + name.text + "' cannot start a statement");
    if (!At(TokenKind::kEquals, 1)) {
      if (At(TokenKind::kLeftParen, 1)) Fail("an element of an array cannot be assigned");
      Fail("'" + name.text + "' is not a method or statement");
    }
    stmt.name = Next().text;
    Next();
    stmt.value = ParseExpr();
    return stmt;
  }

  // ----- argument lists

  // Arguments after a method name without parentheses, up to the statement's end.
  std::vector<ExprPtr> ParseBareArgs() {
    std::vector<ExprPtr> args;
    for (;;) {
      args.push_back(At(TokenKind::kComma) || AtStatementEnd() ? nullptr : ParseExpr());
      if (!At(TokenKind::kComma)) return args;
      Next();
    }
  }

  // "(" [ args ] ")"; `allow_omitted` lets an argument be left empty.
  std::vector<ExprPtr> ParseParenArgs(bool allow_omitted) {
    std::vector<ExprPtr> args;
    Expect(TokenKind::kLeftParen, "'('");
    if (At(TokenKind::kRightParen)) {
      Next();
      return args;
    }
    for (;;) {
      bool empty = At(TokenKind::kComma) || At(TokenKind::kRightParen);
      if (empty && !allow_omitted) Fail("expected an expression, found " + Describe(Peek()));
      args.push_back(empty ? nullptr : ParseExpr());
      if (!At(TokenKind::kComma)) break;
      Next();
    }
    Expect(TokenKind::kRightParen, "')' or ','");
    return args;
  }

  // ----- expressions

  ExprPtr NewExpr(ExprKind kind, int line) {
    auto expr = std::make_unique<Expr>();
    expr->kind = kind;
    expr->line = line;
    return expr;
  }

  ExprPtr Literal(Variant value, int line) {
    ExprPtr expr = NewExpr(ExprKind::kLiteral, line);
    expr->literal = std::move(value);
    return expr;
  }

  // unary { "&" unary }: a chain of joins is one node holding every term.
  ExprPtr ParseExpr() {
    Nesting level(*this);
    ExprPtr first = ParseUnary();
    if (!At(TokenKind::kAmpersand)) return first;
    ExprPtr concat = NewExpr(ExprKind::kConcat, Peek().line);
    concat->args.push_back(std::move(first));
    while (At(TokenKind::kAmpersand)) {
      Next();
      concat->args.push_back(ParseUnary());
    }
    return concat;
  }

  // A minus directly before a decimal literal is part of the literal, so
  // -32768 is an Integer and -2147483648 a Long.
  ExprPtr ParseUnary() {
    if (!At(TokenKind::kMinus)) return ParsePrimary();
    int line = Next().line;
    if (At(TokenKind::kNumber)) return Literal(NumberLiteral(Next().text, true), line);
    Nesting level(*this);
    ExprPtr negate = NewExpr(ExprKind::kNegate, line);
    negate->args.push_back(ParseUnary());
    return negate;
  }

  ExprPtr ParsePrimary() {
    const Token& token = Peek();
    switch (token.kind) {
      case TokenKind::kNumber:
        return Literal(NumberLiteral(Next().text, false), token.line);
      case TokenKind::kHexNumber:
        return Literal(HexLiteral(Next().text), token.line);
      case TokenKind::kString:
        return Literal(Variant::String(Next().text), token.line);
      case TokenKind::kLeftParen: {
        Next();
        ExprPtr inner = ParseExpr();
        Expect(TokenKind::kRightParen, "')'");
        inner->parenthesized = true;
        return inner;
      }
      case TokenKind::kIdentifier:
        return ParseName();
      default:
        Fail("expected an expression, found " + Describe(token));
    }
  }

  ExprPtr ParseName() {
    int line = Peek().line;
    if (auto value = KeywordValue(Peek().text)) {
      Next();
      return Literal(std::move(*value), line);
    }
    if (AtWord("Err")) return ParseErrField();
    if (IsKeyword(Peek().text)) Fail("unexpected " + Describe(Peek()));
    if (const Builtin* builtin = FindBuiltin(Peek().text)) return ParseBuiltin(*builtin);
    if (At(TokenKind::kDot, 1) || IsMemberName(Peek().text)) return ParseMemberExpr();
    if (const orvane::EnumConstant* constant = FindConstant(Peek().text)) {
      Next();
      return Literal(Variant::Long(constant->value), line);
    }
    return ParseVariable();
  }

  static std::optional<Variant> KeywordValue(std::string_view word) {
    if (SameName(word, "True")) return Variant::Boolean(true);
    if (SameName(word, "False")) return Variant::Boolean(false);
    if (SameName(word, "Empty")) return Variant();
    if (SameName(word, "Null")) return Variant::Null();
    return std::nullopt;
  }

  ExprPtr ParseErrField() {
    ExprPtr expr = NewExpr(ExprKind::kErrField, Next().line);
    Expect(TokenKind::kDot, "'.' after Err");
    Token field = Expect(TokenKind::kIdentifier, "a field of Err");
    for (std::string_view known : kErrFields) {
      if (SameName(known, field.text)) expr->name = known;
    }
    if (expr->name.empty()) throw SyntaxError(field.line, "Err has no field '" + field.text + "'");
    return expr;
  }

  ExprPtr ParseBuiltin(const Builtin& builtin) {
    Token name = Next();
    ExprPtr expr = NewExpr(ExprKind::kBuiltin, name.line);
    expr->name = builtin.name;
    if (!At(TokenKind::kLeftParen)) Fail(std::string(builtin.name) + " needs parentheses");
    expr->args = ParseParenArgs(false);
    int count = static_cast<int>(expr->args.size());
    if (count < builtin.min_args || (builtin.max_args >= 0 && count > builtin.max_args)) {
      throw SyntaxError(name.line, "wrong number of arguments to " + std::string(builtin.name));
    }
    return expr;
  }

  ExprPtr ParseMemberExpr() {
    ExprPtr expr = NewExpr(ExprKind::kMember, Peek().line);
    if (At(TokenKind::kDot, 1)) {
      expr->object = ExpectVariableName("a control name");
      Next();
    }
    expr->name = Expect(TokenKind::kIdentifier, "a member name").text;
    if (At(TokenKind::kLeftParen)) expr->args = ParseParenArgs(true);
    return expr;
  }

  ExprPtr ParseVariable() {
    ExprPtr expr = NewExpr(ExprKind::kVariable, Peek().line);
    expr->name = Next().text;
    if (At(TokenKind::kLeftParen)) {
      expr->kind = ExprKind::kIndex;
      expr->args = ParseParenArgs(false);
      if (expr->args.empty()) throw SyntaxError(expr->line, "an array element needs an index");
    }
    return expr;
  }

  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int depth_ = 0;  // expression levels open at the current token
};

template <typename T>
bool Fits(int64_t value) {
  return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

}  // namespace

Variant NumberLiteral(const std::string& text, bool negative) {
  bool whole = text.find_first_of(".eE") == std::string::npos;
  uint64_t magnitude = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
  if (whole && error == std::errc() && magnitude <= (uint64_t{1} << 62)) {
    int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    if (Fits<int16_t>(value)) return Variant::Integer(static_cast<int16_t>(value));
    if (Fits<int32_t>(value)) return Variant::Long(static_cast<int32_t>(value));
  }
  double value = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) {
    value = std::strtod(text.c_str(), nullptr);  // out of range: infinity or zero
  }
  return Variant::Double(negative ? -value : value);
}

Variant HexLiteral(const std::string& digits) {
  uint32_t bits = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), bits, 16);
  return Variant::Long(static_cast<int32_t>(bits));
}

Program Parse(std::string_view source) { return Parser(Tokenize(source)).ParseProgram(); }

}  // namespace quorvel
