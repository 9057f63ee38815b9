// libFuzzer target for the quorvel script language's lexer and parser. Any
// input must either parse or raise SyntaxError naming a line of the input,
// without a crash, a hang or a leak; and a parsed program's expression
// trees must stay within the nesting the parser promises, since the
// interpreter recurses once per level and must never run out of stack.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "orvane/dispatch.h"
#include "tools/quorvel/parser.h"

// The fuzz build leaves out the control's call layer (control/invoke.cpp
// and the whole control behind it); the parser only needs member names,
// looked up here in the same dispatch table, ignoring ASCII letter case.
namespace orvane {

const MemberInfo* FindMember(std::string_view name) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (const MemberInfo& member : QuorvelMembers()) {
    if (member.name.size() != name.size()) continue;
    bool same = true;
    for (size_t i = 0; i < name.size() && same; ++i) same = lower(member.name[i]) == lower(name[i]);
    if (same) return &member;
  }
  return nullptr;
}

}  // namespace orvane

namespace {

using quorvel::Expr;
using quorvel::ExprKind;

// Levels a parsed tree may hold: every nesting level adds at most a join
// node, a member, builtin or index node and its argument list's root.
constexpr int kMaxTreeDepth = 3 * quorvel::kMaxExpressionDepth + 3;

// The depth of the tree under `root`, walked without recursion. Aborts on
// a join node whose first term is an unparenthesized join: chains of "&"
// must be flat.
int TreeDepth(const Expr& root) {
  int deepest = 0;
  std::vector<std::pair<const Expr*, int>> pending = {{&root, 1}};
  while (!pending.empty()) {
    auto [expr, depth] = pending.back();
    pending.pop_back();
    if (depth > deepest) deepest = depth;
    if (expr->kind == ExprKind::kConcat && (expr->args.size() < 2 || (expr->args[0]->kind == ExprKind::kConcat &&
                                                                       !expr->args[0]->parenthesized))) {
      std::abort();
    }
    for (const auto& arg : expr->args) {
      if (arg) pending.emplace_back(arg.get(), depth + 1);
    }
  }
  return deepest;
}

void CheckDepth(const quorvel::ExprPtr& expr) {
  if (expr && TreeDepth(*expr) > kMaxTreeDepth) std::abort();
}

int LineCount(std::string_view text) {
  int lines = 1;
  for (char c : text) lines += c == '\n';
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  try {
    const quorvel::Program program = quorvel::Parse(source);
    for (const quorvel::Stmt& stmt : program.statements) {
      CheckDepth(stmt.value);
      for (const auto& arg : stmt.args) CheckDepth(arg);
    }
  } catch (const quorvel::SyntaxError& error) {
    if (error.line() < 1 || error.line() > LineCount(source)) std::abort();
  }
  return 0;
}
