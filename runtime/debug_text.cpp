// The readable form of a Variant used in diagnostics and test output.
#include <ostream>

#include "orvane/variant.h"
#include "runtime/number_text.h"

namespace orvane {
namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string ScalarText(const Variant& value) {
  std::string name = Variant::TypeName(value.type());
  switch (value.type()) {
    case VarType::kEmpty:
    case VarType::kNull: return name;
    case VarType::kBoolean: return name + (value.boolean() ? "(True)" : "(False)");
    case VarType::kByte: return name + "(" + std::to_string(value.byte()) + ")";
    case VarType::kInteger: return name + "(" + std::to_string(value.integer()) + ")";
    case VarType::kLong: return name + "(" + std::to_string(value.long_value()) + ")";
    case VarType::kDouble: return name + "(" + internal::FormatDouble(value.double_value()) + ")";
    case VarType::kString: return name + "(" + Quoted(value.string()) + ")";
    case VarType::kVariant: break;
  }
  return name;
}

std::string ArrayText(const SafeArray& array) {
  std::string out = std::string("Array<") + Variant::TypeName(array.element_type()) + ">(";
  for (int d = 1; d <= array.dimensions(); ++d) {
    if (d > 1) out += ", ";
    out += std::to_string(array.lower(d)) + " To " + std::to_string(array.upper(d));
  }
  out += "){";
  for (size_t i = 0; i < array.elements().size(); ++i) {
    if (i > 0) out += ", ";
    out += DebugText(array.elements()[i]);
  }
  return out + "}";
}

}  // namespace

std::string DebugText(const Variant& value) {
  return value.is_array() ? ArrayText(value.array()) : ScalarText(value);
}

std::ostream& operator<<(std::ostream& out, const Variant& value) { return out << DebugText(value); }

}  // namespace orvane
