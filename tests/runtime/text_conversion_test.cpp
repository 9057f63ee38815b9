// Text conversions: reading numbers and Booleans from text, and the text of
// each scalar type (a Double gives at most 15 significant digits).
#include <gtest/gtest.h>

#include <limits>

#include "orvane/runtime_errors.h"
#include "orvane/variant.h"
#include "tests/runtime/raised.h"

namespace orvane {
namespace {

using testing::Raised;

Variant S(const char* text) { return Variant::String(text); }

TEST(TextConversion, DecimalTextWithSignPointExponentAndBlanks) {
  EXPECT_EQ(ToLong(S(" 42 ")), 42);
  EXPECT_EQ(ToLong(S("\t+7\r\n")), 7);
  EXPECT_EQ(ToLong(S("-7")), -7);
  EXPECT_EQ(ToLong(S("1.5e1")), 15);
  EXPECT_EQ(ToLong(S("1E+3")), 1000);
  EXPECT_EQ(ToLong(S("2.5")), 2);  // read as 2.5, then rounded half to even
  EXPECT_EQ(ToLong(S("3.5")), 4);
  EXPECT_EQ(ToDouble(S(".5")), 0.5);
  EXPECT_EQ(ToDouble(S("-.5e-1")), -0.05);
  EXPECT_EQ(ToDouble(S("1.")), 1.0);
  EXPECT_EQ(ToDouble(S("007")), 7.0);
  EXPECT_EQ(ToDouble(S("1e-400")), 0.0);  // too small for a Double: zero
  EXPECT_EQ(ToInteger(S("-32768")), -32768);
}

TEST(TextConversion, HexAndOctalTextIsABitPatternOfTheTargetWidth) {
  EXPECT_EQ(ToLong(S("&HFF")), 255);
  EXPECT_EQ(ToLong(S("&hff")), 255);
  EXPECT_EQ(ToInteger(S("&H7FFF")), 32767);
  EXPECT_EQ(ToInteger(S("&HFFFF")), -1);
  EXPECT_EQ(ToInteger(S("&H8000")), -32768);
  EXPECT_EQ(ToLong(S("&HFFFF")), 65535);
  EXPECT_EQ(ToLong(S("&HFFFFFFFF")), -1);
  EXPECT_EQ(ToLong(S("&H80000000")), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ToByte(S("&HFF")), 255);
  EXPECT_EQ(ToByte(S("&H0FF")), 255);
  EXPECT_EQ(ToLong(S(" &O17 ")), 15);
  EXPECT_EQ(ToInteger(S("&O177777")), -1);
  EXPECT_EQ(ToDouble(S("&HFFFFFFFF")), 4294967295.0);
  EXPECT_TRUE(ToBoolean(S("&H1")));
  EXPECT_FALSE(ToBoolean(S("&H0")));
  EXPECT_EQ(Raised([] { ToByte(S("&H100")); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToInteger(S("&H10000")); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToLong(S("&H100000000")); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToDouble(S("&H10000000000000000")); }), kErrOverflow);
}

TEST(TextConversion, TextThatIsNotANumberIsTypeMismatch) {
  for (const char* text : {"", "   ", "abc", "1 2", "1e", "e5", ".", "-", "- 1", "+-1", "1..2", "1e+",
                           "&H", "&HG", "&O8", "&17", "&H-1", "-&H1", "0x10", "1,000", "True", "12abc"}) {
    EXPECT_EQ(Raised([&] { ToLong(S(text)); }), kErrTypeMismatch) << '"' << text << '"';
    EXPECT_EQ(Raised([&] { ToDouble(S(text)); }), kErrTypeMismatch) << '"' << text << '"';
  }
}

TEST(TextConversion, NumbersTooLargeForTheirTypeOverflow) {
  EXPECT_EQ(Raised([] { ToDouble(S("1e400")); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToDouble(S("-1e400")); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToInteger(S("40000")); }), kErrOverflow);
  EXPECT_EQ(Raised([] { ToLong(S("2147483647.5")); }), kErrOverflow);
  EXPECT_EQ(ToLong(S("-2147483648.5")), std::numeric_limits<int32_t>::min());
}

TEST(TextConversion, BooleanReadsTrueFalseWordsOrNumbers) {
  EXPECT_TRUE(ToBoolean(S("True")));
  EXPECT_TRUE(ToBoolean(S(" tRUE ")));
  EXPECT_FALSE(ToBoolean(S("FALSE")));
  EXPECT_FALSE(ToBoolean(S("0")));
  EXPECT_TRUE(ToBoolean(S("2")));
  EXPECT_TRUE(ToBoolean(S("-0.5")));
  EXPECT_EQ(Raised([] { ToBoolean(S("yes")); }), kErrTypeMismatch);
  EXPECT_EQ(Raised([] { ToBoolean(S("")); }), kErrTypeMismatch);
}

TEST(TextConversion, DoubleTextHasAtMostFifteenDigits) {
  auto text = [](double value) { return ToString(Variant::Double(value)); };
  EXPECT_EQ(text(0.1), "0.1");
  EXPECT_EQ(text(-1.5), "-1.5");
  EXPECT_EQ(text(100), "100");
  EXPECT_EQ(text(4294967295.0), "4294967295");
  EXPECT_EQ(text(999999999999999.0), "999999999999999");
  EXPECT_EQ(text(1e15), "1E+15");
  EXPECT_EQ(text(123456789012345678.0), "1.23456789012346E+17");
  EXPECT_EQ(text(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(text(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(text(0.1 + 0.2), "0.3");
  EXPECT_EQ(text(0.0001), "0.0001");
  EXPECT_EQ(text(0.00001), "1E-05");
  EXPECT_EQ(text(-1.5e300), "-1.5E+300");
  EXPECT_EQ(text(-0.0), "0");
}

TEST(TextConversion, ScalarText) {
  EXPECT_EQ(ToString(Variant::Boolean(true)), "True");
  EXPECT_EQ(ToString(Variant::Boolean(false)), "False");
  EXPECT_EQ(ToString(Variant::Byte(255)), "255");
  EXPECT_EQ(ToString(Variant::Integer(-32768)), "-32768");
  EXPECT_EQ(ToString(Variant::Long(std::numeric_limits<int32_t>::min())), "-2147483648");
  EXPECT_EQ(ToString(Variant::String(std::string("a\0b", 3))), std::string("a\0b", 3));
}

}  // namespace
}  // namespace orvane
