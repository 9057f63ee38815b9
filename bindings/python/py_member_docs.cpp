// Docstrings with data forms for the control's members (see py_member_docs.h).
#include "py_member_docs.h"

#include <pybind11/pybind11.h>

#include <string_view>

#include "py_variant.h"

namespace py = pybind11;

namespace orvane::python {
namespace {

constexpr const char* kValueForms =
    "by ValueType: StringType and ExpandedStringType a str, DWordType an int,\n"
    "    BinaryType hexadecimal text (str, '0102' for the bytes 01 02), MultiStringType\n"
    "    the strings joined by '|' (str); for a control made with typed=True, BinaryType\n"
    "    (and every type but 1, 2, 4, 7) bytes and MultiStringType a list of str, the\n"
    "    text forms also taken";

// What a member says beyond its types, by name.
std::string Note(std::string_view name) {
  if (name == "Value") return std::string("The value's data, ") + kValueForms + ".";
  if (name == "GetValue") {
    return "Reads the value into Value; ValueType is unchanged, unless the control was made\n"
           "with typed=True: then ValueType becomes the stored value's type.";
  }
  if (name == "GetAllKeys") {
    return "Returns the sub-key names as an orvane.Array of str, or None when there are none\n"
           "(an empty orvane.Array for a control made with typed=True).";
  }
  if (name == "GetAllValues") {
    return std::string("Returns an orvane.Table of rows [name, data, type], data ") + kValueForms +
           ", or None when there are none (an empty orvane.Table for a control made with\n    typed=True).";
  }
  if (name == "SetAllValues") return "ValueArray: a list of rows [name, data, type] (orvane.Table), data as Value.";
  if (name == "SetAllKeys") return "KeyArray: a list of key names (str), updated in place.";
  return {};
}

std::string Form(VarType type, const std::string& type_name) {
  switch (type) {
    case VarType::kString: return "str";
    case VarType::kBoolean: return "bool";
    case VarType::kDouble: return "float";
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kByte:
      if (type_name.rfind("def", 0) == 0 || type_name.rfind("QV", 0) == 0) return "int (orvane." + type_name + ")";
      return "int";
    case VarType::kEmpty: return "None";
    default:
      return "any (str, int, float, bool, None, orvane.Null, orvane.Array, orvane.Table)";
  }
}

}  // namespace

std::string MemberDoc(const MemberInfo& member) {
  std::string text;
  if (member.kind == MemberKind::kProperty) {
    text = member.help_string;
    const ParamInfo& assigned = member.params.front();
    text += "\n\nData: " + Form(assigned.type, assigned.type_name) + ".";
  } else {
    text = member.name + "(";
    for (size_t i = 0; i < member.params.size(); ++i) {
      const ParamInfo& param = member.params[i];
      if (i) text += ", ";
      text += param.name;
      if (param.has_default) {
        text += "=" + py::cast<std::string>(py::repr(FromVariant(param.default_value)));
      } else if (param.optional) {
        text += "=None";
      }
    }
    text += ")";
    if (!member.help_string.empty()) text += "\n\n" + member.help_string;
    if (!member.params.empty()) text += "\n";
    for (const ParamInfo& param : member.params) {
      text += "\n" + param.name + ": " + Form(param.type, param.type_name);
    }
    text += "\nReturns: " + Form(member.result, member.result_type_name) + ".";
  }
  if (const std::string note = Note(member.name); !note.empty()) text += "\n\n" + note;
  return text;
}

}  // namespace orvane::python
