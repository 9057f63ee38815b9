#include "builtins.h"

#include <algorithm>
#include <array>
#include <limits>

#include "names.h"
#include "platform/window_messages.h"
#include "orvane/runtime_errors.h"

namespace quorvel {
namespace {

using orvane::ArrayBound;
using orvane::SafeArray;
using orvane::Variant;
using orvane::VarType;

const SafeArray& RequireArray(const Variant& value) {
  if (!value.is_array()) orvane::RaiseRuntimeError(orvane::kErrTypeMismatch);
  return value.array();
}

// Array(a, b, ...): a one-dimensional Variant array indexed from 0.
Variant MakeArray(const BuiltinArgs& args) {
  SafeArray array(VarType::kVariant, {ArrayBound{0, static_cast<int32_t>(args.size()) - 1}});
  for (size_t i = 0; i < args.size(); ++i) array.set(static_cast<int32_t>(i), args[i]);
  return Variant::Array(std::move(array));
}

// Table(row, row, ...): one row per one-dimensional array; as many columns
// as the longest row has elements; a shorter row leaves Empty cells.
Variant MakeTable(const BuiltinArgs& rows) {
  int64_t columns = 0;
  for (const Variant& row : rows) {
    const SafeArray& array = RequireArray(row);
    if (array.dimensions() != 1) orvane::RaiseRuntimeError(orvane::kErrTypeMismatch);
    columns = std::max(columns, array.bound(1).count());
  }
  SafeArray table(VarType::kVariant, {ArrayBound{0, static_cast<int32_t>(rows.size()) - 1},
                                      ArrayBound{0, static_cast<int32_t>(columns) - 1}});
  for (size_t r = 0; r < rows.size(); ++r) {
    const auto& elements = rows[r].array().elements();
    for (size_t c = 0; c < elements.size(); ++c) {
      table.set({static_cast<int32_t>(r), static_cast<int32_t>(c)}, elements[c]);
    }
  }
  return Variant::Array(std::move(table));
}

const ArrayBound& BoundOf(const BuiltinArgs& args) {
  const SafeArray& array = RequireArray(args[0]);
  int32_t dimension = args.size() > 1 ? orvane::ToLong(args[1]) : 1;
  return array.bound(dimension);
}

Variant LBound(const BuiltinArgs& args) { return Variant::Long(BoundOf(args).lower); }
Variant UBound(const BuiltinArgs& args) { return Variant::Long(BoundOf(args).upper); }

// Chr(n): the one-byte string of character code n, 0 to 255.
Variant Chr(const BuiltinArgs& args) {
  int32_t code = orvane::ToLong(args[0]);
  if (code < 0 || code > 255) orvane::RaiseRuntimeError(orvane::kErrInvalidProcedureCall);
  return Variant::String(std::string(1, static_cast<char>(code)));
}

Variant CByte(const BuiltinArgs& args) { return Variant::Byte(orvane::ToByte(args[0])); }
Variant CInt(const BuiltinArgs& args) { return Variant::Integer(orvane::ToInteger(args[0])); }
Variant CLng(const BuiltinArgs& args) { return Variant::Long(orvane::ToLong(args[0])); }
Variant CDbl(const BuiltinArgs& args) { return Variant::Double(orvane::ToDouble(args[0])); }
Variant CStr(const BuiltinArgs& args) { return Variant::String(orvane::ToString(args[0])); }
Variant CBool(const BuiltinArgs& args) { return Variant::Boolean(orvane::ToBoolean(args[0])); }

// ProgressBar(): a new progress-bar window of the host; its handle (Long).
Variant ProgressBar(const BuiltinArgs&) { return Variant::Long(orvane::platform::CreateProgressBarWindow()); }

// ProgressLog(handle): the messages that window received, "; " between them.
Variant ProgressLog(const BuiltinArgs& args) {
  return Variant::String(orvane::platform::ProgressBarLog(orvane::ToLong(args[0])));
}

constexpr std::array<Builtin, 13> kBuiltins = {{
    {"Array", 0, -1, MakeArray},
    {"Table", 0, -1, MakeTable},
    {"LBound", 1, 2, LBound},
    {"UBound", 1, 2, UBound},
    {"Chr", 1, 1, Chr},
    {"CByte", 1, 1, CByte},
    {"CInt", 1, 1, CInt},
    {"CLng", 1, 1, CLng},
    {"CDbl", 1, 1, CDbl},
    {"CStr", 1, 1, CStr},
    {"CBool", 1, 1, CBool},
    {"ProgressBar", 0, 0, ProgressBar},
    {"ProgressLog", 1, 1, ProgressLog},
}};

}  // namespace

const Builtin* FindBuiltin(std::string_view name) {
  for (const Builtin& builtin : kBuiltins) {
    if (SameName(builtin.name, name)) return &builtin;
  }
  return nullptr;
}

std::vector<std::string_view> BuiltinNames() {
  std::vector<std::string_view> names;
  for (const Builtin& builtin : kBuiltins) names.push_back(builtin.name);
  return names;
}

Variant Concat(const Variant& a, const Variant& b) {
  if (a.is_null() && b.is_null() && !a.is_array() && !b.is_array()) return Variant::Null();
  auto text = [](const Variant& v) { return v.is_null() && !v.is_array() ? std::string() : orvane::ToString(v); };
  return Variant::String(text(a) + text(b));
}

Variant Negate(const Variant& a) {
  if (a.is_array()) orvane::RaiseRuntimeError(orvane::kErrTypeMismatch);
  switch (a.type()) {
    case VarType::kEmpty:
      return Variant::Integer(0);
    case VarType::kNull:
      return Variant::Null();
    case VarType::kBoolean:
      return Variant::Integer(a.boolean() ? 1 : 0);
    case VarType::kByte:
      return Variant::Integer(static_cast<int16_t>(-a.byte()));
    case VarType::kInteger:
      if (a.integer() == std::numeric_limits<int16_t>::min()) return Variant::Long(32768);
      return Variant::Integer(static_cast<int16_t>(-a.integer()));
    case VarType::kLong:
      if (a.long_value() == std::numeric_limits<int32_t>::min()) return Variant::Double(2147483648.0);
      return Variant::Long(-a.long_value());
    case VarType::kDouble:
      return Variant::Double(-a.double_value());
    default:
      return Variant::Double(-orvane::ToDouble(a));
  }
}

}  // namespace quorvel
