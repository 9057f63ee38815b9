// Export and import through the registry store: exact export text, round
// trips of every value type, and merging.
#include <gtest/gtest.h>

#include <string>

#include "store/registry_store.h"
#include "regedit/tree_dump.h"
#include "support/temp_registry.h"
#include "tools/regedit/reg_export.h"
#include "tools/regedit/reg_import.h"
#include "tools/regedit/reg_parser.h"

namespace orvane::regedit::testing {
namespace {

const std::string kSource = "Software\\RoundTrip";
const std::string kSourceKey = "HKEY_CURRENT_USER\\" + kSource;

std::string Export(const std::string& key) {
  std::string text, error;
  EXPECT_EQ(ExportRegistry(key, &text, &error), ERROR_SUCCESS) << error;
  return text;
}

void Import(const std::string& text) {
  const RegFile file = ParseRegFile(text);
  ASSERT_FALSE(file.HasSkippedLines());
  std::vector<RegMessage> messages;
  platform::RegistryMethodScope scope;
  EXPECT_EQ(MergeRegFile(file, &messages), 0);
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size())) {
    text.replace(pos, from.size(), to);
  }
  return text;
}

// Every value type and the awkward cases of names and data.
void FillSource() {
  const std::string binary(1000, '\xa5');
  SetValue(HKEY_CURRENT_USER, kSource, "", REG_SZ, std::string("default\0", 8));
  SetValue(HKEY_CURRENT_USER, kSource, "name with spaces", REG_SZ, std::string("a \"q\" \\ b\r\nc\t;#\0", 16));
  SetValue(HKEY_CURRENT_USER, kSource, "q\"uo\\te", REG_SZ, std::string("\0", 1));
  SetValue(HKEY_CURRENT_USER, kSource, "@", REG_SZ, std::string("caf\xe9\0", 5));
  SetValue(HKEY_CURRENT_USER, kSource, "empty sz", REG_SZ, "");
  SetValue(HKEY_CURRENT_USER, kSource, "nul inside", REG_SZ, std::string("a\0b\0", 4));
  SetValue(HKEY_CURRENT_USER, kSource, "dword", REG_DWORD, std::string("\x78\x56\x34\x12", 4));
  SetValue(HKEY_CURRENT_USER, kSource, "odd dword", REG_DWORD, std::string("\x01\x02", 2));
  SetValue(HKEY_CURRENT_USER, kSource, "empty dword", REG_DWORD, "");
  SetValue(HKEY_CURRENT_USER, kSource, "binary", REG_BINARY, binary);
  SetValue(HKEY_CURRENT_USER, kSource, "empty binary", REG_BINARY, "");
  SetValue(HKEY_CURRENT_USER, kSource, "expand", REG_EXPAND_SZ, std::string("%PATH%;x\0", 9));
  SetValue(HKEY_CURRENT_USER, kSource, "empty expand", REG_EXPAND_SZ, "");
  SetValue(HKEY_CURRENT_USER, kSource, "multi", REG_MULTI_SZ, std::string("one\0two\0\0", 9));
  SetValue(HKEY_CURRENT_USER, kSource, "none", REG_NONE, std::string("\0\x01", 2));
  SetValue(HKEY_CURRENT_USER, kSource, "empty none", REG_NONE, "");
  SetValue(HKEY_CURRENT_USER, kSource, "qword", REG_QWORD, std::string("\x01\0\0\0\0\0\0\x80", 8));
  SetValue(HKEY_CURRENT_USER, kSource, "big endian", REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\x01", 4));
  SetValue(HKEY_CURRENT_USER, kSource, "type 100", 0x100, "\x01\x02");
  SetValue(HKEY_CURRENT_USER, kSource, std::string(90, 'L'), REG_BINARY, binary.substr(0, 30));
  SetValue(HKEY_CURRENT_USER, kSource + "\\sub key ]\"; x", "v", REG_SZ, std::string("1\0", 2));
  SetValue(HKEY_CURRENT_USER, kSource + "\\sub key ]\"; x\\-deeper", "", REG_MULTI_SZ, std::string("\0", 1));
  SetValue(HKEY_CURRENT_USER, kSource + "\\[bracket", "v", REG_BINARY, "\xff");
}

class RegRoundTrip : public ::testing::Test {
 protected:
  TempRegistry registry_;
};

TEST_F(RegRoundTrip, EveryValueTypeComesBackByteForByteElsewhere) {
  FillSource();
  const std::string dump = DumpTree(HKEY_CURRENT_USER, kSource);
  const std::string text = Export(kSourceKey);
  Import(ReplaceAll(text, "[" + kSourceKey, "[HKEY_CURRENT_USER\\Software\\Copy"));
  EXPECT_EQ(DumpTree(HKEY_CURRENT_USER, "Software\\Copy"), ReplaceAll(dump, kSource, "Software\\Copy"));
}

TEST_F(RegRoundTrip, ReimportOverADeletedTreeGivesTheSameExport) {
  FillSource();
  const std::string text = Export(kSourceKey);
  ASSERT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, kSource), ERROR_SUCCESS);
  EXPECT_EQ(DumpTree(HKEY_CURRENT_USER, kSource), "missing\n");
  Import(text);
  EXPECT_EQ(Export(kSourceKey), text);
}

