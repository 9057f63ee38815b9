// The interpreter: runs parsed statements against the controls of a Host,
// reaching every member only through the dispatch table. It owns the
// script's variables and the Err record; it borrows the Host and the output
// stream, which must outlive it. One thread.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ast.h"
#include "host.h"
#include "orvane/dispatch.h"
#include "orvane/error.h"

namespace quorvel {

class Interpreter {
 public:
  Interpreter(Host& host, std::ostream& out) : host_(host), out_(out) {}

  // Runs every statement in order. A statement that raises prints
  // "Error NUMBER: DESCRIPTION", becomes Err, and the run goes on with the
  // next statement. Returns true when no statement raised.
  bool Run(const Program& program);

  // Runs one statement; false when it raised. Err holds the statement's
  // error afterwards, or is cleared when it succeeded.
  bool Execute(const Stmt& stmt);

  const orvane::ErrorRecord& err() const { return err_; }

  // The variable's value, or nullptr when the script never assigned it.
  const orvane::Variant* FindVariable(std::string_view name) const;

 private:
  void Dispatch(const Stmt& stmt);
  void AssignVariable(const Stmt& stmt);
  void SetObject(const Stmt& stmt);
  void Print(const Stmt& stmt);
  void Help(const Stmt& stmt);
  void SaveOrResize(const Stmt& stmt);

  // Width or Height of the named control: read, or assigned (a resize
  // request that keeps the other dimension).
  orvane::Variant ExtenderProperty(const std::string& object, const std::string& name,
                                   const std::vector<ExprPtr>& args, const orvane::Variant* assigned);

  orvane::Variant Evaluate(const Expr& expr);
  orvane::Variant EvaluateConcat(const Expr& expr);
  orvane::Variant EvaluateIndex(const Expr& expr);
  orvane::Variant EvaluateBuiltin(const Expr& expr);
  orvane::Variant ErrField(const std::string& field) const;
  orvane::Variant ReadVariable(const std::string& name) const;

  // Calls a member of the named control (the default one when `object` is
  // empty) with the given arguments; a bare variable goes by reference.
  orvane::Variant InvokeMember(const std::string& object, const std::string& name, orvane::InvokeKind kind,
                               const std::vector<ExprPtr>& args, orvane::Variant* assigned = nullptr);
  orvane::InvokeKind ReadKind(const std::string& name) const;

  // A name that holds an object used as a value: 91 when it holds Nothing,
  // 438 (no default member) when it holds a control.
  [[noreturn]] void RaiseObjectAsValue(const std::string& name) const;

  Host& host_;
  std::ostream& out_;
  std::unordered_map<std::string, orvane::Variant> variables_;  // by NameKey
  orvane::ErrorRecord err_;
};

}  // namespace quorvel
