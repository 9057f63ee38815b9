#include <gtest/gtest.h>

#include <string>

#include "tools/quorvel/parser.h"

namespace quorvel {
namespace {

using orvane::Variant;

// The line of the SyntaxError that parsing `source` raises, or 0.
int ErrorLine(std::string_view source) {
  try {
    Parse(source);
  } catch (const SyntaxError& error) {
    return error.line();
  }
  return 0;
}

// The one statement of a program (the program itself is a temporary).
Stmt Only(Program program) {
  EXPECT_EQ(program.statements.size(), 1u);
  return std::move(program.statements.front());
}

TEST(NumberLiteral, WholeNumbersTakeTheSmallestTypeThatHoldsThem) {
  EXPECT_EQ(NumberLiteral("32767", false), Variant::Integer(32767));
  EXPECT_EQ(NumberLiteral("32768", false), Variant::Long(32768));
  EXPECT_EQ(NumberLiteral("2147483647", false), Variant::Long(2147483647));
  EXPECT_EQ(NumberLiteral("2147483648", false), Variant::Double(2147483648.0));
  EXPECT_EQ(NumberLiteral("99999999999999999999", false), Variant::Double(1e20));
}

TEST(NumberLiteral, LeadingMinusChoosesTheTypeOfTheNegativeValue) {
  EXPECT_EQ(NumberLiteral("32768", true), Variant::Integer(-32768));
  EXPECT_EQ(NumberLiteral("32769", true), Variant::Long(-32769));
  EXPECT_EQ(NumberLiteral("2147483648", true), Variant::Long(INT32_MIN));
  EXPECT_EQ(NumberLiteral("2147483649", true), Variant::Double(-2147483649.0));
}

TEST(NumberLiteral, PointOrExponentMakesADouble) {
  EXPECT_EQ(NumberLiteral("1.0", false), Variant::Double(1.0));
  EXPECT_EQ(NumberLiteral(".5", true), Variant::Double(-0.5));
  EXPECT_EQ(NumberLiteral("2e3", false), Variant::Double(2000.0));
}

TEST(HexLiteral, IsALongOfTheDigitsBits) {
  EXPECT_EQ(HexLiteral("80000002"), Variant::Long(-2147483646));
  EXPECT_EQ(HexLiteral("FFFF"), Variant::Long(65535));
  EXPECT_EQ(HexLiteral("ffffffff"), Variant::Long(-1));
}

TEST(Parser, MinusBeforeLiteralIsFoldedElsewhereNegates) {
  Stmt stmt = Only(Parse("Print -32768, -x, - -1"));
  EXPECT_EQ(stmt.args[0]->kind, ExprKind::kLiteral);
  EXPECT_EQ(stmt.args[0]->literal, Variant::Integer(-32768));
  EXPECT_EQ(stmt.args[1]->kind, ExprKind::kNegate);
  EXPECT_EQ(stmt.args[2]->kind, ExprKind::kNegate);
  EXPECT_EQ(stmt.args[2]->args[0]->literal, Variant::Integer(-1));
}

// `count` copies of `open`, then "1", then `count` copies of `close`.
std::string Nested(const std::string& open, int count, const std::string& close) {
  std::string text;
  for (int i = 0; i < count; ++i) text += open;
  text += "1";
  for (int i = 0; i < count; ++i) text += close;
  return text;
}

TEST(Parser, NestingUpToTheBoundParsesDeeperIsASyntaxErrorAtItsLine) {
  const int bound = kMaxExpressionDepth;
  EXPECT_EQ(ErrorLine("Print " + Nested("(", bound - 1, ")")), 0);
  EXPECT_EQ(ErrorLine("Print " + Nested("-", bound, "")), 0);  // the last "-" belongs to the number
  EXPECT_EQ(ErrorLine("Print " + Nested("Array(", bound - 1, ")")), 0);
  EXPECT_EQ(ErrorLine("Print 1\nPrint " + Nested("(", bound, ")")), 2);
  EXPECT_EQ(ErrorLine("Print 1\n\nx = " + Nested("-", bound + 1, "")), 3);
  EXPECT_EQ(ErrorLine("Print " + Nested("Array(", bound, ")")), 1);
  EXPECT_EQ(ErrorLine("Print " + Nested("Value(", bound, ")")), 1);
  try {
    Parse("Print " + Nested("(", 11718, ")"));
    ADD_FAILURE() << "no syntax error";
  } catch (const SyntaxError& error) {
    EXPECT_EQ(std::string(error.what()), "expression nested more than " + std::to_string(bound) + " levels deep");
  }
  EXPECT_EQ(ErrorLine("Print " + Nested("-", 14843, "")), 1);
  EXPECT_EQ(ErrorLine("Print " + Nested("Array(", 9375, ")")), 1);
  EXPECT_EQ(ErrorLine("Print " + Nested("(-", 20000, ")")), 1);
}

TEST(Parser, AChainOfJoinsIsOneFlatNode) {
  std::string chain = "Print 1";
  for (int i = 0; i < 50000; ++i) chain += " & 1";
  Stmt stmt = Only(Parse(chain));
  ASSERT_EQ(stmt.args[0]->kind, ExprKind::kConcat);
  EXPECT_EQ(stmt.args[0]->args.size(), 50001u);
  EXPECT_EQ(stmt.args[0]->args[50000]->kind, ExprKind::kLiteral);
}

TEST(Parser, ConstantsAndKeywordValuesAreLiterals) {
  Stmt stmt = Only(Parse("Print hkey_local_machine, OpenOnly, TRUE, false, Empty, null"));
  EXPECT_EQ(stmt.args[0]->literal, Variant::Long(-2147483646));
  EXPECT_EQ(stmt.args[1]->literal, Variant::Long(1));
  EXPECT_EQ(stmt.args[2]->literal, Variant::Boolean(true));
  EXPECT_EQ(stmt.args[3]->literal, Variant::Boolean(false));
  EXPECT_TRUE(stmt.args[4]->literal.is_empty());
  EXPECT_TRUE(stmt.args[5]->literal.is_null());
}

TEST(Parser, MemberNamesMakePropertyAssignmentsOtherNamesVariables) {
  Program program = Parse("globalkeypath = \"x\"\nq.Value = 1\nsomething = 2");
  ASSERT_EQ(program.statements.size(), 3u);
  EXPECT_EQ(program.statements[0].kind, StmtKind::kAssignProperty);
  EXPECT_EQ(program.statements[0].object, "");
  EXPECT_EQ(program.statements[1].kind, StmtKind::kAssignProperty);
  EXPECT_EQ(program.statements[1].object, "q");
  EXPECT_EQ(program.statements[1].name, "Value");
  EXPECT_EQ(program.statements[2].kind, StmtKind::kAssignVariable);
  EXPECT_EQ(program.statements[2].line, 3);
}

// Arguments after a method name: an empty one, between commas or after a
// trailing comma, is an omitted optional argument (nullptr).
TEST(Parser, BareArgumentsMayBeOmitted) {
  Stmt stmt = Only(Parse("Find s, , True,"));
  EXPECT_EQ(stmt.kind, StmtKind::kCall);
  ASSERT_EQ(stmt.args.size(), 4u);
  EXPECT_NE(stmt.args[0], nullptr);
  EXPECT_EQ(stmt.args[1], nullptr);
  EXPECT_NE(stmt.args[2], nullptr);
  EXPECT_EQ(stmt.args[3], nullptr);
  EXPECT_EQ(ErrorLine(", 1"), 1) << "a statement cannot start with a comma";
}

TEST(Parser, CallTakesParenthesesAndEmptyParenthesesMeanNoArguments) {
  EXPECT_EQ(Only(Parse("Call q2.Count(a, )")).args.size(), 2u);
  EXPECT_EQ(Only(Parse("Call q2.Count(a, )")).object, "q2");
  EXPECT_TRUE(Only(Parse("GetAllKeys()")).args.empty());
  EXPECT_TRUE(Only(Parse("call getallkeys")).args.empty());
}

// A bare variable goes by reference; parentheses around it make a value.
TEST(Parser, ParenthesesMarkAnArgumentAsAValue) {
  Stmt stmt = Only(Parse("SetValue (m), m"));
  EXPECT_TRUE(stmt.args[0]->parenthesized);
  EXPECT_EQ(stmt.args[0]->kind, ExprKind::kVariable);
  EXPECT_FALSE(stmt.args[1]->parenthesized);
}

TEST(Parser, NamesFollowedByParenthesesInExpressions) {
  Stmt stmt = Only(Parse("Print a(1, 2), Count(CountValues), q.GetAllKeys(), Chr(65), Err.helpcontext"));
  EXPECT_EQ(stmt.args[0]->kind, ExprKind::kIndex);
  EXPECT_EQ(stmt.args[0]->args.size(), 2u);
  EXPECT_EQ(stmt.args[1]->kind, ExprKind::kMember);
  EXPECT_EQ(stmt.args[2]->kind, ExprKind::kMember);
  EXPECT_EQ(stmt.args[2]->object, "q");
  EXPECT_EQ(stmt.args[3]->kind, ExprKind::kBuiltin);
  EXPECT_EQ(stmt.args[3]->name, "Chr");
  EXPECT_EQ(stmt.args[4]->kind, ExprKind::kErrField);
  EXPECT_EQ(stmt.args[4]->name, "HelpContext");
}

TEST(Parser, SetBindsNewQuorvelOrNothing) {
  Program program = Parse("Set q = New quorvel: SET Quorvel1 = nothing");
  EXPECT_EQ(program.statements[0].kind, StmtKind::kSetNew);
  EXPECT_EQ(program.statements[0].name, "q");
  EXPECT_EQ(program.statements[1].kind, StmtKind::kSetNothing);
  EXPECT_EQ(ErrorLine("Set q = New Form"), 1);
  EXPECT_EQ(ErrorLine("Set q = 5"), 1);
  EXPECT_EQ(ErrorLine("Set Value = Nothing"), 1);
}

TEST(Parser, HelpTakesAnOptionalName) {
  EXPECT_EQ(Only(Parse("help")).name, "");
  EXPECT_EQ(Only(Parse("Help Count")).name, "Count");
}

TEST(Parser, StatementsSeparatedByColonsAndLinesWithEmptyOnesSkipped) {
  Program program = Parse(":: Print 1 :\n\n' only a comment\nPrint 2: Print");
  ASSERT_EQ(program.statements.size(), 3u);
  EXPECT_EQ(program.statements[1].line, 4);
  EXPECT_TRUE(program.statements[2].args.empty());
}

TEST(Parser, RejectsWhatCannotBeAssigned) {
  EXPECT_EQ(ErrorLine("StringType = 1"), 1);
  EXPECT_EQ(ErrorLine("Print 1\nErr.Number = 1"), 2);
  EXPECT_EQ(ErrorLine("a(1) = 2"), 1);
  EXPECT_EQ(ErrorLine("True = 1"), 1);
  EXPECT_EQ(ErrorLine("Chr = 1"), 1);
}

TEST(Parser, RejectsUnknownStatementsAndMalformedExpressions) {
  EXPECT_EQ(ErrorLine("Print 1\n\nfoo"), 3);
  EXPECT_EQ(ErrorLine("Call foo(1)"), 1);
  EXPECT_EQ(ErrorLine("x = "), 1);
  EXPECT_EQ(ErrorLine("Print (1"), 1);
  EXPECT_EQ(ErrorLine("Print 1 2"), 1);
  EXPECT_EQ(ErrorLine("Print Err.Nope"), 1);
  EXPECT_EQ(ErrorLine("Print Err"), 1);
  EXPECT_EQ(ErrorLine("Print New"), 1);
  EXPECT_EQ(ErrorLine("SetValue(a, b)"), 1) << "parentheses around several arguments need Call";
}

TEST(Parser, BuiltinsCheckTheirArgumentCounts) {
  EXPECT_EQ(ErrorLine("Print Chr()"), 1);
  EXPECT_EQ(ErrorLine("Print LBound(a, 1, 2)"), 1);
  EXPECT_EQ(ErrorLine("Print Array(1, , 2)"), 1);
  EXPECT_EQ(ErrorLine("Print CLng"), 1);
  EXPECT_EQ(ErrorLine("Print a()"), 1);
  EXPECT_EQ(ErrorLine("Print Array(), Table(), UBound(a, 2)"), 0);
}

}  // namespace
}  // namespace quorvel