TEST_F(RegRoundTrip, UnterminatedStringComesBackTerminated) {
  SetValue(HKEY_CURRENT_USER, kSource, "u", REG_SZ, "abc");
  Import(ReplaceAll(Export(kSourceKey), kSource, "Software\\Copy"));
  EXPECT_EQ(DumpTree(HKEY_CURRENT_USER, "Software\\Copy"), "Software\\Copy\n  \"u\" 1 61,62,63,00\n");
}

TEST_F(RegRoundTrip, ExportTextIsExact) {
  SetValue(HKEY_CURRENT_USER, kSource, "z", REG_SZ, std::string("last\0", 5));
  SetValue(HKEY_CURRENT_USER, kSource, "", REG_DWORD, std::string("\x01\0\0\0", 4));
  SetValue(HKEY_CURRENT_USER, kSource, "a", REG_EXPAND_SZ, std::string("%A%\0", 4));
  SetValue(HKEY_CURRENT_USER, kSource + "\\beta", "", REG_SZ, std::string("\0", 1));
  SetValue(HKEY_CURRENT_USER, kSource + "\\Alpha\\x", "b", REG_BINARY, "");
  // Values in creation order; sub-keys in case-insensitive name order.
  EXPECT_EQ(Export(kSourceKey + "\\"),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\RoundTrip]\r\n\"z\"=\"last\"\r\n@=dword:00000001\r\n"
            "\"a\"=hex(2):25,41,25,00\r\n\r\n[HKEY_CURRENT_USER\\Software\\RoundTrip\\Alpha]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\RoundTrip\\Alpha\\x]\r\n\"b\"=hex:\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\RoundTrip\\beta]\r\n@=\"\"\r\n\r\n");
}

