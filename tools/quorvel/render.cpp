#include "render.h"

#include "runtime/quoted_bytes.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace quorvel {
namespace {

using orvane::SafeArray;
using orvane::Variant;
using orvane::VarType;

// GCC 12 at -O2 and above reports a false overlap (-Wrestrict) inside the
// std::string::insert below, from impossible sizes it derives for the
// inlined copy; the insert is of one character into a separate string.
// Silenced for this function only.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
// Moves the decimal point of "d.ddd" (or "d") by `exponent` places,
// padding with zeros, so "1.5e-7" becomes "0.00000015" and "1.2e+14"
// "120000000000000".
std::string ExpandExponent(std::string mantissa, int exponent) {
  bool negative = !mantissa.empty() && mantissa[0] == '-';
  if (negative) mantissa.erase(0, 1);
  std::string digits;
  for (char c : mantissa) {
    if (c != '.') digits += c;
  }
  int point = static_cast<int>(mantissa.find('.'));
  if (point < 0) point = static_cast<int>(mantissa.size());
  point += exponent;  // the position of the point within `digits`
  if (point <= 0) {
    digits = "0." + std::string(-point, '0') + digits;
  } else if (point >= static_cast<int>(digits.size())) {
    digits += std::string(point - digits.size(), '0');
  } else {
    digits.insert(point, ".");
  }
  return negative ? "-" + digits : digits;
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

void RenderArray(const SafeArray& array, const std::string& indent, std::string& out);

std::string IndexText(const SafeArray& array, size_t flat) {
  std::vector<int64_t> indexes(array.dimensions());
  for (int d = array.dimensions(); d >= 1; --d) {
    int64_t count = array.bound(d).count();
    indexes[d - 1] = array.bound(d).lower + static_cast<int64_t>(flat % count);
    flat /= count;
  }
  std::string text = "(";
  for (size_t i = 0; i < indexes.size(); ++i) text += (i ? ", " : "") + std::to_string(indexes[i]);
  return text + ")";
}

void RenderArray(const SafeArray& array, const std::string& indent, std::string& out) {
  const auto& elements = array.elements();
  for (size_t i = 0; i < elements.size(); ++i) {
    out += indent + "  " + IndexText(array, i) + " = " + RenderScalar(elements[i]) + "\n";
    if (elements[i].is_array()) RenderArray(elements[i].array(), indent + "  ", out);
  }
}

std::string ArrayHeader(const SafeArray& array) {
  std::string text = std::string(TypeName(array.element_type())) + "(";
  for (int d = 1; d <= array.dimensions(); ++d) {
    const auto& bound = array.bound(d);
    text += (d > 1 ? ", " : "") + std::to_string(bound.lower) + " To " + std::to_string(bound.upper);
  }
  return text + ")";
}

}  // namespace

const char* TypeName(VarType type) { return orvane::Variant::TypeName(type); }

std::string FormatDouble(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  size_t e = text.find('e');
  if (e == std::string::npos || !std::isfinite(value) || std::fabs(value) >= 1e15) return text;
  return ExpandExponent(text.substr(0, e), std::atoi(text.c_str() + e + 1));
}

std::string RenderScalar(const Variant& value) {
  if (value.is_array()) return ArrayHeader(value.array());
  switch (value.type()) {
    case VarType::kBoolean: return value.boolean() ? "Boolean True" : "Boolean False";
    case VarType::kByte: return "Byte " + std::to_string(value.byte());
    case VarType::kInteger: return "Integer " + std::to_string(value.integer());
    case VarType::kLong: return "Long " + std::to_string(value.long_value());
    case VarType::kDouble: return "Double " + FormatDouble(value.double_value());
    case VarType::kString: return "String " + orvane::QuoteBytes(value.string());
    default: return TypeName(value.type());
  }
}

std::string Render(const Variant& value) {
  std::string out = RenderScalar(value) + "\n";
  if (value.is_array()) RenderArray(value.array(), "", out);
  return out;
}

}  // namespace quorvel
