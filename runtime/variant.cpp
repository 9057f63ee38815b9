// The Variant value itself: construction, deep copy, raw access, equality.
#include "orvane/variant.h"

#include "orvane/runtime_errors.h"

namespace orvane {
Variant::Variant() = default;

Variant::Variant(const Variant& other)
    : type_(other.type_),
      integral_(other.integral_),
      double_(other.double_),
      string_(other.string_),
      array_(other.array_ ? std::make_unique<SafeArray>(*other.array_) : nullptr) {}

Variant::Variant(Variant&& other) noexcept
    : type_(other.type_),
      integral_(other.integral_),
      double_(other.double_),
      string_(std::move(other.string_)),
      array_(std::move(other.array_)) {
  other.type_ = VarType::kEmpty;
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) *this = Variant(other);
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this == &other) return *this;
  type_ = other.type_;
  integral_ = other.integral_;
  double_ = other.double_;
  string_ = std::move(other.string_);
  array_ = std::move(other.array_);
  other.type_ = VarType::kEmpty;
  return *this;
}

Variant::~Variant() = default;

Variant Variant::Null() {
  Variant v;
  v.type_ = VarType::kNull;
  return v;
}

Variant Variant::Boolean(bool value) { return Integral(VarType::kBoolean, value ? -1 : 0); }
Variant Variant::Byte(uint8_t value) { return Integral(VarType::kByte, value); }
Variant Variant::Integer(int16_t value) { return Integral(VarType::kInteger, value); }
Variant Variant::Long(int32_t value) { return Integral(VarType::kLong, value); }

Variant Variant::Double(double value) {
  Variant v;
  v.type_ = VarType::kDouble;
  v.double_ = value;
  return v;
}

Variant Variant::String(std::string value) {
  Variant v;
  v.type_ = VarType::kString;
  v.string_ = std::move(value);
  return v;
}

Variant Variant::Array(SafeArray array) {
  Variant v;
  v.type_ = array.element_type();
  v.array_ = std::make_unique<SafeArray>(std::move(array));
  return v;
}

bool Variant::is_numeric() const {
  if (array_) return false;
  switch (type_) {
    case VarType::kBoolean:
    case VarType::kByte:
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kDouble:
      return true;
    default:
      return false;
  }
}

namespace {

void Require(bool matches) {
  if (!matches) RaiseRuntimeError(kErrTypeMismatch);
}

}  // namespace

bool Variant::boolean() const {
  Require(!array_ && type_ == VarType::kBoolean);
  return integral_ != 0;
}

uint8_t Variant::byte() const {
  Require(!array_ && type_ == VarType::kByte);
  return static_cast<uint8_t>(integral_);
}

int16_t Variant::integer() const {
  Require(!array_ && type_ == VarType::kInteger);
  return static_cast<int16_t>(integral_);
}

int32_t Variant::long_value() const {
  Require(!array_ && type_ == VarType::kLong);
  return static_cast<int32_t>(integral_);
}

double Variant::double_value() const {
  Require(!array_ && type_ == VarType::kDouble);
  return double_;
}

const std::string& Variant::string() const {
  Require(!array_ && type_ == VarType::kString);
  return string_;
}

const SafeArray& Variant::array() const {
  Require(array_ != nullptr);
  return *array_;
}

SafeArray& Variant::array() {
  Require(array_ != nullptr);
  return *array_;
}

bool Variant::operator==(const Variant& other) const {
  if (type_ != other.type_ || is_array() != other.is_array()) return false;
  if (array_) return *array_ == *other.array_;
  switch (type_) {
    case VarType::kDouble:
      return double_ == other.double_;
    case VarType::kString:
      return string_ == other.string_;
    default:
      return integral_ == other.integral_;
  }
}

const char* Variant::TypeName(VarType type) {
  switch (type) {
    case VarType::kEmpty: return "Empty";
    case VarType::kNull: return "Null";
    case VarType::kInteger: return "Integer";
    case VarType::kLong: return "Long";
    case VarType::kDouble: return "Double";
    case VarType::kString: return "String";
    case VarType::kBoolean: return "Boolean";
    case VarType::kVariant: return "Variant";
    case VarType::kByte: return "Byte";
  }
  return "Unknown";
}

Variant Variant::Integral(VarType type, int64_t value) {
  Variant v;
  v.type_ = type;
  v.integral_ = value;
  return v;
}

}  // namespace orvane
