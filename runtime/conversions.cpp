// Conversions between Variant types: to Byte, Integer, Long, Double, String
// and Boolean, the conversion to a parameter's type, and numeric comparison.
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "orvane/runtime_errors.h"
#include "orvane/variant.h"
#include "runtime/number_text.h"

namespace orvane {
namespace {

// An integer type as a conversion target: its range and its width in bits.
struct IntegerType {
  int64_t low;
  int64_t high;
  int bits;
};

constexpr IntegerType kByteType{0, 255, 8};
constexpr IntegerType kIntegerType{std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max(), 16};
constexpr IntegerType kLongType{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 32};

internal::NumberText ReadText(const std::string& text) {
  std::optional<internal::NumberText> number = internal::ParseNumber(text);
  if (!number) RaiseRuntimeError(kErrTypeMismatch);
  return *number;
}

// Any scalar as a Double: Empty 0, Boolean -1/0, text read as a number
// (hexadecimal or octal text as its unsigned value).
double NumericValue(const Variant& value) {
  if (value.is_array()) RaiseRuntimeError(kErrTypeMismatch);
  switch (value.type()) {
    case VarType::kEmpty: return 0;
    case VarType::kNull: RaiseRuntimeError(kErrInvalidUseOfNull);
    case VarType::kBoolean: return value.boolean() ? -1 : 0;
    case VarType::kByte: return value.byte();
    case VarType::kInteger: return value.integer();
    case VarType::kLong: return value.long_value();
    case VarType::kDouble: return value.double_value();
    case VarType::kString: return ReadText(value.string()).value;
    case VarType::kVariant: break;
  }
  RaiseRuntimeError(kErrTypeMismatch);
}

// Rounds half to even ("banker's rounding"): 2.5 -> 2, 3.5 -> 4, -0.5 -> 0.
// Exact for every Double: below 2^52 the difference from the floor is
// representable, and above it every Double is already whole.
double RoundHalfEven(double number) {
  double floor = std::floor(number);
  double rest = number - floor;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2) != 0)) floor += 1;
  return floor;
}

int64_t RoundIntoRange(double number, const IntegerType& type) {
  double whole = RoundHalfEven(number);
  if (!(whole >= static_cast<double>(type.low) && whole <= static_cast<double>(type.high))) {
    RaiseRuntimeError(kErrOverflow);  // also NaN
  }
  return static_cast<int64_t>(whole);
}

// A bit pattern read in the type's width: "&HFFFF" is -1 as an Integer and
// 65535 as a Long; a pattern wider than the type overflows.
int64_t PatternIntoType(uint64_t pattern, const IntegerType& type) {
  if (pattern >> type.bits != 0) RaiseRuntimeError(kErrOverflow);
  auto value = static_cast<int64_t>(pattern);
  if (value > type.high) value -= int64_t{1} << type.bits;  // the top bit of a signed type
  return value;
}

int64_t ToWhole(const Variant& value, const IntegerType& type) {
  if (!value.is_array() && value.type() == VarType::kString) {
    internal::NumberText number = ReadText(value.string());
    return number.is_pattern ? PatternIntoType(number.pattern, type) : RoundIntoRange(number.value, type);
  }
  return RoundIntoRange(NumericValue(value), type);
}

void RequireScalarNotNull(const Variant& value) {
  if (value.is_array()) RaiseRuntimeError(kErrTypeMismatch);
  if (value.is_null()) RaiseRuntimeError(kErrInvalidUseOfNull);
}

}  // namespace

uint8_t ToByte(const Variant& value) {
  // True is the bit pattern -1, which a Byte holds as 255.
  if (!value.is_array() && value.type() == VarType::kBoolean) return value.boolean() ? 255 : 0;
  return static_cast<uint8_t>(ToWhole(value, kByteType));
}

int16_t ToInteger(const Variant& value) { return static_cast<int16_t>(ToWhole(value, kIntegerType)); }

int32_t ToLong(const Variant& value) { return static_cast<int32_t>(ToWhole(value, kLongType)); }

double ToDouble(const Variant& value) { return NumericValue(value); }

std::string ToString(const Variant& value) {
  RequireScalarNotNull(value);
  switch (value.type()) {
    case VarType::kEmpty: return "";
    case VarType::kBoolean: return value.boolean() ? "True" : "False";
    case VarType::kByte: return std::to_string(value.byte());
    case VarType::kInteger: return std::to_string(value.integer());
    case VarType::kLong: return std::to_string(value.long_value());
    case VarType::kDouble: return internal::FormatDouble(value.double_value());
    case VarType::kString: return value.string();
    default: RaiseRuntimeError(kErrTypeMismatch);
  }
}

bool ToBoolean(const Variant& value) {
  RequireScalarNotNull(value);
  if (value.type() == VarType::kString) {
    if (std::optional<bool> word = internal::ParseBooleanWord(value.string())) return *word;
  }
  return NumericValue(value) != 0;
}

Variant ConvertTo(const Variant& value, VarType type) {
  switch (type) {
    case VarType::kEmpty:
    case VarType::kVariant: return value;
    case VarType::kByte: return Variant::Byte(ToByte(value));
    case VarType::kInteger: return Variant::Integer(ToInteger(value));
    case VarType::kLong: return Variant::Long(ToLong(value));
    case VarType::kDouble: return Variant::Double(ToDouble(value));
    case VarType::kString: return Variant::String(ToString(value));
    case VarType::kBoolean: return Variant::Boolean(ToBoolean(value));
    case VarType::kNull: break;
  }
  RaiseRuntimeError(kErrTypeMismatch);
}

int CompareNumeric(const Variant& value, double number) {
  double own = NumericValue(value);
  return own < number ? -1 : own > number ? 1 : 0;
}

}  // namespace orvane
