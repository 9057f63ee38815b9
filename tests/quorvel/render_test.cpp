#include <gtest/gtest.h>

#include <limits>

#include "orvane/variant.h"
#include "tools/quorvel/render.h"

namespace quorvel {
namespace {

using orvane::ArrayBound;
using orvane::SafeArray;
using orvane::Variant;
using orvane::VarType;

TEST(Render, ScalarsNameTheirType) {
  EXPECT_EQ(Render(Variant()), "Empty\n");
  EXPECT_EQ(Render(Variant::Null()), "Null\n");
  EXPECT_EQ(Render(Variant::Boolean(true)), "Boolean True\n");
  EXPECT_EQ(Render(Variant::Boolean(false)), "Boolean False\n");
  EXPECT_EQ(Render(Variant::Byte(161)), "Byte 161\n");
  EXPECT_EQ(Render(Variant::Integer(-32768)), "Integer -32768\n");
  EXPECT_EQ(Render(Variant::Long(-1)), "Long -1\n");
  EXPECT_EQ(Render(Variant::Double(4294967295.0)), "Double 4294967295\n");
  EXPECT_EQ(Render(Variant::String("abc")), "String \"abc\"\n");
}

// The shortest text that reads back to the same number, never with an
// exponent below 1e15.
TEST(FormatDouble, ShortestRoundTripWithoutExponentBelow1e15) {
  EXPECT_EQ(FormatDouble(0.0), "0");
  EXPECT_EQ(FormatDouble(0.1), "0.1");
  EXPECT_EQ(FormatDouble(-2.5), "-2.5");
  EXPECT_EQ(FormatDouble(1e14), "100000000000000");
  EXPECT_EQ(FormatDouble(999999999999999.0), "999999999999999");
  EXPECT_EQ(FormatDouble(123456789012345.6), "123456789012345.6");
  EXPECT_EQ(FormatDouble(1.5e-7), "0.00000015");
  EXPECT_EQ(FormatDouble(-2.5e-3), "-0.0025");
  EXPECT_EQ(FormatDouble(1e-5), "0.00001");
  EXPECT_EQ(FormatDouble(1e15), "1e+15");
  EXPECT_EQ(FormatDouble(std::numeric_limits<double>::max()), "1.7976931348623157e+308");
}

TEST(Render, ArrayHeaderNamesElementTypeAndBounds) {
  SafeArray longs(VarType::kLong, {ArrayBound{0, 1}});
  longs.set(1, Variant::Long(7));
  EXPECT_EQ(Render(Variant::Array(std::move(longs))), "Long(0 To 1)\n  (0) = Long 0\n  (1) = Long 7\n");
  EXPECT_EQ(Render(Variant::Array(SafeArray(VarType::kVariant, {ArrayBound{0, -1}}))), "Variant(0 To -1)\n");
}

TEST(Render, TwoDimensionsListLastIndexFastestWithTheirLowerBounds) {
  SafeArray table(VarType::kVariant, {ArrayBound{5, 6}, ArrayBound{-1, 0}});
  table.set(5, -1, Variant::String("a"));
  table.set(6, 0, Variant::Long(1));
  EXPECT_EQ(Render(Variant::Array(std::move(table))),
            "Variant(5 To 6, -1 To 0)\n"
            "  (5, -1) = String \"a\"\n"
            "  (5, 0) = Empty\n"
            "  (6, -1) = Empty\n"
            "  (6, 0) = Long 1\n");
}

TEST(Render, NestedArrayIsIndentedUnderItsElement) {
  SafeArray inner(VarType::kVariant, {ArrayBound{0, 0}});
  inner.set(0, Variant::String(std::string(1, '\0')));
  SafeArray outer(VarType::kVariant, {ArrayBound{0, 1}});
  outer.set(0, Variant::Array(std::move(inner)));
  outer.set(1, Variant::Integer(2));
  EXPECT_EQ(Render(Variant::Array(std::move(outer))),
            "Variant(0 To 1)\n"
            "  (0) = Variant(0 To 0)\n"
            "    (0) = String Chr(0)\n"
            "  (1) = Integer 2\n");
}

}  // namespace
}  // namespace quorvel
