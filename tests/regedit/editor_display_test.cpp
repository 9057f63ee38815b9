// The editor's display forms of values and the reading of what the user
// types for each type. No registry is involved.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32_registry.h"
#include "tools/regedit/editor/value_display.h"
#include "tools/regedit/editor/value_input.h"

namespace orvane::regedit::editor {
namespace {

using namespace std::string_literals;

TEST(EditorDisplay, NamesAndTypesAsThePlatformShowsThem) {
  EXPECT_EQ(DisplayName(""), "(Default)");
  EXPECT_EQ(DisplayName("Size"), "Size");
  EXPECT_EQ(DisplayType(REG_SZ), "REG_SZ");
  EXPECT_EQ(DisplayType(REG_EXPAND_SZ), "REG_EXPAND_SZ");
  EXPECT_EQ(DisplayType(REG_MULTI_SZ), "REG_MULTI_SZ");
  EXPECT_EQ(DisplayType(REG_DWORD), "REG_DWORD");
  EXPECT_EQ(DisplayType(REG_BINARY), "REG_BINARY");
  EXPECT_EQ(DisplayType(REG_QWORD), "REG_QWORD");
  EXPECT_EQ(DisplayType(REG_NONE), "REG_NONE");
  EXPECT_EQ(DisplayType(0x1234), "0x00001234");
}

// CR, LF, ESC and the other control characters never reach the screen: a
// name, key path or text holding one is shown whole in the script form
// quorvel's Print uses.
TEST(EditorDisplay, ControlCharactersInNamesAndTextAreShownEscaped) {
  EXPECT_EQ(DisplayName("a\r\nb"), "\"a\" & Chr(13) & Chr(10) & \"b\"");
  EXPECT_EQ(DisplayKey("HKEY_CURRENT_USER\\Row\x1b]2;t\x07"),
            "\"HKEY_CURRENT_USER\\Row\" & Chr(27) & \"]2;t\" & Chr(7)");
  EXPECT_EQ(DisplayKey("HKEY_CURRENT_USER\\Caf\xc3\xa9"), "HKEY_CURRENT_USER\\Caf\xc3\xa9");  // UTF-8 as it is
  EXPECT_EQ(DisplayData(REG_SZ, "x\x1b[2J\0"s), "\"x\" & Chr(27) & \"[2J\"");
  EXPECT_EQ(DisplayData(REG_MULTI_SZ, "one\0t\two\0\0"s), "\"one t\" & Chr(9) & \"wo\"");
  EXPECT_EQ(DisplayData(REG_EXPAND_SZ, "\xff\0"s), "Chr(255)");  // not UTF-8
}

TEST(EditorDisplay, DataInEachTypesForm) {
  EXPECT_EQ(DisplayData(REG_SZ, "hello\0"s), "hello");
  EXPECT_EQ(DisplayData(REG_SZ, ""s), "");
  EXPECT_EQ(DisplayData(REG_EXPAND_SZ, "%PATH%;x\0"s), "%PATH%;x");
  EXPECT_EQ(DisplayData(REG_MULTI_SZ, "one\0two\0three\0\0"s), "one two three");
  EXPECT_EQ(DisplayData(REG_DWORD, "\x2a\0\0\0"s), "0x0000002a (42)");
  EXPECT_EQ(DisplayData(REG_DWORD, "\xff\xff\xff\xff"s), "0xffffffff (4294967295)");
  EXPECT_EQ(DisplayData(REG_QWORD, "\x01\0\0\0\0\0\0\x80"s), "0x8000000000000001 (9223372036854775809)");
  EXPECT_EQ(DisplayData(REG_BINARY, "\x00\x0a\xff"s), "00 0a ff");
  EXPECT_EQ(DisplayData(REG_BINARY, ""s), "(zero-length binary value)");
  EXPECT_EQ(DisplayData(REG_DWORD, "\x01\x02"s), "01 02");  // not four bytes: shown as bytes
}

TEST(EditorInput, EditingStartsFromTheDataInTheTypesEditor) {
  EXPECT_EQ(EditText(REG_SZ, "text\0"s), "text");
  EXPECT_EQ(EditText(REG_MULTI_SZ, "a\0b c\0\0"s), "a\nb c");
  EXPECT_EQ(EditText(REG_DWORD, "\x2a\0\0\0"s), "0x0000002a");
  EXPECT_EQ(EditText(REG_BINARY, "\x01\xab"s), "01 ab");
}

TEST(EditorInput, TypedTextBecomesTheControlsFormOfTheData) {
  std::string error;
  EXPECT_EQ(*ReadInput(REG_SZ, " a b ", &error), Variant::String(" a b "));
  EXPECT_EQ(*ReadInput(REG_MULTI_SZ, "one\n\ntwo\r\nthree", &error), Variant::String("one|two|three"));
  EXPECT_EQ(*ReadInput(REG_DWORD, "42", &error), Variant::Long(42));
  EXPECT_EQ(*ReadInput(REG_DWORD, "0x2A", &error), Variant::Long(42));
  EXPECT_EQ(*ReadInput(REG_DWORD, "4294967295", &error), Variant::Long(-1));
  EXPECT_EQ(*ReadInput(REG_DWORD, "0xffffffff", &error), Variant::Long(-1));
  EXPECT_EQ(*ReadInput(REG_BINARY, "01 AB,ff", &error), Variant::String("01abff"));
  EXPECT_EQ(*ReadInput(REG_BINARY, "", &error), Variant::String(""));
}

TEST(EditorInput, TextThatDoesNotFitTheTypeIsRefusedWithAReason) {
  for (const char* bad : {"", "x", "-1", "4294967296", "0x100000000", "12 3", "0x"}) {
    std::string error;
    EXPECT_FALSE(ReadInput(REG_DWORD, bad, &error).has_value()) << bad;
    EXPECT_NE(error.find("DWORD"), std::string::npos) << bad;
  }
  std::string error;
  EXPECT_FALSE(ReadInput(REG_BINARY, "0g", &error).has_value());
  EXPECT_FALSE(ReadInput(REG_BINARY, "abc", &error).has_value());
  EXPECT_FALSE(ReadInput(REG_MULTI_SZ, "a|b", &error).has_value());
  EXPECT_NE(error.find('|'), std::string::npos);
}

}  // namespace
}  // namespace orvane::regedit::editor
