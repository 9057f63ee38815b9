// Reading values into their text or number forms, and the errors of a
// missing key or value.
#include <gtest/gtest.h>

#include <string>

#include "keyops/registry_text.h"
#include "registry/expect_error.h"
#include "registry/scoped_key.h"
#include "registry/value_read.h"
#include "support/environment.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

using testing::PutKey;
using testing::PutValue;

struct ReadCase {
  DWORD type;
  std::string data;
  const char* expected;  // the text read; nullptr: Empty
};

// Prints a read result as "Long n", "String text" or "Empty".
std::string Form(const Variant& value) {
  if (value.type() == VarType::kLong) return "Long " + std::to_string(value.long_value());
  if (value.type() == VarType::kString) return "String " + value.string();
  return value.is_empty() ? "Empty" : "other";
}

class ValueReadTest : public ::testing::Test {
 protected:
  TempRegistry registry_;
};

// A string written without its terminator. Our store keeps the bytes as
// given, and the read drops the last one as the terminator; Windows's ANSI
// RegSetValueExA adds the missing terminator, so the whole text is read.
#ifdef _WIN32
constexpr const char* kUnterminated = "String abc";
#else
constexpr const char* kUnterminated = "String ab";
#endif

TEST_F(ValueReadTest, EveryTypeReadsInItsForm) {
  testing::SetEnvironment("ORVANE_H6_ROOT", "C:\\WINDOWS");
  testing::UnsetEnvironment("ORVANE_H6_UNSET");
  const std::string z(1, '\0');
  const ReadCase cases[] = {
      {REG_SZ, "abc" + z, "String abc"},
      {REG_SZ, z, "String "},
      {REG_SZ, "", "String "},
      {REG_SZ, "abc", kUnterminated},
      {REG_SZ, "%ORVANE_H6_ROOT%" + z, "String %ORVANE_H6_ROOT%"},
      {REG_EXPAND_SZ, "%ORVANE_H6_ROOT%\\System" + z, "String C:\\WINDOWS\\System"},
      {REG_EXPAND_SZ, "a%ORVANE_H6_ROOT%;%ORVANE_H6_ROOT%" + z, "String aC:\\WINDOWS;%ORVANE_H6_ROOT%"},
      {REG_EXPAND_SZ, "%ORVANE_H6_UNSET%;%ORVANE_H6_ROOT%" + z, "String %ORVANE_H6_UNSET%;%ORVANE_H6_ROOT%"},
      {REG_EXPAND_SZ, "%%ORVANE_H6_ROOT%" + z, "String %%ORVANE_H6_ROOT%"},  // "%%" names no variable
      {REG_MULTI_SZ, "a" + z + "b" + z + z, "String a|b"},
      {REG_MULTI_SZ, "a" + z + z + "b" + z + z, "String a||b"},
      {REG_MULTI_SZ, z + z, "String "},
      {REG_MULTI_SZ, "a" + z + "b" + z, "String a|b"},  // no list terminator
      {REG_MULTI_SZ, "a" + z + "b", "String a|b"},      // no terminator at all
      {REG_MULTI_SZ, "a" + z + "b" + z + z + z, "String a|b|"},
      {REG_MULTI_SZ, z, "String "},
      {REG_MULTI_SZ, "", "String "},
      {REG_DWORD, "\xff\xff\xff\xff", "Long -1"},
      {REG_DWORD, "\x34\x12", "Long 4660"},  // short data fills the low bytes
      {REG_DWORD, "\x01\x02\x03\x04\x05", "Empty"},
      {REG_BINARY, "\x0a\xff", "String 0aff"},
      {REG_BINARY, "", "String "},
      {REG_NONE, "\x01", "Empty"},
      {8, "\x01", "Empty"},
      {REG_DWORD_BIG_ENDIAN, "\x01\x02\x03\x04", "Empty"},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.expected);
    PutValue(HKEY_CURRENT_USER, "Software\\Read", "v", c.type, c.data);
    EXPECT_EQ(Form(ReadValue(HKEY_CURRENT_USER, "Software\\Read", "v")), c.expected);
  }
}

TEST_F(ValueReadTest, MissingKeyRaises60002AndMissingValue60009) {
  PutKey(HKEY_CURRENT_USER, "Software\\Read");
  EXPECT_ERROR_NUMBER(ReadValue(HKEY_CURRENT_USER, "Software\\Nowhere", "v"), 60002);
  EXPECT_ERROR_NUMBER(ReadValue(HKEY_CURRENT_USER, "Software\\Read", "v"), 60009);
  // A default value that was never set is reported missing by the store.
  EXPECT_ERROR_NUMBER(ReadValue(HKEY_CURRENT_USER, "Software\\Read", ""), 60009);
}

TEST_F(ValueReadTest, QueryValueTypeGivesSizeAndTypeOrMinusOne) {
  PutValue(HKEY_CURRENT_USER, "Software\\Read", "q", 11, "12345678");
  ScopedKey key;
  ASSERT_EQ(key.Open(HKEY_CURRENT_USER, "Software\\Read"), 0);
  const ValueInfo info = QueryValueType(key.get(), "q");
  EXPECT_EQ(info.size, 8);
  EXPECT_EQ(info.type, 11);
  const ValueInfo missing = QueryValueType(key.get(), "none");
  EXPECT_EQ(missing.size, -1);
  EXPECT_EQ(missing.type, -1);
}

}  // namespace
}  // namespace orvane
