// The REGEDIT4 writer: value forms, escapes and the wrapping of hex data.
#include <gtest/gtest.h>

#include <string>

#include "tools/regedit/reg_parser.h"
#include "tools/regedit/reg_writer.h"

namespace orvane::regedit {
namespace {

std::string Line(std::string_view name, DWORD type, std::string_view data) {
  std::string out;
  RegWriter(&out).WriteValue(name, type, data);
  return out;
}

std::string Bytes(size_t count) {
  std::string bytes;
  for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i));
  return bytes;
}

// "00,01,..." for the bytes first..last-1 of Bytes().
std::string HexRun(size_t first, size_t last) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = first; i < last; ++i) {
    if (i > first) out.push_back(',');
    out.push_back(kDigits[(i >> 4) & 0xf]);
    out.push_back(kDigits[i & 0xf]);
  }
  return out;
}

TEST(RegWriter, FileFrameIsHeaderSectionsAndAFinalEmptyLine) {
  std::string out;
  RegWriter writer(&out);
  writer.WriteHeader();
  writer.WriteKeyHeader("HKEY_CURRENT_USER\\A");
  writer.WriteKeyHeader("HKEY_CURRENT_USER\\A\\B]\"");
  writer.WriteEnd();
  EXPECT_EQ(out, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\r\n[HKEY_CURRENT_USER\\A\\B]\"]\r\n\r\n");
}

TEST(RegWriter, NamesAndStringsEscapeBackslashQuoteCrAndLfOnly) {
  EXPECT_EQ(Line("a \"b\"\\c", REG_SZ, std::string("x\\\"\r\n\t;#\0", 9)),
            "\"a \\\"b\\\"\\\\c\"=\"x\\\\\\\"\\r\\n\t;#\"\r\n");
  EXPECT_EQ(Line("", REG_SZ, std::string("v\0", 2)), "@=\"v\"\r\n");
}

TEST(RegWriter, StringForms) {
  EXPECT_EQ(Line("e", REG_SZ, std::string("\0", 1)), "\"e\"=\"\"\r\n");
  EXPECT_EQ(Line("u", REG_SZ, "abc"), "\"u\"=\"abc\"\r\n");  // no terminator: written whole
  // Data a quoted string cannot carry come back unchanged as hex(1).
  EXPECT_EQ(Line("z", REG_SZ, ""), "\"z\"=hex(1):\r\n");
  EXPECT_EQ(Line("n", REG_SZ, std::string("a\0b\0", 4)), "\"n\"=hex(1):61,00,62,00\r\n");
  // Text is UTF-8; other bytes in a quoted string would make the file read
  // as Windows-1252.
  EXPECT_EQ(Line("t", REG_SZ, std::string("caf\xc3\xa9\0", 6)), "\"t\"=\"caf\xc3\xa9\"\r\n");
  EXPECT_EQ(Line("w", REG_SZ, std::string("caf\xe9\0", 5)), "\"w\"=hex(1):63,61,66,e9,00\r\n");
}

TEST(RegWriter, DwordIsEightLowerCaseDigitsWhenFourBytesLong) {
  EXPECT_EQ(Line("d", REG_DWORD, std::string("\xcd\xab\0\0", 4)), "\"d\"=dword:0000abcd\r\n");
  EXPECT_EQ(Line("d", REG_DWORD, "\x80\x70\x60\x50\x40\x30\x20\x10"), "\"d\"=hex(4):80,70,60,50,40,30,20,10\r\n");
  EXPECT_EQ(Line("d", REG_DWORD, ""), "\"d\"=hex(4):\r\n");
}

TEST(RegWriter, OtherTypesAreHexWithTheirNumberInLowerCase) {
  EXPECT_EQ(Line("b", REG_BINARY, "\x01\xff"), "\"b\"=hex:01,ff\r\n");
  EXPECT_EQ(Line("b", REG_BINARY, ""), "\"b\"=hex:\r\n");
  EXPECT_EQ(Line("n", REG_NONE, ""), "\"n\"=hex(0):\r\n");
  EXPECT_EQ(Line("x", REG_EXPAND_SZ, std::string("%P%\0", 4)), "\"x\"=hex(2):25,50,25,00\r\n");
  EXPECT_EQ(Line("q", REG_QWORD, std::string(8, '\0')), "\"q\"=hex(b):00,00,00,00,00,00,00,00\r\n");
  EXPECT_EQ(Line("t", 0x100, "\x01"), "\"t\"=hex(100):01\r\n");
  EXPECT_EQ(Line("t", 0xabcd, "\x01"), "\"t\"=hex(abcd):01\r\n");
  EXPECT_EQ(Line("t", 0xffffffff, "\x01"), "\"t\"=hex(ffffffff):01\r\n");
}

TEST(RegWriterWrap, LastByteNeverBreaksTheLine) {
  // "a23"=hex: is 10 columns; 23 bytes fill 78 columns on one line.
  EXPECT_EQ(Line("a23", REG_BINARY, Bytes(23)), "\"a23\"=hex:" + HexRun(0, 23) + "\r\n");
  EXPECT_EQ(Line("a23", REG_BINARY, Bytes(24)), "\"a23\"=hex:" + HexRun(0, 23) + ",\\\r\n  17\r\n");
}

TEST(RegWriterWrap, ContinuationLinesHoldTwentyFiveBytes) {
  // "@=hex:" is 6 columns: 24 bytes on the first line, then 25 per line.
  EXPECT_EQ(Line("", REG_BINARY, Bytes(100)),
            "@=hex:" + HexRun(0, 24) + ",\\\r\n  " + HexRun(24, 49) + ",\\\r\n  " + HexRun(49, 74) + ",\\\r\n  " +
                HexRun(74, 99) + ",\\\r\n  " + HexRun(99, 100) + "\r\n");
}

TEST(RegWriterWrap, EscapesCountAndALongNameBreaksAfterTheFirstByte) {
  // The name \\ is written as 4 characters: with its quotes and "=" and
  // "hex(7):" the prefix is 14 columns, so 21 bytes fit on the first line.
  EXPECT_EQ(Line("\\\\", REG_MULTI_SZ, Bytes(22)), "\"\\\\\\\\\"=hex(7):" + HexRun(0, 21) + ",\\\r\n  15\r\n");
  const std::string name(80, 'n');
  EXPECT_EQ(Line(name, REG_BINARY, Bytes(3)), "\"" + name + "\"=hex:00,\\\r\n  01,02\r\n");
}

TEST(RegWriterWrap, WrappedDataReadsBackAsTheSameBytes) {
  for (const size_t size : {0u, 1u, 22u, 23u, 24u, 25u, 48u, 49u, 50u, 1000u}) {
    const std::string line = "REGEDIT4\r\n[HKEY_CURRENT_USER\\T]\r\n" + Line("v", REG_BINARY, Bytes(size));
    const RegFile file = ParseRegFile(line);
    ASSERT_EQ(file.ops.size(), 2u) << size;
    EXPECT_EQ(file.ops[1].data, Bytes(size)) << size;
    EXPECT_TRUE(file.messages.empty()) << size;
  }
}

}  // namespace
}  // namespace orvane::regedit