TEST_F(RegRoundTrip, WholeRegistryIsTheStoredRootsInOrder) {
  SetValue(HKEY_CURRENT_USER, kSource, "v", REG_SZ, std::string("x\0", 2));
  const std::string text = Export("");
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n", 0), 0u);
  const size_t users = text.find("\r\n\r\n[HKEY_USERS]\r\n");
  ASSERT_NE(users, std::string::npos);
  EXPECT_GT(users, text.find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes]"));
  EXPECT_NE(text.find("\\Software\\RoundTrip]\r\n\"v\"=\"x\"\r\n"), std::string::npos);
  EXPECT_EQ(text.find("HKEY_CURRENT_USER"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
  for (size_t pos = text.find('\n'); pos != std::string::npos; pos = text.find('\n', pos + 1)) {
    ASSERT_EQ(text[pos - 1], '\r') << "line end at " << pos;
  }
}

TEST_F(RegRoundTrip, ExportOfAMissingKeyOrUnknownRootFails) {
  std::string text = "kept", error;
  EXPECT_EQ(ExportRegistry("HKEY_CURRENT_USER\\Software\\Nothing", &text, &error), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(ExportRegistry("HKCU\\Software", &text, &error), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(error, "Invalid system key [HKCU\\Software]");
  EXPECT_EQ(text, "kept");
}

TEST_F(RegRoundTrip, MergeKeepsOtherDataAndDeletesWhatTheFileSays) {
  SetValue(HKEY_CURRENT_USER, kSource, "keep", REG_SZ, std::string("k\0", 2));
  SetValue(HKEY_CURRENT_USER, kSource, "drop", REG_SZ, std::string("d\0", 2));
  SetValue(HKEY_CURRENT_USER, kSource + "\\Old\\Deep", "x", REG_SZ, std::string("o\0", 2));
  Import("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\RoundTrip]\r\n\"drop\"=-\r\n\"NEW\"=dword:2\r\n"
         "\"missing\"=-\r\n[-HKEY_CURRENT_USER\\Software\\RoundTrip\\Old]\r\n[-HKEY_CURRENT_USER\\Software\\None]\r\n"
         "[hkey_current_user\\software\\roundtrip\\new]\r\n");
  EXPECT_EQ(DumpTree(HKEY_CURRENT_USER, kSource),
            "Software\\RoundTrip\n  \"keep\" 1 6b,00\n  \"NEW\" 4 02,00,00,00\nSoftware\\RoundTrip\\new\n");
}

TEST_F(RegRoundTrip, SectionsInAnyOrderAndLetterCaseReachTheirKeys) {
  // Child before parent, a jump back up, a parent spelt differently, and a
  // deletion of an open section's parent between two of its sub-keys.
  Import("REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\RoundTrip\\A\\B\\C]\r\n\"c\"=\"1\"\r\n"
         "[HKEY_CURRENT_USER\\Software\\RoundTrip\\A]\r\n\"a\"=\"2\"\r\n"
         "[hkey_current_user\\software\\roundtrip\\a\\b\\D]\r\n\"d\"=\"3\"\r\n"
         "[HKEY_CURRENT_USER\\Software\\RoundTrip\\A\\X]\r\n"
         "[-HKEY_CURRENT_USER\\Software\\RoundTrip\\A\\B]\r\n"
         "[HKEY_CURRENT_USER\\Software\\RoundTrip\\A\\X\\Y]\r\n\"y\"=\"4\"\r\n"
         "[HKEY_CURRENT_USER\\Software\\RoundTrip\\A\\B]\r\n\"b\"=\"5\"\r\n");
  EXPECT_EQ(DumpTree(HKEY_CURRENT_USER, kSource),
            "Software\\RoundTrip\nSoftware\\RoundTrip\\A\n  \"a\" 1 32,00\n"
            "Software\\RoundTrip\\A\\B\n  \"b\" 1 35,00\n"
            "Software\\RoundTrip\\A\\X\nSoftware\\RoundTrip\\A\\X\\Y\n  \"y\" 1 34,00\n");
}

TEST_F(RegRoundTrip, FailedSectionReportsItsLineAndDropsItsValues) {
  const RegFile file = ParseRegFile("REGEDIT4\r\n[HKEY_CURRENT_USER\\" + std::string(300, 'k') +
                                    "]\r\n\"a\"=\"1\"\r\n[HKEY_CURRENT_USER\\Ok]\r\n\"b\"=\"2\"\r\n");
  std::vector<RegMessage> messages;
  EXPECT_EQ(MergeRegFile(file, &messages), 2);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].line, 2);
  EXPECT_EQ(messages[0].text, "Unable to open the registry key 'HKEY_CURRENT_USER\\" + std::string(300, 'k') +
                                  "' (status 87)");
  EXPECT_EQ(DumpTree(HKEY_CURRENT_USER, "Ok"), "Ok\n  \"b\" 1 32,00\n");
}

}  // namespace
}  // namespace orvane::regedit::testing
