#include "interpreter.h"

#include "builtins.h"
#include "help.h"
#include "names.h"
#include "orvane/runtime_errors.h"
#include "render.h"

namespace quorvel {

using orvane::InvokeKind;
using orvane::Variant;

bool Interpreter::Run(const Program& program) {
  bool clean = true;
  for (const Stmt& stmt : program.statements) clean = Execute(stmt) && clean;
  return clean;
}

bool Interpreter::Execute(const Stmt& stmt) {
  try {
    Dispatch(stmt);
  } catch (const orvane::Error& error) {
    err_ = error.record();
    out_ << "Error " << err_.number << ": " << err_.description << "\n";
    return false;
  }
  err_ = orvane::ErrorRecord{};
  return true;
}

const Variant* Interpreter::FindVariable(std::string_view name) const {
  auto it = variables_.find(NameKey(name));
  return it == variables_.end() ? nullptr : &it->second;
}

void Interpreter::Dispatch(const Stmt& stmt) {
  switch (stmt.kind) {
    case StmtKind::kAssignVariable:
      return AssignVariable(stmt);
    case StmtKind::kAssignProperty: {
      Variant value = Evaluate(*stmt.value);
      InvokeMember(stmt.object, stmt.name, InvokeKind::kPropertyPut, {}, &value);
      return;
    }
    case StmtKind::kCall:
      InvokeMember(stmt.object, stmt.name, InvokeKind::kMethod, stmt.args);
      return;
    case StmtKind::kSetNew:
    case StmtKind::kSetNothing:
      return SetObject(stmt);
    case StmtKind::kPrint:
      return Print(stmt);
    case StmtKind::kHelp:
      return Help(stmt);
    case StmtKind::kSave:
    case StmtKind::kResize:
      return SaveOrResize(stmt);
  }
}

void Interpreter::AssignVariable(const Stmt& stmt) {
  if (host_.IsObjectName(stmt.name)) RaiseObjectAsValue(stmt.name);
  Variant value = Evaluate(*stmt.value);
  variables_[NameKey(stmt.name)] = std::move(value);
}

void Interpreter::SetObject(const Stmt& stmt) {
  variables_.erase(NameKey(stmt.name));
  if (stmt.kind == StmtKind::kSetNew) {
    host_.CreateControl(stmt.name);
  } else {
    host_.ReleaseControl(stmt.name);
  }
}

void Interpreter::Print(const Stmt& stmt) {
  if (stmt.args.empty()) out_ << "\n";
  for (const ExprPtr& arg : stmt.args) out_ << Render(Evaluate(*arg));
}

void Interpreter::Help(const Stmt& stmt) {
  if (stmt.name.empty()) return PrintMemberList(out_);
  const orvane::MemberInfo* member = orvane::FindMember(stmt.name);
  if (!member) orvane::RaiseRuntimeError(orvane::kErrMemberNotFound);
  PrintMemberHelp(*member, out_);
}

void Interpreter::SaveOrResize(const Stmt& stmt) {
  std::string_view object = stmt.object.empty() ? Host::kDefaultControl : std::string_view(stmt.object);
  if (stmt.kind == StmtKind::kSave) {
    Variant file = Evaluate(*stmt.args[0]);
    return host_.SaveControl(object, orvane::ToString(file));
  }
  int32_t width = orvane::ToLong(Evaluate(*stmt.args[0]));
  int32_t height = orvane::ToLong(Evaluate(*stmt.args[1]));
  host_.ResizeControl(object, width, height);
}

Variant Interpreter::ExtenderProperty(const std::string& object, const std::string& name,
                                      const std::vector<ExprPtr>& args, const Variant* assigned) {
  std::string_view control = object.empty() ? Host::kDefaultControl : std::string_view(object);
  if (!args.empty()) orvane::RaiseRuntimeError(orvane::kErrWrongArgumentCount);
  bool width = SameName(name, "Width");
  if (assigned) {
    int32_t size = orvane::ToLong(*assigned);
    host_.ResizeControl(control, width ? size : host_.ControlWidth(control),
                        width ? host_.ControlHeight(control) : size);
    return Variant();
  }
  return Variant::Long(width ? host_.ControlWidth(control) : host_.ControlHeight(control));
}

Variant Interpreter::Evaluate(const Expr& expr) {
  switch (expr.kind) {
    case ExprKind::kLiteral:
      return expr.literal;
    case ExprKind::kVariable:
      return ReadVariable(expr.name);
    case ExprKind::kIndex:
      return EvaluateIndex(expr);
    case ExprKind::kMember:
      return InvokeMember(expr.object, expr.name, ReadKind(expr.name), expr.args);
    case ExprKind::kBuiltin:
      return EvaluateBuiltin(expr);
    case ExprKind::kErrField:
      return ErrField(expr.name);
    case ExprKind::kConcat:
      return EvaluateConcat(expr);
    case ExprKind::kNegate:
      return Negate(Evaluate(*expr.args[0]));
  }
  return Variant();
}

// a & b & c ...: each term evaluated in turn and joined to the text so far,
// in a loop, so a long chain costs no stack.
Variant Interpreter::EvaluateConcat(const Expr& expr) {
  Variant joined = Evaluate(*expr.args[0]);
  for (size_t i = 1; i < expr.args.size(); ++i) joined = Concat(joined, Evaluate(*expr.args[i]));
  return joined;
}

// name(i) or name(i, j): the variable must hold an array (13 otherwise);
// a wrong index or count of indexes raises 9.
Variant Interpreter::EvaluateIndex(const Expr& expr) {
  std::vector<int32_t> indexes;
  for (const ExprPtr& arg : expr.args) indexes.push_back(orvane::ToLong(Evaluate(*arg)));
  if (host_.IsObjectName(expr.name)) RaiseObjectAsValue(expr.name);
  const Variant* value = FindVariable(expr.name);
  if (!value || !value->is_array()) orvane::RaiseRuntimeError(orvane::kErrTypeMismatch);
  return value->array().at(indexes);
}

Variant Interpreter::EvaluateBuiltin(const Expr& expr) {
  BuiltinArgs args;
  for (const ExprPtr& arg : expr.args) args.push_back(Evaluate(*arg));
  return FindBuiltin(expr.name)->eval(args);
}

Variant Interpreter::ErrField(const std::string& field) const {
  if (field == "Number") return Variant::Long(err_.number);
  if (field == "HelpContext") return Variant::Long(err_.help_context);
  if (field == "Source") return Variant::String(err_.source);
  if (field == "HelpFile") return Variant::String(err_.help_file);
  return Variant::String(err_.description);
}

// A variable the script never assigned reads as Empty.
Variant Interpreter::ReadVariable(const std::string& name) const {
  if (host_.IsObjectName(name)) RaiseObjectAsValue(name);
  const Variant* value = FindVariable(name);
  return value ? *value : Variant();
}

void Interpreter::RaiseObjectAsValue(const std::string& name) const {
  host_.Control(name);  // raises 91 for Nothing
  orvane::RaiseRuntimeError(orvane::kErrMemberNotFound);
}

InvokeKind Interpreter::ReadKind(const std::string& name) const {
  const orvane::MemberInfo* member = orvane::FindMember(name);
  return member && member->kind == orvane::MemberKind::kProperty ? InvokeKind::kPropertyGet : InvokeKind::kMethod;
}

Variant Interpreter::InvokeMember(const std::string& object, const std::string& name, InvokeKind kind,
                                  const std::vector<ExprPtr>& args, Variant* assigned) {
  if (IsExtenderProperty(name)) return ExtenderProperty(object, name, args, assigned);
  orvane::Quorvel& control = host_.Control(object.empty() ? Host::kDefaultControl : object);
  const orvane::MemberInfo* member = orvane::FindMember(name);
  if (!member) orvane::RaiseRuntimeError(orvane::kErrMemberNotFound);
  std::vector<Variant> temporaries(args.size());
  std::vector<Variant*> pointers;
  for (size_t i = 0; i < args.size(); ++i) {
    const Expr* arg = args[i].get();
    bool by_reference = arg && arg->kind == ExprKind::kVariable && !arg->parenthesized &&
                        !host_.IsObjectName(arg->name);
    if (by_reference) {
      pointers.push_back(&variables_[NameKey(arg->name)]);
    } else {
      if (arg) temporaries[i] = Evaluate(*arg);
      pointers.push_back(arg ? &temporaries[i] : nullptr);
    }
  }
  if (assigned) pointers.push_back(assigned);
  return orvane::Invoke(control, *member, kind, pointers);
}

}  // namespace quorvel
