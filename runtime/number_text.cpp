// Number text: the reader of numeric text and the writer of Doubles.
#include "runtime/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "orvane/runtime_errors.h"

namespace orvane::internal {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Takes the run of decimal digits at the front of `text`.
std::string_view TakeDigits(std::string_view& text) {
  size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) ++n;
  std::string_view digits = text.substr(0, n);
  text.remove_prefix(n);
  return digits;
}

bool TakeChar(std::string_view& text, char lower) {
  if (text.empty() || std::tolower(static_cast<unsigned char>(text.front())) != lower) return false;
  text.remove_prefix(1);
  return true;
}

// Takes an optional sign; true when it was '-'.
bool TakeSign(std::string_view& text) {
  if (TakeChar(text, '-')) return true;
  TakeChar(text, '+');
  return false;
}

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  int lower = std::tolower(static_cast<unsigned char>(c));
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : 99;
}

// "&H..." or "&O..." (after the '&'): the bit pattern of the digits.
std::optional<NumberText> ParseRadix(std::string_view text) {
  int base = TakeChar(text, 'h') ? 16 : TakeChar(text, 'o') ? 8 : 0;
  if (base == 0 || text.empty()) return std::nullopt;
  uint64_t pattern = 0;
  for (char c : text) {
    int digit = DigitValue(c);
    if (digit >= base) return std::nullopt;
    auto [base64, digit64] = std::pair<uint64_t, uint64_t>(base, digit);
    if (pattern > (std::numeric_limits<uint64_t>::max() - digit64) / base64) RaiseRuntimeError(kErrOverflow);
    pattern = pattern * base64 + digit64;
  }
  return NumberText{static_cast<double>(pattern), true, pattern};
}

// The pieces of decimal text: [-]whole[.fraction][e[-]exponent].
struct DecimalParts {
  bool negative = false;
  std::string_view whole;
  std::string_view fraction;
  bool negative_exponent = false;
  std::string_view exponent;
};

std::optional<DecimalParts> ScanDecimal(std::string_view text) {
  DecimalParts parts;
  parts.negative = TakeSign(text);
  parts.whole = TakeDigits(text);
  if (TakeChar(text, '.')) parts.fraction = TakeDigits(text);
  if (parts.whole.empty() && parts.fraction.empty()) return std::nullopt;
  if (TakeChar(text, 'e')) {
    parts.negative_exponent = TakeSign(text);
    parts.exponent = TakeDigits(text);
    if (parts.exponent.empty()) return std::nullopt;
  }
  if (!text.empty()) return std::nullopt;
  return parts;
}

// The decimal exponent as a saturated integer.
int64_t ExponentValue(const DecimalParts& parts) {
  int64_t value = 0;
  for (char c : parts.exponent) value = std::min<int64_t>(value * 10 + (c - '0'), int64_t{1} << 40);
  return parts.negative_exponent ? -value : value;
}

// Whether a number out of a Double's range is too large (rather than too
// small): the position of its first significant digit relative to the
// decimal point, plus the exponent, is positive.
bool IsTooLarge(const DecimalParts& parts) {
  size_t lead = parts.whole.find_first_not_of('0');
  if (lead != std::string_view::npos) {
    return static_cast<int64_t>(parts.whole.size() - lead) + ExponentValue(parts) > 0;
  }
  size_t zeros = parts.fraction.find_first_not_of('0');
  if (zeros == std::string_view::npos) return false;
  return ExponentValue(parts) - static_cast<int64_t>(zeros) > 0;
}

std::string Or(std::string_view digits, const char* otherwise) {
  return digits.empty() ? otherwise : std::string(digits);
}

std::optional<NumberText> ParseDecimal(std::string_view text) {
  std::optional<DecimalParts> parts = ScanDecimal(text);
  if (!parts) return std::nullopt;
  std::string normal = std::string(parts->negative ? "-" : "") + Or(parts->whole, "0") + "." +
                       Or(parts->fraction, "0") + "e" + (parts->negative_exponent ? "-" : "") +
                       Or(parts->exponent, "0");
  double value = 0;
  auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec == std::errc() && end == normal.data() + normal.size() && std::isfinite(value)) return NumberText{value};
  if (IsTooLarge(*parts)) RaiseRuntimeError(kErrOverflow);
  return NumberText{0.0};
}

}  // namespace

std::optional<NumberText> ParseNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '&') return ParseRadix(text.substr(1));
  return ParseDecimal(text);
}

std::optional<bool> ParseBooleanWord(std::string_view text) {
  text = TrimBlanks(text);
  auto equals = [text](std::string_view word) {
    if (text.size() != word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    }
    return true;
  };
  if (equals("true")) return true;
  if (equals("false")) return false;
  return std::nullopt;
}

std::string FormatDouble(double value) {
  if (std::isnan(value)) return "-1.#IND";
  if (std::isinf(value)) return value > 0 ? "1.#INF" : "-1.#INF";
  if (value == 0) return "0";
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, ec == std::errc() ? end : buffer);
  for (char& c : text) {
    if (c == 'e') c = 'E';
  }
  return text;
}

}  // namespace orvane::internal
