// Variant: the closed tagged value that crosses the control's interface.
// Scalars (Empty, Null, Boolean, Byte, Integer, Long, Double, String) and
// arrays of Variant or of one scalar type (Long above all) with one or two
// dimensions and any lower bounds. A Variant owns its contents; copies are deep.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

// Type tags, numbered as the automation VARTYPE values they stand for.
enum class VarType : uint16_t {
  kEmpty = 0,
  kNull = 1,
  kInteger = 2,   // 16-bit signed
  kLong = 3,      // 32-bit signed
  kDouble = 5,
  kString = 8,    // bytes (the control is ANSI)
  kBoolean = 11,  // -1 true, 0 false
  kVariant = 12,  // only as an array element type or a parameter type
  kByte = 17,
};

struct ArrayBound {
  int32_t lower = 0;
  int32_t upper = -1;  // upper < lower: no elements in this dimension
  int64_t count() const { return upper < lower ? 0 : int64_t{upper} - lower + 1; }
  bool operator==(const ArrayBound&) const = default;
};

class SafeArray;

class Variant {
 public:
  Variant();  // Empty
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  static Variant Null();
  static Variant Boolean(bool value);
  static Variant Byte(uint8_t value);
  static Variant Integer(int16_t value);
  static Variant Long(int32_t value);
  static Variant Double(double value);
  static Variant String(std::string value);
  static Variant Array(SafeArray array);

  VarType type() const { return type_; }  // for arrays: the element type
  bool is_array() const { return array_ != nullptr; }
  bool is_empty() const { return type_ == VarType::kEmpty && !array_; }
  bool is_null() const { return type_ == VarType::kNull; }
  bool is_numeric() const;  // a scalar Boolean, Byte, Integer, Long or Double

  // Raw accessors; each requires the matching scalar type (or an array for
  // array()) and raises 13 "Type mismatch" otherwise. They never convert.
  bool boolean() const;
  uint8_t byte() const;
  int16_t integer() const;
  int32_t long_value() const;
  double double_value() const;
  const std::string& string() const;
  const SafeArray& array() const;
  SafeArray& array();

  // Same type and same contents (arrays: same element type, bounds and
  // elements). No conversion: Long 1 differs from Integer 1.
  bool operator==(const Variant& other) const;

  // Name of the type as a host runtime spells it: "Empty", "Long", ...;
  // kVariant is "Variant".
  static const char* TypeName(VarType type);

 private:
  static Variant Integral(VarType type, int64_t value);

  VarType type_ = VarType::kEmpty;
  int64_t integral_ = 0;  // Boolean (-1/0), Byte, Integer, Long
  double double_ = 0;
  std::string string_;
  std::unique_ptr<SafeArray> array_;
};

// A 1-D or 2-D array. Elements are stored with the last index fastest.
// An array of a scalar type (Long, String, ...) holds Variants of that type
// only: every element starts as that type's zero ("" for String) and
// assigning converts (and may raise Overflow or Type mismatch). An array of
// Variant starts with Empty elements and stores what it is given.
class SafeArray {
 public:
  // Raises 9 for a dimension count other than 1 or 2 and 7 "Out of memory"
  // for more elements than an array may hold; 13 for an element type that is
  // neither kVariant nor a scalar type.
  SafeArray(VarType element_type, std::vector<ArrayBound> bounds);

  VarType element_type() const { return element_type_; }
  int dimensions() const { return static_cast<int>(bounds_.size()); }
  const ArrayBound& bound(int dimension) const;  // dimension from 1; raises 9
  int32_t lower(int dimension = 1) const { return bound(dimension).lower; }
  int32_t upper(int dimension = 1) const { return bound(dimension).upper; }
  size_t size() const;

  // Element access by indexes (one per dimension); raises 9 when an index
  // is outside its bounds or the count of indexes is wrong.
  const Variant& at(const std::vector<int32_t>& indexes) const;
  void set(const std::vector<int32_t>& indexes, Variant value);
  const Variant& at(int32_t i) const;
  const Variant& at(int32_t i, int32_t j) const;
  void set(int32_t i, Variant value);
  void set(int32_t i, int32_t j, Variant value);

  // Changes the upper bound of the last dimension, keeping every element
  // whose indexes are still inside the bounds; new elements start as the
  // element type's zero. Raises 9 like the constructor.
  void ResizeLast(int32_t upper);

  // Flat access in storage order (last index fastest).
  const std::vector<Variant>& elements() const { return elements_; }

  bool operator==(const SafeArray& other) const;

 private:
  size_t Offset(const int32_t* indexes, size_t count) const;  // raises 9 out of bounds
  void Store(size_t offset, Variant value);                   // converts to the element type

  VarType element_type_;
  std::vector<ArrayBound> bounds_;
  std::vector<Variant> elements_;
};

// Conversions as a Visual-Basic-style runtime makes them. Numbers round half
// to even; out of range raises 6 "Overflow"; text that is not a number, or
// an array, raises 13 "Type mismatch"; Null raises 94 "Invalid use of Null";
// Empty converts to 0, "" and False. Text is read as a number with optional
// blanks around it, an optional sign, a decimal point and an exponent, or as
// "&H" hexadecimal / "&O" octal digits: a bit pattern read in the width of
// the target type ("&HFFFF" is Integer -1 but Long 65535, "&HFFFFFFFF" is
// Long -1; wider than the type overflows; as a Double, its unsigned value).
// Boolean True converts to -1, except to Byte, where it is 255.
uint8_t ToByte(const Variant& value);
int16_t ToInteger(const Variant& value);
int32_t ToLong(const Variant& value);
double ToDouble(const Variant& value);
std::string ToString(const Variant& value);  // Double: up to 15 significant digits
bool ToBoolean(const Variant& value);         // also reads "True"/"False" text

// Converts to the given type: kString, kLong, kInteger, kByte, kBoolean,
// kDouble give a scalar of that type (Empty becomes that type's zero);
// kVariant (and kEmpty) keep the value as it is. Arrays convert only to
// kVariant (13 otherwise).
Variant ConvertTo(const Variant& value, VarType type);

// Numeric comparison of a Variant with a number: -1, 0 or 1. Text is read
// as a number (13 when it is not one); Empty counts as 0; Null raises 94.
int CompareNumeric(const Variant& value, double number);

// A readable form for diagnostics and test output: Long(5), String("a"),
// Array<Long>(0 To 1){Long(1), Long(2)}.
std::string DebugText(const Variant& value);
std::ostream& operator<<(std::ostream& out, const Variant& value);

}  // namespace orvane
