// Arrays: any lower bounds, bounds checks (9), storage order, element
// conversion in typed arrays, resizing the last dimension, deep copies.
#include <gtest/gtest.h>

#include "orvane/runtime_errors.h"
#include "orvane/variant.h"
#include "tests/runtime/raised.h"

namespace orvane {
namespace {

using testing::Raised;

TEST(SafeArray, OneDimensionWithNegativeLowerBound) {
  SafeArray array(VarType::kVariant, {{-2, 2}});
  EXPECT_EQ(array.size(), 5u);
  EXPECT_EQ(array.lower(), -2);
  EXPECT_EQ(array.upper(), 2);
  array.set(-2, Variant::String("first"));
  array.set(2, Variant::Long(9));
  EXPECT_EQ(array.at(-2), Variant::String("first"));
  EXPECT_EQ(array.at(2), Variant::Long(9));
  EXPECT_TRUE(array.at(0).is_empty());
  EXPECT_EQ(Raised([&] { array.at(-3); }), kErrSubscript);
  EXPECT_EQ(Raised([&] { array.at(3); }), kErrSubscript);
  EXPECT_EQ(Raised([&] { array.set(3, Variant()); }), kErrSubscript);
}

TEST(SafeArray, ValueTableRowsFiveToSevenStoredLastIndexFastest) {
  SafeArray table(VarType::kVariant, {{5, 7}, {0, 2}});
  EXPECT_EQ(table.size(), 9u);
  for (int32_t row = 5; row <= 7; ++row) {
    for (int32_t column = 0; column <= 2; ++column) table.set(row, column, Variant::Long(row * 10 + column));
  }
  EXPECT_EQ(table.at(7, 2), Variant::Long(72));
  EXPECT_EQ(table.at(std::vector<int32_t>{6, 1}), Variant::Long(61));
  EXPECT_EQ(table.elements()[1], Variant::Long(51));
  EXPECT_EQ(table.elements()[3], Variant::Long(60));
  EXPECT_EQ(Raised([&] { table.at(4, 0); }), kErrSubscript);
  EXPECT_EQ(Raised([&] { table.at(8, 0); }), kErrSubscript);
  EXPECT_EQ(Raised([&] { table.at(5, 3); }), kErrSubscript);
  EXPECT_EQ(Raised([&] { table.at(5, -1); }), kErrSubscript);
}

TEST(SafeArray, WrongIndexCountOrDimensionIsSubscriptError) {
  SafeArray table(VarType::kVariant, {{0, 1}, {0, 1}});
  EXPECT_EQ(Raised([&] { table.at(0); }), kErrSubscript);
  EXPECT_EQ(Raised([&] { table.at(std::vector<int32_t>{0, 0, 0}); }), kErrSubscript);
  EXPECT_EQ(Raised([&] { table.bound(0); }), kErrSubscript);
  EXPECT_EQ(Raised([&] { table.bound(3); }), kErrSubscript);
  SafeArray list(VarType::kVariant, {{0, 1}});
  EXPECT_EQ(Raised([&] { list.at(0, 0); }), kErrSubscript);
}

TEST(SafeArray, ConstructionLimits) {
  EXPECT_EQ(Raised([] { SafeArray(VarType::kVariant, {}); }), kErrSubscript);
  EXPECT_EQ(Raised([] { SafeArray(VarType::kVariant, {{0, 1}, {0, 1}, {0, 1}}); }), kErrSubscript);
  EXPECT_EQ(Raised([] { SafeArray(VarType::kNull, {{0, 1}}); }), kErrTypeMismatch);
  EXPECT_EQ(Raised([] { SafeArray(VarType::kVariant, {{0, 1 << 30}, {0, 1 << 30}}); }), kErrOutOfMemory);
  SafeArray none(VarType::kLong, {{0, -1}});
  EXPECT_EQ(none.size(), 0u);
  EXPECT_EQ(Raised([&] { none.at(0); }), kErrSubscript);
}

TEST(SafeArray, LongArrayConvertsAssignedElements) {
  SafeArray counts(VarType::kLong, {{0, 1}});
  EXPECT_EQ(counts.at(0), Variant::Long(0));
  counts.set(0, Variant::String("12"));
  counts.set(1, Variant::Double(2.5));
  EXPECT_EQ(counts.at(0), Variant::Long(12));
  EXPECT_EQ(counts.at(1), Variant::Long(2));
  EXPECT_EQ(Raised([&] { counts.set(0, Variant::Double(2147483647.5)); }), kErrOverflow);
  EXPECT_EQ(Raised([&] { counts.set(0, Variant::String("many")); }), kErrTypeMismatch);
  EXPECT_EQ(Raised([&] { counts.set(0, Variant::Null()); }), kErrInvalidUseOfNull);
  EXPECT_EQ(counts.at(0), Variant::Long(12)) << "a failed assignment leaves the element";
  SafeArray names(VarType::kString, {{0, 0}, {0, 2}});
  EXPECT_EQ(names.at(0, 1), Variant::String(""));
  names.set(0, 0, Variant::Long(-2147483646));
  EXPECT_EQ(names.at(0, 0), Variant::String("-2147483646"));
}

TEST(SafeArray, ResizeLastKeepsElementsInsideTheNewBounds) {
  SafeArray table(VarType::kVariant, {{0, 4}, {1, 1}});
  table.set(0, 1, Variant::String("a"));
  table.set(4, 1, Variant::String("e"));
  table.ResizeLast(3);
  EXPECT_EQ(table.upper(2), 3);
  EXPECT_EQ(table.at(0, 1), Variant::String("a"));
  EXPECT_EQ(table.at(4, 1), Variant::String("e"));
  EXPECT_TRUE(table.at(4, 3).is_empty());
  table.set(2, 3, Variant::Long(1));
  table.ResizeLast(2);
  EXPECT_EQ(table.at(4, 1), Variant::String("e"));
  EXPECT_EQ(Raised([&] { table.at(2, 3); }), kErrSubscript);
  SafeArray counts(VarType::kLong, {{0, 0}});
  counts.ResizeLast(1);
  EXPECT_EQ(counts.at(1), Variant::Long(0));
}

TEST(SafeArray, VariantHoldingAnArrayIsCopiedDeeply) {
  SafeArray list(VarType::kVariant, {{1, 2}});
  list.set(1, Variant::String("x"));
  Variant original = Variant::Array(std::move(list));
  EXPECT_TRUE(original.is_array());
  EXPECT_FALSE(original.is_empty());
  EXPECT_EQ(original.type(), VarType::kVariant);
  Variant copy = original;
  copy.array().set(1, Variant::String("changed"));
  EXPECT_EQ(original.array().at(1), Variant::String("x"));
  EXPECT_FALSE(copy == original);
  Variant assigned;
  assigned = original;
  EXPECT_EQ(assigned, original);
  Variant moved = std::move(copy);
  EXPECT_TRUE(copy.is_empty());  // NOLINT(bugprone-use-after-move): moved-from is Empty
  EXPECT_EQ(moved.array().at(1), Variant::String("changed"));
}

}  // namespace
}  // namespace orvane
