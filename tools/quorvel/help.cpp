// Help NAME for a method:
//   Count (method)
//     Determines how many subkeys or values are into the default key.
//     Identifier:   1610809368 (&H60030018)
//     Help context: 140
//     Parameters:
//       ByRef CountType As QVCountType
//       Optional ByRef CountMode As QVCountMode = Long 0
//     Result:       Long
// and for a property the "Parameters" and "Result" lines are one
// "Type:" line. A missing help string leaves its line out; a missing help
// context or result reads "none".
#include "help.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "render.h"

namespace quorvel {
namespace {

using orvane::MemberInfo;
using orvane::MemberKind;
using orvane::ParamInfo;

const char* KindName(const MemberInfo& member) { return member.kind == MemberKind::kProperty ? "property" : "method"; }

std::string Hex(int32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "&H%X", static_cast<uint32_t>(value));
  return buffer;
}

std::string TypeText(const std::string& type_name, orvane::VarType type) {
  return type_name.empty() ? TypeName(type) : type_name;
}

std::string ParamText(const ParamInfo& param) {
  std::string text = param.optional ? "Optional " : "";
  text += param.by_ref ? "ByRef " : "ByVal ";
  text += param.name + " As " + TypeText(param.type_name, param.type);
  if (param.has_default) text += " = " + RenderScalar(param.default_value);
  return text;
}

void PrintSignature(const MemberInfo& member, std::ostream& out) {
  if (member.kind == MemberKind::kProperty) {
    const ParamInfo* value = member.params.empty() ? nullptr : &member.params.front();
    out << "  Type:         "
        << (value ? TypeText(value->type_name, value->type) : TypeText(member.result_type_name, member.result))
        << "\n";
    return;
  }
  out << "  Parameters:" << (member.params.empty() ? "   none" : "") << "\n";
  for (const ParamInfo& param : member.params) out << "    " << ParamText(param) << "\n";
  bool no_result = member.result == orvane::VarType::kEmpty && member.result_type_name.empty();
  out << "  Result:       " << (no_result ? "none" : TypeText(member.result_type_name, member.result)) << "\n";
}

}  // namespace

void PrintMemberList(std::ostream& out) {
  const auto& members = orvane::QuorvelMembers();
  size_t width = 0;
  for (const MemberInfo& member : members) width = std::max(width, member.name.size());
  out << "Members of Quorvel (Help NAME shows one member):\n";
  for (const MemberInfo& member : members) {
    std::string line = "  " + member.name + std::string(width - member.name.size() + 2, ' ');
    line += KindName(member);
    if (!member.help_string.empty()) line += std::string(10 - std::string(KindName(member)).size(), ' ') + member.help_string;
    out << line << "\n";
  }
}

void PrintMemberHelp(const MemberInfo& member, std::ostream& out) {
  out << member.name << " (" << KindName(member) << ")\n";
  if (!member.help_string.empty()) out << "  " << member.help_string << "\n";
  out << "  Identifier:   " << member.dispid << " (" << Hex(member.dispid) << ")\n";
  out << "  Help context: " << (member.help_context ? std::to_string(member.help_context) : "none") << "\n";
  PrintSignature(member, out);
}

}  // namespace quorvel
