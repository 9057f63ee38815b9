// IDL text of the type library, member by member from the dispatch table.
// By-reference parameters are [in, out] pointers, as late-bound clients of
// this control expect; properties become a propget and a propput method
// with the same identifier.
#include "com/idl_writer.h"

#include <cstdio>
#include <sstream>
#include <string_view>

#include "about/about_box.h"
#include "com/guids.h"
#include "orvane/dispatch.h"

namespace orvane::com {
namespace {

// The IDL spelling of a type library type name ("String" -> "BSTR").
std::string IdlType(std::string_view type_name) {
  if (type_name == "String") return "BSTR";
  if (type_name == "Long") return "long";
  if (type_name == "Integer") return "short";
  if (type_name == "Boolean") return "VARIANT_BOOL";
  if (type_name == "Variant") return "VARIANT";
  if (type_name == "Byte") return "unsigned char";
  if (type_name.empty()) return "void";
  return std::string(type_name);  // an enumeration of the library
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string DefaultText(const Variant& value) {
  switch (value.type()) {
    case VarType::kString:
      return Quoted(value.string());
    case VarType::kBoolean:
      return value.boolean() ? "-1" : "0";
    default:
      return std::to_string(ToLong(value));
  }
}

// The automation types the library refers to. widl knows BSTR, VARIANT
// and VARIANT_BOOL by name; IDispatch resolves to stdole2's when the
// library is written, so none of these is defined in the result.
constexpr const char* kPrelude =
    "typedef short VARIANT_BOOL;\n"
    "typedef [ptr] unsigned short* BSTR;\n"
    "typedef struct tagVARIANT { int reserved; } VARIANT;\n"
    "[object, local, uuid(00000000-0000-0000-C000-000000000046)] interface IUnknown {}\n"
    "[object, local, uuid(00020400-0000-0000-C000-000000000046)] interface IDispatch : IUnknown {}\n\n";

// The help string of the library and of each of its types: the maker and
// the contact address the About box shows.
std::string MakerHelp() {
  return "helpstring(" + Quoted(std::string("Orvane by Verrilan <") + kContactAddress + ">") + ")";
}

std::string Hex(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(value));
  return text;
}

std::string MemberAttributes(const MemberInfo& member, std::string_view extra) {
  std::string text = "[id(" + Hex(member.dispid) + ")";
  if (!extra.empty()) text += ", " + std::string(extra);
  if (!member.help_string.empty()) text += ", helpstring(" + Quoted(member.help_string) + ")";
  if (member.help_context != 0) text += ", helpcontext(" + std::to_string(member.help_context) + ")";
  return text + "]";
}

std::string Parameter(const ParamInfo& param) {
  std::string text = param.by_ref ? "[in, out" : "[in";
  if (param.optional) text += ", optional";
  if (param.has_default) text += ", defaultvalue(" + DefaultText(param.default_value) + ")";
  text += "] " + IdlType(param.type_name) + (param.by_ref ? "* " : " ") + param.name;
  return text;
}

void WriteMethod(std::ostringstream& out, const MemberInfo& member) {
  out << "    " << MemberAttributes(member, "") << "\n    " << IdlType(member.result_type_name) << " "
      << member.name << "(";
  for (size_t i = 0; i < member.params.size(); ++i) {
    out << (i ? ", " : "") << Parameter(member.params[i]);
  }
  out << ");\n";
}

void WriteProperty(std::ostringstream& out, const MemberInfo& member) {
  out << "    " << MemberAttributes(member, "propget") << "\n    " << IdlType(member.result_type_name) << " "
      << member.name << "();\n";
  out << "    " << MemberAttributes(member, "propput") << "\n    void " << member.name << "("
      << Parameter(member.params[0]) << ");\n";
}

void WriteEnums(std::ostringstream& out) {
  for (const EnumId& id : kEnumIds) {
    out << "  typedef [uuid(" << id.id << "), " << MakerHelp() << "] enum " << id.name << " {\n";
    bool first = true;
    for (const EnumConstant& constant : QuorvelEnumConstants()) {
      if (constant.enum_name != id.name) continue;
      out << (first ? "" : ",\n") << "    " << constant.name << " = " << constant.value;
      first = false;
    }
    out << "\n  } " << id.name << ";\n\n";
  }
}

void WriteDispatch(std::ostringstream& out) {
  out << "  [uuid(" << kDispatchId << "), hidden, " << MakerHelp() << "]\n  dispinterface " << kDispatchName
      << " {\n  properties:\n  methods:\n";
  for (const MemberInfo& member : QuorvelMembers()) {
    if (member.kind == MemberKind::kProperty) {
      WriteProperty(out, member);
    } else {
      WriteMethod(out, member);
    }
  }
  out << "  };\n\n";
  out << "  [uuid(" << kEventsId << "), hidden, " << MakerHelp() << "]\n  dispinterface " << kEventsName
      << " {\n  properties:\n  methods:\n  };\n\n";
}

}  // namespace

std::string TypeLibraryIdl() {
  std::ostringstream out;
  out << "// Generated from the control's dispatch table; do not edit.\n";
  out << kPrelude;
  out << "[uuid(" << kLibraryId << "), version(" << kLibraryMajor << "." << kLibraryMinor
      << "), helpfile(\"Orvanex.hlp\"), " << MakerHelp() << "]\n";
  out << "library " << kLibraryName << "\n{\n  importlib(\"stdole2.tlb\");\n\n";
  WriteEnums(out);
  WriteDispatch(out);
  out << "  [uuid(" << kClassId << "), control, " << MakerHelp() << "]\n  coclass "
      << kClassName << " {\n    [default] dispinterface " << kDispatchName << ";\n    [default, source] dispinterface "
      << kEventsName << ";\n  };\n};\n";
  return out.str();
}

}  // namespace orvane::com
