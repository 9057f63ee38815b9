// The syntax tree of a quorvel script: statements holding expressions.
// A Program owns its whole tree; nodes are immutable once parsed and may be
// run any number of times. Names are kept as written; look-ups ignore case.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "orvane/variant.h"

namespace quorvel {

enum class ExprKind {
  kLiteral,   // literal: a number, string, True, False, Empty, Null or constant
  kVariable,  // name: a variable read as a whole
  kIndex,     // name(args): an element of the array a variable holds
  kMember,    // [object.]name[(args)]: a property read or a method call
  kBuiltin,   // name(args): Array, Table, LBound, Chr, CLng, ...
  kErrField,  // Err.name: a field of the last statement's error
  kConcat,    // args[0] & args[1] & ...: two or more terms, joined from the left
  kNegate,    // -args[0]
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  ExprKind kind;
  int line = 0;
  orvane::Variant literal;
  std::string name;
  std::string object;          // kMember: the control's name; empty for the default control
  bool parenthesized = false;  // written inside (...): never passed by reference
  std::vector<ExprPtr> args;   // nullptr marks an omitted argument of a member call
};

enum class StmtKind {
  kAssignVariable,  // name = value
  kAssignProperty,  // [object.]member = value
  kCall,            // [Call] [object.]member args
  kSetNew,          // Set name = New Quorvel
  kSetNothing,      // Set name = Nothing
  kPrint,           // Print [value, ...]
  kHelp,            // Help [name]
  kSave,            // Save [object,] file
  kResize,          // Resize [object,] width, height
};

struct Stmt {
  StmtKind kind;
  int line = 0;
  std::string name;    // variable, member, control (Set) or Help topic
  std::string object;  // kAssignProperty, kCall, kSave, kResize: the control's name; empty for the default
  std::vector<ExprPtr> args;  // call arguments (nullptr: omitted) or Print values
  ExprPtr value;              // assignments
};

struct Program {
  std::vector<Stmt> statements;
};

}  // namespace quorvel
