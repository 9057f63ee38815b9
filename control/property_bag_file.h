// The text form of a property bag. One property a line, each value with
// its type, so that a value loads back as exactly the value saved:
//
//   file     := "OrvanePropertyBag 1" EOL { line }
//   line     := [ "#" any-text ] EOL          (blank or comment)
//             | name " = " value EOL
//   name     := 1*( letter | digit | "_" )    (unique, ignoring case)
//   value    := "Empty" | "Null" | "Boolean " ( "True" | "False" )
//             | "Byte " 0..255 | "Integer " -32768..32767
//             | "Long " -2147483648..2147483647
//             | "Double " number               (shortest text that reads back)
//             | "String " text
//   text     := piece { " & " piece }
//   piece    := '"' { byte 32..126 other than '"' | '""' } '"'
//             | "Chr(" 0..255 ")"              (any other byte)
//   EOL      := "\n" (a "\r" before it is ignored)
//
// Example:   HKey = Long -2147483646
//            Value = String "a" & Chr(0) & "b"
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvane/variant.h"

namespace orvane {

using PropertyEntries = std::vector<std::pair<std::string, Variant>>;

// A malformed bag text: the 1-based line and what is wrong there.
class PropertyBagSyntaxError : public std::runtime_error {
 public:
  PropertyBagSyntaxError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// The whole file text of `entries`, header first. Raises 13 "Type
// mismatch" for an array value.
std::string FormatPropertyBag(const PropertyEntries& entries);

// The entries of a bag text in file order; PropertyBagSyntaxError for the
// first malformed line. `lines`, when given, receives the 1-based line of
// each entry, in the same order.
PropertyEntries ParsePropertyBag(std::string_view text, std::vector<int>* lines = nullptr);

// One value in its typed text form ("Long 5", "String """"").
std::string FormatTypedValue(const Variant& value);

// True when two property names are the same, ignoring ASCII letter case.
bool SamePropertyName(std::string_view a, std::string_view b);

}  // namespace orvane
