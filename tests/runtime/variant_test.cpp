// The Variant value: raw accessors that never convert, equality by type
// and value, and the readable form used in test output.
#include <gtest/gtest.h>

#include "orvane/runtime_errors.h"
#include "orvane/variant.h"
#include "tests/runtime/raised.h"

namespace orvane {
namespace {

using testing::Raised;

TEST(Variant, ScalarsKeepTheirTypeAndBytes) {
  EXPECT_TRUE(Variant().is_empty());
  EXPECT_FALSE(Variant::Null().is_empty());
  EXPECT_TRUE(Variant::Boolean(true).boolean());
  EXPECT_EQ(ToLong(Variant::Boolean(true)), -1);
  EXPECT_EQ(Variant::Integer(-32768).integer(), -32768);
  EXPECT_EQ(Variant::String(std::string("\xff\0z", 3)).string(), std::string("\xff\0z", 3));
  EXPECT_TRUE(Variant::Boolean(false).is_numeric());
  EXPECT_FALSE(Variant::String("1").is_numeric());
  EXPECT_FALSE(Variant().is_numeric());
  EXPECT_FALSE(Variant::Array(SafeArray(VarType::kLong, {{0, 1}})).is_numeric());
}

TEST(Variant, RawAccessorsNeverConvert) {
  EXPECT_EQ(Raised([] { Variant::Integer(1).long_value(); }), kErrTypeMismatch);
  EXPECT_EQ(Raised([] { Variant::Long(1).string(); }), kErrTypeMismatch);
  EXPECT_EQ(Raised([] { Variant::String("1").double_value(); }), kErrTypeMismatch);
  EXPECT_EQ(Raised([] { Variant().boolean(); }), kErrTypeMismatch);
  EXPECT_EQ(Raised([] { Variant::Long(1).array(); }), kErrTypeMismatch);
  Variant array = Variant::Array(SafeArray(VarType::kLong, {{0, 1}}));
  EXPECT_EQ(array.type(), VarType::kLong);
  EXPECT_EQ(Raised([&] { array.long_value(); }), kErrTypeMismatch);
}

TEST(Variant, EqualityComparesTypeAndValue) {
  EXPECT_EQ(Variant::Long(1), Variant::Long(1));
  EXPECT_FALSE(Variant::Long(1) == Variant::Integer(1));
  EXPECT_FALSE(Variant::Long(1) == Variant::Double(1));
  EXPECT_FALSE(Variant() == Variant::Null());
  EXPECT_FALSE(Variant::String("a") == Variant::String("A"));
  Variant longs = Variant::Array(SafeArray(VarType::kLong, {{0, 1}}));
  Variant variants = Variant::Array(SafeArray(VarType::kVariant, {{0, 1}}));
  Variant shifted = Variant::Array(SafeArray(VarType::kLong, {{1, 2}}));
  EXPECT_FALSE(longs == variants);
  EXPECT_FALSE(longs == shifted);
  EXPECT_FALSE(longs == Variant::Long(0));
}

TEST(Variant, DebugTextShowsTypesBoundsAndElements) {
  SafeArray table(VarType::kVariant, {{5, 5}, {0, 2}});
  table.set(5, 0, Variant::String("Name \"q\""));
  table.set(5, 1, Variant::Double(1.5));
  table.set(5, 2, Variant::Boolean(true));
  EXPECT_EQ(DebugText(Variant::Array(table)),
            "Array<Variant>(5 To 5, 0 To 2){String(\"Name \\\"q\\\"\"), Double(1.5), Boolean(True)}");
  EXPECT_EQ(DebugText(Variant::Array(SafeArray(VarType::kLong, {{0, 1}}))), "Array<Long>(0 To 1){Long(0), Long(0)}");
  EXPECT_EQ(DebugText(Variant::Null()), "Null");
  EXPECT_EQ(DebugText(Variant::Byte(7)), "Byte(7)");
}

}  // namespace
}  // namespace orvane
