// Numeric conversions: rounding half to even, the range of each integer
// type after rounding, Empty/Null/array/Boolean operands, conversion to a
// parameter's type and numeric comparison.
#include <gtest/gtest.h>

#include <limits>

#include "orvane/runtime_errors.h"
#include "orvane/variant.h"
#include "tests/runtime/raised.h"

namespace orvane {
namespace {

using testing::Raised;

Variant D(double value) { return Variant::Double(value); }

Variant LongArray() { return Variant::Array(SafeArray(VarType::kLong, {{0, 1}})); }

TEST(Conversion, NarrowingRoundsHalfToEven) {
  EXPECT_EQ(ToInteger(D(2.5)), 2);
  EXPECT_EQ(ToInteger(D(3.5)), 4);
  EXPECT_EQ(ToInteger(D(-2.5)), -2);
  EXPECT_EQ(ToInteger(D(-3.5)), -4);
  EXPECT_EQ(ToLong(D(0.5)), 0);
  EXPECT_EQ(ToLong(D(1.5)), 2);
  EXPECT_EQ(ToLong(D(2.4999999)), 2);
  EXPECT_EQ(ToLong(D(2.5000001)), 3);
  EXPECT_EQ(ToLong(D(-0.4)), 0);
  EXPECT_EQ(ToByte(D(-0.5)), 0);
  EXPECT_EQ(ToByte(D(254.5)), 254);
}

TEST(Conversion, ByteRangeIsCheckedAfterRounding) {
  EXPECT_EQ(ToByte(D(255.49)), 255);
  EXPECT_EQ(Raised([] { ToByte(D(255.5)); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToByte(D(-0.51)); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToByte(Variant::Integer(-1)); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToByte(Variant::Long(256)); }), kErrOverflow);
  EXPECT_EQ(ToByte(Variant::Long(255)), 255);
}

TEST(Conversion, IntegerRangeIsCheckedAfterRounding) {
  EXPECT_EQ(ToInteger(D(32766.5)), 32766);
  EXPECT_EQ(ToInteger(D(-32768.5)), -32768);
  EXPECT_EQ(Raised([] { ToInteger(D(32767.5)); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToInteger(D(-32769)); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToInteger(Variant::Long(32768)); }), kErrOverflow);
  EXPECT_EQ(ToInteger(Variant::Long(-32768)), -32768);
}

TEST(Conversion, LongRangeIsCheckedAfterRounding) {
  EXPECT_EQ(ToLong(D(2147483646.5)), 2147483646);
  EXPECT_EQ(ToLong(D(-2147483648.5)), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(Raised([] { ToLong(D(2147483647.5)); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToLong(D(-2147483649.0)); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToLong(D(1e300)); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToLong(D(std::numeric_limits<double>::quiet_NaN())); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToLong(D(-std::numeric_limits<double>::infinity())); }), kErrOverflow);
}

TEST(Conversion, EmptyIsZeroAndNullIsInvalidUse) {
  EXPECT_EQ(ToByte(Variant()), 0);
  EXPECT_EQ(ToLong(Variant()), 0);
  EXPECT_EQ(ToDouble(Variant()), 0.0);
  EXPECT_EQ(ToString(Variant()), "");
  EXPECT_FALSE(ToBoolean(Variant()));
  for (auto convert : {+[](const Variant& v) { ToByte(v); }, +[](const Variant& v) { ToInteger(v); },
                       +[](const Variant& v) { ToLong(v); }, +[](const Variant& v) { ToDouble(v); },
                       +[](const Variant& v) { ToString(v); }, +[](const Variant& v) { ToBoolean(v); }}) {
    EXPECT_EQ(Raised([&] { convert(Variant::Null()); }), kErrInvalidUseOfNull);
    EXPECT_EQ(Raised([&] { convert(LongArray()); }), kErrTypeMismatch);
  }
}

TEST(Conversion, BooleansAreMinusOneAndZero) {
  EXPECT_EQ(ToLong(Variant::Boolean(true)), -1);
  EXPECT_EQ(ToInteger(Variant::Boolean(false)), 0);
  EXPECT_EQ(ToDouble(Variant::Boolean(true)), -1.0);
  EXPECT_EQ(ToByte(Variant::Boolean(true)), 255);  // the bit pattern of -1
  EXPECT_EQ(ToByte(Variant::Boolean(false)), 0);
  EXPECT_TRUE(ToBoolean(D(0.1)));
  EXPECT_TRUE(ToBoolean(Variant::Long(-7)));
  EXPECT_FALSE(ToBoolean(Variant::Byte(0)));
}

TEST(Conversion, ConvertToGivesTheParameterType) {
  EXPECT_EQ(ConvertTo(Variant::String(" 12 "), VarType::kLong), Variant::Long(12));
  EXPECT_EQ(ConvertTo(Variant::Long(5), VarType::kString), Variant::String("5"));
  EXPECT_EQ(ConvertTo(Variant(), VarType::kInteger), Variant::Integer(0));
  EXPECT_EQ(ConvertTo(Variant(), VarType::kString), Variant::String(""));
  EXPECT_EQ(ConvertTo(Variant::Long(5), VarType::kBoolean), Variant::Boolean(true));
  EXPECT_EQ(ConvertTo(Variant::Integer(7), VarType::kDouble), D(7));
  EXPECT_EQ(ConvertTo(D(2.5), VarType::kByte), Variant::Byte(2));
  EXPECT_EQ(Raised([] { ConvertTo(Variant::String("300"), VarType::kByte); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ConvertTo(Variant::Null(), VarType::kString); }), kErrInvalidUseOfNull);
  EXPECT_EQ(Raised([] { ConvertTo(LongArray(), VarType::kLong); }), kErrTypeMismatch);
  EXPECT_EQ(Raised([] { ConvertTo(Variant::Long(1), VarType::kNull); }), kErrTypeMismatch);
}

TEST(Conversion, ConvertToVariantKeepsTheValueAsIs) {
  Variant array = LongArray();
  EXPECT_EQ(ConvertTo(array, VarType::kVariant), array);
  EXPECT_TRUE(ConvertTo(Variant::Null(), VarType::kVariant).is_null());
  EXPECT_TRUE(ConvertTo(Variant(), VarType::kVariant).is_empty());
  EXPECT_EQ(ConvertTo(Variant::Integer(3), VarType::kVariant), Variant::Integer(3));
}

TEST(Conversion, CompareNumericReadsTextAndEmpty) {
  EXPECT_EQ(CompareNumeric(Variant::Long(5), 5), 0);
  EXPECT_EQ(CompareNumeric(Variant::String("10"), 9), 1);
  EXPECT_EQ(CompareNumeric(Variant::String(" 4 "), 5), -1);
  EXPECT_EQ(CompareNumeric(Variant::String("&HFFFFFFFF"), 4294967295.0), 0);
  EXPECT_EQ(CompareNumeric(Variant(), 0), 0);
  EXPECT_EQ(CompareNumeric(Variant(), 1), -1);
  EXPECT_EQ(CompareNumeric(Variant::Boolean(true), -1), 0);
  EXPECT_EQ(CompareNumeric(D(2.5), 2.5), 0);
  EXPECT_EQ(CompareNumeric(D(2.5), 2), 1);
  EXPECT_EQ(Raised([] { CompareNumeric(Variant::Null(), 0); }), kErrInvalidUseOfNull);
  EXPECT_EQ(Raised([] { CompareNumeric(Variant::String("five"), 5); }), kErrTypeMismatch);
  EXPECT_EQ(Raised([] { CompareNumeric(LongArray(), 0); }), kErrTypeMismatch);
}

}  // namespace
}  // namespace orvane
