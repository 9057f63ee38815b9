// Formatting and parsing of the property bag text (grammar in the header).
#include "control/property_bag_file.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <unordered_set>

#include "orvane/runtime_errors.h"
#include "runtime/quoted_bytes.h"

namespace orvane {
namespace {

constexpr std::string_view kHeader = "OrvanePropertyBag 1";

// ----- formatting

std::string FormatDouble(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return std::string(buffer, result.ptr);
}

// ----- parsing

// Reads one line's value; every failure throws the message for its line.
class ValueReader {
 public:
  explicit ValueReader(std::string_view text) : rest_(text) {}

  Variant Read() {
    std::string_view type = Word();
    if (type == "Empty" || type == "Null") return Finish(type == "Null" ? Variant::Null() : Variant());
    Expect(" ");
    if (type == "Boolean") return Finish(ReadBoolean());
    if (type == "Byte") return Finish(Variant::Byte(ReadInteger<uint8_t>()));
    if (type == "Integer") return Finish(Variant::Integer(ReadInteger<int16_t>()));
    if (type == "Long") return Finish(Variant::Long(ReadInteger<int32_t>()));
    if (type == "Double") return Finish(Variant::Double(ReadDouble()));
    if (type == "String") return Finish(Variant::String(ReadText()));
    throw std::invalid_argument("unknown type '" + std::string(type) + "'");
  }

 private:
  std::string_view Word() {
    size_t end = rest_.find_first_of(" (");
    std::string_view word = rest_.substr(0, end);
    rest_.remove_prefix(word.size());
    return word;
  }

  void Expect(std::string_view what) {
    if (!rest_.starts_with(what)) throw std::invalid_argument("expected '" + std::string(what) + "'");
    rest_.remove_prefix(what.size());
  }

  Variant Finish(Variant value) {
    if (!rest_.empty()) throw std::invalid_argument("unexpected text after the value: " + std::string(rest_));
    return value;
  }

  Variant ReadBoolean() {
    std::string_view word = Word();
    if (word != "True" && word != "False") throw std::invalid_argument("a Boolean is True or False");
    return Variant::Boolean(word == "True");
  }

  template <typename T>
  T ReadInteger() {
    T value{};
    auto [end, error] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
    if (error == std::errc::result_out_of_range) throw std::invalid_argument("number out of range");
    if (error != std::errc() || end == rest_.data()) throw std::invalid_argument("expected a whole number");
    rest_.remove_prefix(end - rest_.data());
    return value;
  }

  double ReadDouble() {
    double value = 0;
    auto [end, error] = std::from_chars(rest_.data(), rest_.data() + rest_.size(), value);
    if (error != std::errc() || end == rest_.data()) throw std::invalid_argument("expected a number");
    rest_.remove_prefix(end - rest_.data());
    return value;
  }

  std::string ReadText() {
    std::string bytes = ReadPiece();
    while (rest_.starts_with(" & ")) {
      rest_.remove_prefix(3);
      bytes += ReadPiece();
    }
    return bytes;
  }

  std::string ReadPiece() {
    if (rest_.starts_with("Chr(")) {
      rest_.remove_prefix(4);
      char byte = static_cast<char>(ReadInteger<uint8_t>());
      Expect(")");
      return std::string(1, byte);
    }
    Expect("\"");
    std::string bytes;
    for (;;) {
      if (rest_.empty()) throw std::invalid_argument("a string is not closed");
      char c = rest_.front();
      rest_.remove_prefix(1);
      if (c == '"' && !rest_.starts_with("\"")) return bytes;
      if (c == '"') rest_.remove_prefix(1);
      bytes += c;
    }
  }

  std::string_view rest_;
};

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The name as the duplicate check compares it: ASCII letters in lower case.
std::string FoldedName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

// Parses one property line; `seen` holds the folded names of the lines
// before it and receives this one's.
std::pair<std::string, Variant> ParseProperty(std::string_view line, std::unordered_set<std::string>& seen) {
  size_t equals = line.find(" = ");
  if (equals == std::string_view::npos) throw std::invalid_argument("expected NAME = TYPE VALUE");
  std::string_view name = line.substr(0, equals);
  for (char c : name) {
    if (!IsNameChar(c)) throw std::invalid_argument("a property name has letters, digits and '_' only");
  }
  if (name.empty()) throw std::invalid_argument("a property needs a name");
  if (!seen.insert(FoldedName(name)).second) {
    throw std::invalid_argument("property '" + std::string(name) + "' is given twice");
  }
  return {std::string(name), ValueReader(line.substr(equals + 3)).Read()};
}

}  // namespace

bool SamePropertyName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string FormatTypedValue(const Variant& value) {
  if (value.is_array()) RaiseRuntimeError(kErrTypeMismatch);
  switch (value.type()) {
    case VarType::kEmpty: return "Empty";
    case VarType::kNull: return "Null";
    case VarType::kBoolean: return value.boolean() ? "Boolean True" : "Boolean False";
    case VarType::kByte: return "Byte " + std::to_string(value.byte());
    case VarType::kInteger: return "Integer " + std::to_string(value.integer());
    case VarType::kLong: return "Long " + std::to_string(value.long_value());
    case VarType::kDouble: return "Double " + FormatDouble(value.double_value());
    case VarType::kString: return "String " + QuoteBytes(value.string());
    case VarType::kVariant: break;
  }
  RaiseRuntimeError(kErrTypeMismatch);
}

std::string FormatPropertyBag(const PropertyEntries& entries) {
  std::string text = std::string(kHeader) + "\n";
  for (const auto& [name, value] : entries) text += name + " = " + FormatTypedValue(value) + "\n";
  return text;
}

PropertyEntries ParsePropertyBag(std::string_view text, std::vector<int>* lines) {
  PropertyEntries entries;
  std::unordered_set<std::string> seen;
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    ++number;
    if (number == 1 && line != kHeader) {
      throw PropertyBagSyntaxError(1, "expected the header '" + std::string(kHeader) + "'");
    }
    if (number == 1 || line.empty() || line.starts_with('#')) continue;
    try {
      entries.push_back(ParseProperty(line, seen));
      if (lines) lines->push_back(number);
    } catch (const std::invalid_argument& error) {
      throw PropertyBagSyntaxError(number, error.what());
    }
  }
  if (number == 0) throw PropertyBagSyntaxError(1, "expected the header '" + std::string(kHeader) + "'");
  return entries;
}

}  // namespace orvane
