// The builtin functions and operators of the script language, computed on
// Variants the way a Visual-Basic-style runtime does: Array, Table, LBound,
// UBound, Chr, the C* conversions, "&" and unary minus; ProgressBar and
// ProgressLog reach the host's progress-bar windows. Failures raise
// orvane::Error with the runtime's standard numbers.
#pragma once

#include <string_view>
#include <vector>

#include "orvane/variant.h"

namespace quorvel {

using BuiltinArgs = std::vector<orvane::Variant>;

struct Builtin {
  std::string_view name;
  int min_args;
  int max_args;  // -1: any number
  orvane::Variant (*eval)(const BuiltinArgs& args);
};

// The builtin of that name (any letter case), or nullptr.
const Builtin* FindBuiltin(std::string_view name);

// The names of every builtin, in table order.
std::vector<std::string_view> BuiltinNames();

// a & b: both as text; Null counts as "" unless both are Null (then Null).
orvane::Variant Concat(const orvane::Variant& a, const orvane::Variant& b);

// -a: Boolean and Byte become Integer, a result that leaves its type widens
// (Integer to Long, Long to Double), text is read as a Double, Empty is
// Integer 0, Null stays Null; an array raises 13.
orvane::Variant Negate(const orvane::Variant& a);

}  // namespace quorvel
