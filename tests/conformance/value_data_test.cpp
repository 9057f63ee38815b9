// Value data: types and bytes kept as given, the default value, and the
// buffer sizes of RegQueryValueExA (none, exact, one short, larger).
#include "registry_fixture.h"

namespace conformance {
namespace {

using ValueData = RegistryTest;
ORVANE_CONFORMANCE_KINDS(ValueData);

TEST_P(ValueData, DefaultValueNeverSetIsMissing) {
  EXPECT_EQ(QueryNoBuffer(Base(), "").result, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(QueryNoBuffer(Base(), nullptr).result, ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(ValueNames(Base()).empty());
  Key fresh = MustCreate(Base(), "Fresh");
  EXPECT_EQ(QueryNoBuffer(fresh.get(), "").result, ERROR_FILE_NOT_FOUND);
}

TEST_P(ValueData, DefaultValueHasTheEmptyName) {
  ASSERT_EQ(SetString(Base(), "", "default"), ERROR_SUCCESS);
  EXPECT_EQ(QueryWhole(Base(), nullptr).data, std::string("default", 8));
  EXPECT_EQ(ValueNames(Base()), std::vector<std::string>{""});
  ASSERT_EQ(SetString(Base(), nullptr, "other"), ERROR_SUCCESS);
  EXPECT_EQ(QueryWhole(Base(), "").data, std::string("other", 6));
  EXPECT_EQ(RegDeleteValueA(Base(), nullptr), ERROR_SUCCESS);
  EXPECT_EQ(QueryNoBuffer(Base(), "").result, ERROR_FILE_NOT_FOUND);
}

TEST_P(ValueData, QueryWithoutBufferGivesTypeAndSize) {
  ASSERT_EQ(SetString(Base(), "S", "four"), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(Base(), "D", 5), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(Base(), "B", REG_BINARY, std::string(300, '\x01')), ERROR_SUCCESS);
  const struct { const char* name; DWORD type; DWORD size; } expected[] = {
      {"S", REG_SZ, 5}, {"D", REG_DWORD, 4}, {"B", REG_BINARY, 300}};
  for (const auto& value : expected) {
    const Query query = QueryNoBuffer(Base(), value.name);
    EXPECT_EQ(query.result, ERROR_SUCCESS) << value.name;
    EXPECT_EQ(query.type, value.type) << value.name;
    EXPECT_EQ(query.size, value.size) << value.name;
  }
  // Neither type nor size asked for: only whether the value exists.
  EXPECT_EQ(RegQueryValueExA(Base(), "S", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(Base(), "T", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
}

TEST_P(ValueData, ExactBufferReceivesTheDataAndNothingMore) {
  const std::string bytes("\x00\x01\xfe\xff\x7f", 5);
  ASSERT_EQ(SetValue(Base(), "B", REG_BINARY, bytes), ERROR_SUCCESS);
  Query query = QueryValue(Base(), "B", 5);
  ASSERT_EQ(query.result, ERROR_SUCCESS);
  EXPECT_EQ(query.size, 5u);
  EXPECT_EQ(query.data, bytes);

  query = QueryValue(Base(), "B", 8);
  ASSERT_EQ(query.result, ERROR_SUCCESS);
  EXPECT_EQ(query.size, 5u) << "the size reports the data, not the buffer";
  EXPECT_EQ(query.data, bytes + "xxx") << "bytes past the data are untouched";
}

TEST_P(ValueData, ShortBufferGivesMoreDataAndTheNeededSize) {
  ASSERT_EQ(SetString(Base(), "S", "four"), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(Base(), "B", REG_BINARY, std::string(300, '\x01')), ERROR_SUCCESS);
  Query query = QueryValue(Base(), "S", 4);
  EXPECT_EQ(query.result, ERROR_MORE_DATA);
  EXPECT_EQ(query.size, 5u);
  EXPECT_EQ(query.type, REG_SZ);
  query = QueryValue(Base(), "B", 299);
  EXPECT_EQ(query.result, ERROR_MORE_DATA);
  EXPECT_EQ(query.size, 300u);
  query = QueryValue(Base(), "B", 1);
  EXPECT_EQ(query.result, ERROR_MORE_DATA);
  EXPECT_EQ(query.size, 300u);
}

TEST_P(ValueData, ZeroSizedBufferOfEmptyValueSucceeds) {
  ASSERT_EQ(SetValue(Base(), "Empty", REG_BINARY, ""), ERROR_SUCCESS);
  Query query = QueryValue(Base(), "Empty", 0);
  EXPECT_EQ(query.result, ERROR_SUCCESS);
  EXPECT_EQ(query.size, 0u);
  EXPECT_EQ(query.type, REG_BINARY);
}

TEST_P(ValueData, StringsKeepTheBytesGiven) {
  ASSERT_EQ(SetValue(Base(), "Terminated", REG_SZ, std::string("abc", 4)), ERROR_SUCCESS);
  EXPECT_EQ(QueryWhole(Base(), "Terminated").data, std::string("abc", 4));
  ASSERT_EQ(SetValue(Base(), "Inner", REG_SZ, std::string("ab\0cd\0", 6)), ERROR_SUCCESS);
  EXPECT_EQ(QueryWhole(Base(), "Inner").data, std::string("ab\0cd\0", 6));
  ASSERT_EQ(SetValue(Base(), "Empty", REG_SZ, ""), ERROR_SUCCESS);
  EXPECT_EQ(QueryNoBuffer(Base(), "Empty").size, 0u);
  ASSERT_EQ(SetValue(Base(), "Multi", REG_MULTI_SZ, std::string("one\0two\0\0", 9)), ERROR_SUCCESS);
  EXPECT_EQ(QueryWhole(Base(), "Multi").data, std::string("one\0two\0\0", 9));
  ASSERT_EQ(SetValue(Base(), "Expand", REG_EXPAND_SZ, std::string("%PATH%;x", 9)), ERROR_SUCCESS);
  const Query expand = QueryWhole(Base(), "Expand");
  EXPECT_EQ(expand.type, REG_EXPAND_SZ);
  EXPECT_EQ(expand.data, std::string("%PATH%;x", 9)) << "stored unexpanded";
}

TEST_P(ValueData, StringWithoutTerminator) {
  ASSERT_EQ(SetValue(Base(), "Bare", REG_SZ, "abc"), ERROR_SUCCESS);
#ifdef _WIN32
  // The ANSI entry point of Windows converts the text to UTF-16 and appends
  // the terminator the caller left out.
  EXPECT_EQ(QueryWhole(Base(), "Bare").data, std::string("abc", 4));
#else
  // Our store keeps exactly the bytes given.
  EXPECT_EQ(QueryWhole(Base(), "Bare").data, "abc");
#endif
}

TEST_P(ValueData, EveryTypeNumberIsKeptAsGiven) {
  const std::string bytes("\x10\x20\x30", 3);
  const DWORD types[] = {REG_NONE, REG_BINARY, REG_DWORD_BIG_ENDIAN, REG_LINK, REG_QWORD, 12, 0x7FFFFFFF,
                         0x12345678, 0xFFFFFFFF};
  for (DWORD type : types) {
    ASSERT_EQ(SetValue(Base(), "Typed", type, bytes), ERROR_SUCCESS) << type;
    const Query query = QueryWhole(Base(), "Typed");
    EXPECT_EQ(query.type, type);
    EXPECT_EQ(query.data, bytes) << type;
  }
}

TEST_P(ValueData, DwordOfAnySizeIsKept) {
  // The registry does not check that a number's data has four bytes.
  ASSERT_EQ(SetValue(Base(), "Short", REG_DWORD, "\x01\x02"), ERROR_SUCCESS);
  EXPECT_EQ(QueryWhole(Base(), "Short").data, "\x01\x02");
  ASSERT_EQ(SetValue(Base(), "Long", REG_DWORD, "\x01\x02\x03\x04\x05\x06"), ERROR_SUCCESS);
  EXPECT_EQ(QueryNoBuffer(Base(), "Long").size, 6u);
}

TEST_P(ValueData, ReplacingAValueReplacesTypeAndData) {
  ASSERT_EQ(SetValue(Base(), "V", REG_BINARY, std::string(100, 'b')), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(Base(), "V", 0x01020304), ERROR_SUCCESS);
  const Query query = QueryWhole(Base(), "V");
  EXPECT_EQ(query.type, REG_DWORD);
  EXPECT_EQ(query.data, "\x04\x03\x02\x01");
  EXPECT_EQ(ValueNames(Base()).size(), 1u);
}

TEST_P(ValueData, LargeBinaryValueRoundTrips) {
  std::string bytes(1 << 20, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 256);
  ASSERT_EQ(SetValue(Base(), "Large", REG_BINARY, bytes), ERROR_SUCCESS);
  const Query query = QueryWhole(Base(), "Large");
  EXPECT_EQ(query.size, bytes.size());
  EXPECT_TRUE(query.data == bytes);
}

TEST_P(ValueData, DeletedValueIsGone) {
  ASSERT_EQ(SetDword(Base(), "V", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(Base(), "W", 2), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueA(Base(), "V"), ERROR_SUCCESS);
  EXPECT_EQ(QueryNoBuffer(Base(), "V").result, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueA(Base(), "V"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ValueNames(Base()), std::vector<std::string>{"W"});
}

}  // namespace
}  // namespace conformance
