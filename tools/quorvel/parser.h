// The parser of the quorvel script language: script text to a Program.
// The whole text is parsed before anything runs; the first mistake raises
// SyntaxError naming its line. Member and constant names come from the
// control's dispatch table, so a parse needs no control.
#pragma once

#include <string_view>

#include "ast.h"
#include "lexer.h"

namespace quorvel {

// Grammar (keywords and names in any letter case; ":" or a line end
// separates statements; "'" starts a comment):
//   statement := "Print" [ expr { "," expr } ]
//              | "Call" target [ "(" args ")" ]
//              | "Set" name "=" ( "New" "Quorvel" | "Nothing" )
//              | "Help" [ name ]
//              | "Save" [ name "," ] expr
//              | "Resize" [ name "," ] expr "," expr
//              | target "=" expr              (a property assignment)
//              | target [ args ]              (a method call)
//              | name "=" expr                (a variable assignment)
//   target    := [ name "." ] ( member | "Width" | "Height" )
//   args      := [ expr ] { "," [ expr ] }     (an empty one is omitted)
//   expr      := unary { "&" unary }
//   unary     := "-" unary | primary
//   primary   := number | &H digits | string | "(" expr ")" | "True" | "False"
//              | "Empty" | "Null" | constant | "Err" "." field
//              | builtin "(" [ expr { "," expr } ] ")"
//              | target [ "(" args ")" ] | name [ "(" expr { "," expr } ")" ]
//
// Expressions nest at most kMaxExpressionDepth levels (each "(", argument
// list and unary "-" is one level); deeper input is a syntax error at the
// line where the limit is passed. A chain of "&" is one flat node however
// long, so the interpreter's recursion is bounded by the nesting alone.
constexpr int kMaxExpressionDepth = 256;

Program Parse(std::string_view source);

// The value of a numeric literal: a whole number is Integer when it fits 16
// bits, Long when it fits 32, else Double; one with a point or an exponent is
// Double. `negative` applies a leading minus before the type is chosen.
orvane::Variant NumberLiteral(const std::string& text, bool negative);

// The value of an &H literal of 1 to 8 hexadecimal digits: a Long whose bits
// are those digits.
orvane::Variant HexLiteral(const std::string& digits);

}  // namespace quorvel
