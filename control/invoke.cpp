// Late-bound calls through the dispatch table: member look-up, argument
// conversion to the parameters' types, the call, and by-reference
// write-back into the caller's Variants.
#include <cstddef>

#include "control/member_calls.h"
#include "orvane/dispatch.h"
#include "orvane/runtime_errors.h"

namespace orvane {
namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// What an omitted optional parameter receives: its default, or else the
// zero of its type (0, "", False; Empty for a Variant).
Variant OmittedArgument(const ParamInfo& param) {
  return param.has_default ? param.default_value : ConvertTo(Variant(), param.type);
}

const Variant* PassedArgument(const std::vector<Variant*>& args, size_t i) {
  return i < args.size() ? args[i] : nullptr;
}

std::vector<Variant> ConvertArguments(const MemberInfo& member, const std::vector<Variant*>& args) {
  if (args.size() > member.params.size()) RaiseRuntimeError(kErrWrongArgumentCount);
  std::vector<Variant> converted;
  converted.reserve(member.params.size());
  for (size_t i = 0; i < member.params.size(); ++i) {
    const ParamInfo& param = member.params[i];
    const Variant* passed = PassedArgument(args, i);
    if (passed == nullptr && !param.optional) RaiseRuntimeError(kErrArgumentNotOptional);
    converted.push_back(passed ? ConvertTo(*passed, param.type) : OmittedArgument(param));
  }
  return converted;
}

void WriteBack(const MemberInfo& member, std::vector<Variant>& converted, const std::vector<Variant*>& args) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != nullptr && member.params[i].by_ref) *args[i] = std::move(converted[i]);
  }
}

Variant CallMethod(Quorvel& control, const MemberInfo& member, const MemberCalls& calls,
                   const std::vector<Variant*>& args) {
  std::vector<Variant> converted = ConvertArguments(member, args);
  Variant result;
  try {
    result = calls.call(control, converted);
  } catch (...) {
    WriteBack(member, converted, args);
    throw;
  }
  WriteBack(member, converted, args);
  return result;
}

Variant PutProperty(Quorvel& control, const MemberInfo& member, const MemberCalls& calls,
                    const std::vector<Variant*>& args) {
  if (args.size() > 1) RaiseRuntimeError(kErrWrongArgumentCount);
  if (args.empty() || args[0] == nullptr) RaiseRuntimeError(kErrArgumentNotOptional);
  calls.put(control, ConvertTo(*args[0], member.params[0].type));
  return Variant();
}

}  // namespace

const MemberInfo* FindMember(std::string_view name) {
  for (const MemberInfo& member : QuorvelMembers()) {
    if (SameNameIgnoringCase(member.name, name)) return &member;
  }
  return nullptr;
}

const MemberInfo* FindMember(int32_t dispid) {
  for (const MemberInfo& member : QuorvelMembers()) {
    if (member.dispid == dispid) return &member;
  }
  return nullptr;
}

Variant Invoke(Quorvel& control, const MemberInfo& member, InvokeKind kind, const std::vector<Variant*>& args) {
  const MemberCalls* calls = FindMemberCalls(member.dispid);
  if (calls == nullptr) RaiseRuntimeError(kErrMemberNotFound);
  if (member.kind == MemberKind::kMethod) {
    if (kind == InvokeKind::kPropertyPut) RaiseRuntimeError(kErrMemberNotFound);
    return CallMethod(control, member, *calls, args);
  }
  if (kind == InvokeKind::kPropertyPut) return PutProperty(control, member, *calls, args);
  if (!args.empty()) RaiseRuntimeError(kErrWrongArgumentCount);
  return calls->get(control);
}

}  // namespace orvane
