// SafeArray: bounds checking, element storage (last index fastest) and the
// conversion of assigned elements to the element type.
#include <algorithm>

#include "orvane/runtime_errors.h"
#include "orvane/variant.h"

namespace orvane {
namespace {

// The most elements one array may hold; more raises "Out of memory".
constexpr int64_t kMaxElements = int64_t{1} << 24;

bool IsElementType(VarType type) {
  switch (type) {
    case VarType::kVariant:
    case VarType::kInteger:
    case VarType::kLong:
    case VarType::kDouble:
    case VarType::kString:
    case VarType::kBoolean:
    case VarType::kByte:
      return true;
    default:
      return false;
  }
}

int64_t ElementCount(const std::vector<ArrayBound>& bounds) {
  if (bounds.empty() || bounds.size() > 2) RaiseRuntimeError(kErrSubscript);
  int64_t total = 1;
  for (const ArrayBound& b : bounds) {
    total *= b.count();
    if (total > kMaxElements) RaiseRuntimeError(kErrOutOfMemory);
  }
  return total;
}

// The element an array of `type` starts with: Empty for Variant, else the
// type's zero.
Variant ZeroOf(VarType type) { return ConvertTo(Variant(), type); }

}  // namespace

SafeArray::SafeArray(VarType element_type, std::vector<ArrayBound> bounds)
    : element_type_(element_type), bounds_(std::move(bounds)) {
  if (!IsElementType(element_type_)) RaiseRuntimeError(kErrTypeMismatch);
  int64_t count = ElementCount(bounds_);
  elements_.assign(static_cast<size_t>(count), ZeroOf(element_type_));
}

const ArrayBound& SafeArray::bound(int dimension) const {
  if (dimension < 1 || dimension > dimensions()) RaiseRuntimeError(kErrSubscript);
  return bounds_[static_cast<size_t>(dimension - 1)];
}

size_t SafeArray::size() const { return elements_.size(); }

size_t SafeArray::Offset(const int32_t* indexes, size_t count) const {
  if (count != bounds_.size()) RaiseRuntimeError(kErrSubscript);
  int64_t offset = 0;
  for (size_t d = 0; d < count; ++d) {
    const ArrayBound& b = bounds_[d];
    if (indexes[d] < b.lower || indexes[d] > b.upper) RaiseRuntimeError(kErrSubscript);
    offset = offset * b.count() + (int64_t{indexes[d]} - b.lower);
  }
  return static_cast<size_t>(offset);
}

const Variant& SafeArray::at(const std::vector<int32_t>& indexes) const {
  return elements_[Offset(indexes.data(), indexes.size())];
}

void SafeArray::set(const std::vector<int32_t>& indexes, Variant value) {
  Store(Offset(indexes.data(), indexes.size()), std::move(value));
}

void SafeArray::Store(size_t offset, Variant value) {
  elements_[offset] = element_type_ == VarType::kVariant ? std::move(value) : ConvertTo(value, element_type_);
}

// The one- and two-index forms avoid building an index vector: tables of
// tens of thousands of cells are filled through them.
const Variant& SafeArray::at(int32_t i) const { return elements_[Offset(&i, 1)]; }
const Variant& SafeArray::at(int32_t i, int32_t j) const {
  const int32_t indexes[] = {i, j};
  return elements_[Offset(indexes, 2)];
}
void SafeArray::set(int32_t i, Variant value) { Store(Offset(&i, 1), std::move(value)); }
void SafeArray::set(int32_t i, int32_t j, Variant value) {
  const int32_t indexes[] = {i, j};
  Store(Offset(indexes, 2), std::move(value));
}

void SafeArray::ResizeLast(int32_t upper) {
  std::vector<ArrayBound> bounds = bounds_;
  bounds.back().upper = upper;
  std::vector<Variant> elements(static_cast<size_t>(ElementCount(bounds)), ZeroOf(element_type_));
  size_t old_width = static_cast<size_t>(bounds_.back().count());
  size_t new_width = static_cast<size_t>(bounds.back().count());
  size_t rows = old_width == 0 ? 0 : elements_.size() / old_width;
  size_t kept = std::min(old_width, new_width);
  for (size_t r = 0; r < rows; ++r) {
    for (size_t c = 0; c < kept; ++c) elements[r * new_width + c] = std::move(elements_[r * old_width + c]);
  }
  bounds_ = std::move(bounds);
  elements_ = std::move(elements);
}

bool SafeArray::operator==(const SafeArray& other) const {
  return element_type_ == other.element_type_ && bounds_ == other.bounds_ && elements_ == other.elements_;
}

}  // namespace orvane
