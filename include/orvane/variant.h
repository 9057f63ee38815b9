// Variant: the closed tagged value that crosses the control's interface.
// Scalars (Empty, Null, Boolean, Byte, Integer, Long, Double, String) and
// arrays of Variant or of Long with one or two dimensions and any lower
// bounds. A Variant owns its contents; copies are deep.
#pragma once

#include <cstdint>
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
  kVariant = 12,  // only as an array element type
  kByte = 17,
};

struct ArrayBound {
  int32_t lower = 0;
  int32_t upper = -1;  // upper < lower: no elements in this dimension
  int64_t count() const { return upper < lower ? 0 : int64_t{upper} - lower + 1; }
};

class Variant;

// A 1-D or 2-D array. Elements are stored with the last index fastest.
// An array of Long holds Variants of type Long only: assigning an element
// converts it (and may raise Overflow or Type mismatch).
class SafeArray {
 public:
  SafeArray(VarType element_type, std::vector<ArrayBound> bounds);

  VarType element_type() const { return element_type_; }
  int dimensions() const { return static_cast<int>(bounds_.size()); }
  const ArrayBound& bound(int dimension) const;  // dimension from 1; raises 9
  size_t size() const { return elements_.size(); }

  // Element access by indexes (one per dimension); raises 9 when an index
  // is outside its bounds or the count of indexes is wrong.
  const Variant& at(const std::vector<int32_t>& indexes) const;
  void set(const std::vector<int32_t>& indexes, Variant value);
  const Variant& at(int32_t i) const;
  const Variant& at(int32_t i, int32_t j) const;

  // Flat access in storage order (last index fastest).
  const std::vector<Variant>& elements() const { return elements_; }

 private:
  size_t Offset(const std::vector<int32_t>& indexes) const;

  VarType element_type_;
  std::vector<ArrayBound> bounds_;
  std::vector<Variant> elements_;
};

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
  bool is_numeric() const;  // Boolean, Byte, Integer, Long, Double

  // Raw accessors; each requires the matching type (asserted).
  bool boolean() const;
  uint8_t byte() const;
  int16_t integer() const;
  int32_t long_value() const;
  double double_value() const;
  const std::string& string() const;
  const SafeArray& array() const;
  SafeArray& array();

  // Name of the type as a host runtime spells it: "Empty", "Long", ...
  static const char* TypeName(VarType type);

 private:
  VarType type_ = VarType::kEmpty;
  union {
    int64_t integral_;
    double double_;
  };
  std::string string_;
  std::unique_ptr<SafeArray> array_;
};

// Conversions as a Visual-Basic-style runtime makes them. Numbers round half
// to even; out of range raises 6 "Overflow"; text that is not a number, or
// an array, raises 13 "Type mismatch"; Null raises 94 "Invalid use of Null".
uint8_t ToByte(const Variant& value);
int16_t ToInteger(const Variant& value);
int32_t ToLong(const Variant& value);
double ToDouble(const Variant& value);
std::string ToString(const Variant& value);
bool ToBoolean(const Variant& value);

// Converts to the given scalar type (Empty keeps Empty, Variant keeps the value).
Variant ConvertTo(const Variant& value, VarType type);

// Numeric comparison of a Variant with a number: -1, 0 or 1. Text is read
// as a number (13 when it is not one); Empty counts as 0.
int CompareNumeric(const Variant& value, double number);

}  // namespace orvane
