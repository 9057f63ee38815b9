// The Wine registry file format: what each kind of line Wine writes reads
// as, and that writing it anew gives Wine's exact bytes.
#include "store/wine/wine_reg_file.h"

#include <gtest/gtest.h>

#include <string>

#include "store/store_failure.h"

namespace orvane::platform::wine {
namespace {

const std::string kHeader = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";
const std::string kKeyLine = "[Software\\\\Test] 1796822368\n#time=1dd87dfeb5f1b8a\n";

std::string Utf16(std::u16string_view units) {
  std::string bytes;
  for (char16_t unit : units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(WineRegFile, EachLineReadsAsWineMeantItAndIsWrittenBackAsWineWritesIt) {
  struct Row {
    std::string section;  // after the header's blank line
    std::string path, name;
    uint32_t type;
    std::string data;
  };
  const Row rows[] = {
      {kKeyLine + "@=\"C:\\\\windows\\\\a \\\"b\\\"\"\n", "Software\\Test", "", 1,
       Utf16(u"C:\\windows\\a \"b\"") + '\0' + '\0'},
      {kKeyLine + "\"Multi\"=str(7):\"a\\0b\\0\"\n", "Software\\Test", "Multi", 7,
       Utf16(std::u16string_view(u"a\0b\0\0", 5))},
      {kKeyLine + "\"Exp\"=str(2):\"%SystemRoot%\\\\x\\tz\"\n", "Software\\Test", "Exp", 2,
       Utf16(u"%SystemRoot%\\x\tz") + std::string(2, '\0')},
      {kKeyLine + "\"D\"=dword:8000000a\n", "Software\\Test", "D", 4, std::string("\x0a\0\0\x80", 4)},
      {"[Software\\\\Caf\\xe9\\\\\\x263a] 1796822368\n#time=1dd87dfeb5f1b8a\n\"N\\xe9\"=\"\\x263a1\\xe9\"\n",
       "Software\\Caf\xc3\xa9\\\xe2\x98\xba", "N\xc3\xa9", 1, Utf16(u"\u263a1\u00e9") + std::string(2, '\0')},
      {kKeyLine + "\"Odd\"=hex(1):61,00,62\n", "Software\\Test", "Odd", 1, std::string("a\0b", 3)},
      {kKeyLine + "\"Empty\"=hex(0):\n", "Software\\Test", "Empty", 0, ""},
      {kKeyLine + "\"Big\"=hex(ffff0101):00\n", "Software\\Test", "Big", 0xffff0101, std::string(1, '\0')},
      {"[Software\\\\Link] 1796822368\n#time=1dd87dfeb5f1b8a\n#class=\"My \\\"class\\\"\"\n#link\n"
       "\"SymbolicLinkValue\"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,\\\n"
       "  00,5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00\n",
       "Software\\Link", "SymbolicLinkValue", 6, Utf16(u"\\Registry\\Machine")},
      {kKeyLine + "\"Long\"=hex:" +
           [] {
             std::string line;
             for (int i = 0; i < 40; ++i)
               line += i == 21 ? "21,\\\n  " : i == 39 ? "27\n" : (i < 10 ? "0" : "") + std::to_string(i) + ",";
             return line;
           }(),
       "Software\\Test", "Long", 3, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.section);
    const std::string bytes = kHeader + "\n" + row.section;
    WineRegFile file = ParseWineRegFile(bytes);
    ASSERT_EQ(file.keys.size(), 1u);
    WineKey& key = file.keys[0];
    EXPECT_EQ(file.root, "REGISTRY\\Machine");
    EXPECT_EQ(key.path, row.path);
    ASSERT_EQ(key.values.size(), 1u);
    EXPECT_EQ(key.values[0].name, row.name);
    EXPECT_EQ(key.values[0].type, row.type);
    if (row.name != "Long")
      EXPECT_EQ(key.values[0].data, row.data);
    else
      EXPECT_EQ(key.values[0].data.size(), 40u);
    EXPECT_EQ(FormatWineRegFile(file), bytes) << "as read";
    key.text.clear();
    key.values[0].text.clear();
    EXPECT_EQ(FormatWineRegFile(file), bytes) << "written anew";
  }
}

TEST(WineRegFile, LinesNotUnderstoodAreKeptAndOtherFilesRefused) {
  const std::string bytes = kHeader + "\n" + kKeyLine + "#future=1\n;; a note\n\"V\"=dword:00000001\n\"W\"=what:1\n";
  WineRegFile file = ParseWineRegFile(bytes);
  ASSERT_EQ(file.keys.size(), 1u);
  file.keys[0].text.clear();
  EXPECT_EQ(FormatWineRegFile(file),
            kHeader + "\n" + kKeyLine + "#future=1\n;; a note\n\"W\"=what:1\n\"V\"=dword:00000001\n");
  for (const char* other : {"REGEDIT4\n\n[HKEY_CURRENT_USER\\x]\n", "", "SQLite format 3"}) {
    try {
      ParseWineRegFile(other);
      ADD_FAILURE() << other;
    } catch (const StoreFailure& failure) {
      EXPECT_EQ(failure.Status(false), 1009);
    }
  }
}

}  // namespace
}  // namespace orvane::platform::wine
