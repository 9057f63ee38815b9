// Names as Windows takes them: lengths counted in UTF-16 units (255 for a
// key name, 16,383 for a value name) whatever their UTF-8 bytes, and a NUL
// inside a name, key path or file name refused before anything is touched,
// since the registry's and the file system's C strings would end the name
// there and reach another key, value or file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "control/control_fixture.h"
#include "keyops/registry_text.h"
#include "orvane/property_bag.h"
#include "store/name_case.h"
#include "registry/expect_error.h"
#include "registry/key_path.h"

namespace orvane {
namespace {

using namespace testing::tree_helpers;
using namespace std::string_literals;

const std::string kE = "\xC3\xA9";             // é: one unit, two bytes
const std::string kSmile = "\xF0\x9F\x98\x80";  // beyond the BMP: two units, four bytes

std::string Repeat(const std::string& text, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

Variant Str(const std::string& text) { return Variant::String(text); }

TEST(NameLength, CountsUtf16UnitsAndEachByteThatIsNotUtf8AsOne) {
  const struct {
    std::string text;
    size_t units;
  } cases[] = {
      {"", 0},         {"abc", 3},     {kE + "t" + kE, 3}, {"\xE2\x82\xAC", 1}, {kSmile, 2},
      {"\xE9", 1},     {"\xF0\x9F", 2},  // a cut sequence: each byte one character
      {"\xC0\xAF", 2},                   // an overlong form is no character either
  };
  for (const auto& c : cases) EXPECT_EQ(platform::Utf16Length(c.text), c.units) << c.text;
}

class NameLimitsTest : public ControlTest {
 protected:
  NameLimitsTest() { control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Names"); }
};

// 128 and 255 `é` (256 and 510 bytes) make a key name; 256 do not. A
// character beyond the BMP counts two units.
TEST_F(NameLimitsTest, KeyNamesUpTo255Utf16UnitsAreTaken) {
  const std::string accepted[] = {Repeat(kE, 128), Repeat(kE, 255), Repeat(kSmile, 127) + "a"};
  for (const std::string& name : accepted) {
    control_.SubKeyPath("Software\\Names\\" + name);
    control_.SetKey();
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Software\\Names\\" + name)) << name.size();
    control_.SubKeyPath("Software\\Names");
    control_.CopyKey(kHkeyCurrentUser, "Software\\Copies\\" + name);
    EXPECT_TRUE(KeyThere(HKEY_CURRENT_USER, "Software\\Copies\\" + name)) << name.size();
  }
  const std::string before = TreeText(HKEY_CURRENT_USER, "Software");
  for (const std::string& name : {Repeat(kE, 256), Repeat(kSmile, 128)}) {
    EXPECT_ERROR_NUMBER(control_.SubKeyPath("Software\\" + name), 60010);
    EXPECT_ERROR_NUMBER(control_.GlobalKeyPath("HKEY_CURRENT_USER\\" + name), 60010);
    EXPECT_ERROR_NUMBER(control_.CopyKey(kHkeyCurrentUser, "Software\\Too\\" + name), 60007);
  }
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, "Software"), before);
}

// A value name of 16,383 `é` (32,766 bytes) is written, listed, deleted and
// brought back by Undo whole; 16,384 are refused.
TEST_F(NameLimitsTest, ValueNamesUpTo16383Utf16UnitsAreTakenWhole) {
  const std::string longest = Repeat(kE, 16383);
  control_.UndoEnabled(true);
  control_.ValueName(longest);
  control_.Value(Str("long"));
  control_.SetValue();
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Software\\Names", longest), "long");
  const Variant table = control_.GetAllValues();
  EXPECT_EQ(ToString(table.array().at(0, 0)), longest);
  control_.SetAllValues(table);  // replaces it, then Undo reads the saved names back
  control_.Undo(1);
  control_.DeleteValue();
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Software\\Names", longest), "<missing>");
  control_.Undo(1);
  EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Software\\Names", longest), "long");
  for (const std::string& name : {Repeat(kE, 16384), Repeat(kSmile, 8191) + "ab"}) {
    control_.ValueName(name);
    EXPECT_ERROR_NUMBER(control_.SetValue(), 60007);
    EXPECT_EQ(testing::StringAt(HKEY_CURRENT_USER, "Software\\Names", name), "<missing>");
  }
}

class NulInNamesTest : public ControlTest {
 protected:
  NulInNamesTest() {
    testing::PutString(HKEY_CURRENT_USER, "Software\\T\\Inner", "v", "1");
    testing::PutString(HKEY_CURRENT_USER, "Software\\N3", "keep", "kept");
    control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\N3");
    control_.ValueName("keep");
    before_ = TreeText(HKEY_CURRENT_USER, "");
  }
  std::string before_;
};

// Each location property and each name argument holding a NUL raises 60007
// and leaves the location and the registry as they were.
TEST_F(NulInNamesTest, RegistryNamesHoldingANulAreRefused) {
  const auto cut = [](const std::string& text) { return text + "\0zzz"s; };
  EXPECT_ERROR_NUMBER(control_.GlobalKeyPath(cut("HKEY_CURRENT_USER\\Software\\T")), 60007);
  EXPECT_ERROR_NUMBER(control_.SubKeyPath(cut("Software\\T")), 60007);
  EXPECT_ERROR_NUMBER(control_.ValueName("keep\0junk"s), 60007);
  EXPECT_ERROR_NUMBER(control_.ValueName("keep\0x"s), 60007);
  EXPECT_EQ(control_.GlobalKeyPath(), "HKEY_CURRENT_USER\\Software\\N3");
  EXPECT_EQ(control_.ValueName(), "keep");
  EXPECT_ERROR_NUMBER(control_.CopyKey(kHkeyCurrentUser, "Software\\N2\0x"s), 60007);
  EXPECT_ERROR_NUMBER(control_.MoveKey(kHkeyCurrentUser, "Software\\N2\0x"s), 60007);
  std::string new_name = "N3\0t"s;
  EXPECT_ERROR_NUMBER(control_.RenameKey(new_name), 60007);
  EXPECT_EQ(new_name, "N3\0t"s);
  EXPECT_ERROR_NUMBER(control_.CopyValue(kHkeyCurrentUser, "Software\\Other", "keep\0x"s), 60007);
  EXPECT_ERROR_NUMBER(control_.MoveValue(kHkeyCurrentUser, "Software\\N2\0x"s, "k"), 60007);
  EXPECT_ERROR_NUMBER(control_.RenameValue("keep\0x"s), 60007);
  SafeArray keys(VarType::kVariant, {ArrayBound{0, 1}});
  keys.set(0, Str("fine"));
  keys.set(1, Str("N2\0x"s));
  Variant key_list = Variant::Array(keys);
  EXPECT_ERROR_NUMBER(control_.SetAllKeys(key_list), 60007);
  SafeArray values(VarType::kVariant, {ArrayBound{0, 0}, ArrayBound{0, 2}});
  values.set(0, 0, Str("keep\0junk"s));
  values.set(0, 1, Str("new"));
  values.set(0, 2, Variant::Long(1));
  EXPECT_ERROR_NUMBER(control_.SetAllValues(Variant::Array(values)), 60007);
  int32_t window = 0;
  EXPECT_ERROR_NUMBER(control_.Replace("keep", "k\0x"s, 0, true, true, false, Variant(), false, window), 60007);
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before_);
  std::string extension = ".txt\0x"s;
  EXPECT_ERROR_NUMBER(control_.RegisterExtension(extension, "Text", "icon"), 60007);
  EXPECT_ERROR_NUMBER(control_.AddExtCommand("txt\0x"s, "open", "Open", "cat"), 60007);
  EXPECT_ERROR_NUMBER(control_.AddExtCommand("txt", "open\0x"s, "Open", "cat"), 60007);
  EXPECT_FALSE(KeyThere(HKEY_CLASSES_ROOT, ".txt"));
  EXPECT_FALSE(KeyThere(HKEY_CLASSES_ROOT, "txt-ORV"));
}

// A saved location holding a NUL is not loaded: nothing changes.
TEST_F(NulInNamesTest, ReadPropertiesRefusesALocationHoldingANul) {
  for (const char* property : {"SubKeyPath", "GlobalKeyPath", "ValueName"}) {
    MemoryPropertyBag bag;
    bag.WriteProperty("HKey", Variant::Long(kHkeyCurrentUser), Variant());
    bag.WriteProperty(property, Str("Software\\T\0zzz"s), Variant());
    EXPECT_ERROR_NUMBER(control_.ReadProperties(bag), 60007);
    EXPECT_EQ(control_.GlobalKeyPath(), "HKEY_CURRENT_USER\\Software\\N3") << property;
    EXPECT_EQ(control_.ValueName(), "keep") << property;
  }
}

// Export, Import and a form file's Save and load refuse a file name holding
// a NUL with the file error 75 before any file is touched:
// "/dir/important" & Chr(0) & ".reg" never reaches "/dir/important".
TEST_F(NulInNamesTest, FileNamesHoldingANulAreRefused) {
  const std::filesystem::path important = registry_.path() / "important";
  std::ofstream(important) << "precious";
  const std::string name = important.string() + "\0.reg"s;
  EXPECT_ERROR_NUMBER(control_.Export(name), 75);
  EXPECT_ERROR_NUMBER(control_.Export(name, true), 75);
  EXPECT_ERROR_NUMBER(control_.Import(name), 75);
  MemoryPropertyBag bag;
  control_.WriteProperties(bag);
  EXPECT_ERROR_NUMBER(bag.SaveFile(name), 75);
  EXPECT_ERROR_NUMBER(MemoryPropertyBag::LoadFile(name), 75);
  std::ifstream in(important);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
  EXPECT_TREE_EQ(TreeText(HKEY_CURRENT_USER, ""), before_);
}

}  // namespace
}  // namespace orvane
