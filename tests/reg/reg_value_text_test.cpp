// Values as reg's command line spells them: data of every type as query
// prints it, including data whose size does not fit its type, and type
// names that add accepts.
#include <gtest/gtest.h>

#include "tools/reg/reg_value_text.h"

namespace orvane::reg {
namespace {

TEST(RegValueText, FormatsEachTypesData) {
  EXPECT_EQ(FormatData(REG_SZ, std::string("ab\0cd\0", 6)), "ab");
  EXPECT_EQ(FormatData(REG_SZ, "no terminator"), "no terminator");
  EXPECT_EQ(FormatData(REG_EXPAND_SZ, std::string("%A%\0", 4)), "%A%");
  EXPECT_EQ(FormatData(REG_MULTI_SZ, std::string("a\0bc\0\0", 6)), "a\\0bc");
  EXPECT_EQ(FormatData(REG_MULTI_SZ, std::string("a\0bc", 4)), "a\\0bc");
  EXPECT_EQ(FormatData(REG_MULTI_SZ, std::string("\0", 1)), "");
  EXPECT_EQ(FormatData(REG_DWORD, std::string("\x01\x02\x03\x04", 4)), "0x4030201");
  EXPECT_EQ(FormatData(REG_DWORD, std::string(4, '\0')), "0x0");
  EXPECT_EQ(FormatData(REG_DWORD_BIG_ENDIAN, std::string("\x01\x02\x03\x04", 4)), "0x1020304");
  EXPECT_EQ(FormatData(REG_QWORD, std::string("\xff\0\0\0\0\0\0\x80", 8)), "0x80000000000000ff");
  EXPECT_EQ(FormatData(REG_BINARY, std::string("\x00\xab\x0c", 3)), "00AB0C");
  EXPECT_EQ(FormatData(REG_NONE, ""), "");
  EXPECT_EQ(FormatData(0x100, "\x01\x02"), "0102");
}

TEST(RegValueText, NumbersOfTheWrongSizeShowTheirBytes) {
  EXPECT_EQ(FormatData(REG_DWORD, "\x01\x02"), "0102");
  EXPECT_EQ(FormatData(REG_QWORD, std::string("\x01\0\0\0", 4)), "01000000");
  EXPECT_EQ(FormatData(REG_DWORD_BIG_ENDIAN, "\x01"), "01");
}

TEST(RegValueText, TypeNamesForAddAndForOutput) {
  EXPECT_EQ(ParseTypeName("reg_qword"), REG_QWORD);
  EXPECT_EQ(ParseTypeName("REG_NONE"), REG_NONE);
  EXPECT_EQ(ParseTypeName("REG_LINK"), std::nullopt);
  EXPECT_EQ(ParseTypeName("REG_DWORD_BIG_ENDIAN"), std::nullopt);
  EXPECT_EQ(ParseTypeName("SZ"), std::nullopt);
  EXPECT_EQ(TypeName(REG_DWORD_BIG_ENDIAN), "REG_DWORD_BIG_ENDIAN");
  EXPECT_EQ(TypeName(0x100), "REG_UNKNOWN");
}

}  // namespace
}  // namespace orvane::reg
