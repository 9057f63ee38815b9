// Writing values: the hexadecimal pair reader, the bytes stored for each
// type, WriteValue's open modes, what it records, and every type read back
// in the form it was written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keyops/journal_fixture.h"
#include "store/registry_store.h"
#include "registry/expect_error.h"
#include "registry/value_read.h"
#include "registry/value_write.h"
#include "orvane/container.h"
#include "orvane/quorvel.h"

namespace orvane {
namespace {

using namespace std::string_literals;
using namespace testing::tree_helpers;

TEST(HexPairToByte, ReadsOnePairAndUpperCasesTheCallersText) {
  struct Case {
    std::string text;
    int byte;
    std::string after;
  };
  const std::vector<Case> cases = {
      {"0a", 0x0A, "0A"}, {"fF", 0xFF, "FF"}, {"7", 7, "7"},
      // Any length but two: only the last character counts.
      {"abc", 0x0C, "ABC"}, {"", 0, ""},
      // A character that is no digit is worth nothing.
      {"g1", 1, "G1"}, {"1z", 16, "1Z"}};
  for (Case c : cases) {
    std::string text = c.text;
    EXPECT_EQ(HexPairToByte(text), c.byte) << c.text;
    EXPECT_EQ(text, c.after);
  }
}

TEST(ValueBytes, ConvertsEachFormIntoTheBytesOfItsType) {
  EXPECT_EQ(ValueBytes(Variant::String("abc"), 1), "abc\0"s);
  EXPECT_EQ(ValueBytes(Variant::Long(12), 2), "12\0"s);
  EXPECT_EQ(ValueBytes(Variant::Long(-2), 4), "\xfe\xff\xff\xff"s);
  EXPECT_EQ(ValueBytes(Variant::Double(2.5), 4), "\x02\0\0\0"s);  // half to even
  EXPECT_EQ(ValueBytes(Variant::String("3.5"), 4), "\x04\0\0\0"s);
  EXPECT_EQ(ValueBytes(Variant::String("a|b"), 7), "a\0b\0\0"s);
  EXPECT_EQ(ValueBytes(Variant::String(""), 7), "\0\0"s);
  EXPECT_EQ(ValueBytes(Variant::String("a|"), 7), "a\0\0"s);
  EXPECT_EQ(ValueBytes(Variant::String("0aFF"), 3), "\x0a\xff"s);
  EXPECT_EQ(ValueBytes(Variant::String(""), 3), ""s);
  EXPECT_EQ(ValueBytes(Variant::String("01000000"), 5), "\x01\0\0\0"s);
}

TEST(ValueBytes, RefusesWhatItsTypeCannotHold) {
  EXPECT_ERROR_NUMBER(ValueBytes(Variant::Double(2147483648.0), 4), 6);
  EXPECT_ERROR_NUMBER(ValueBytes(Variant::String("4294967295"), 4), 6);
  EXPECT_ERROR_NUMBER(ValueBytes(Variant::String("many"), 4), 13);
  EXPECT_ERROR_NUMBER(ValueBytes(Variant::String("0aF"), 3), 60007);
  EXPECT_ERROR_NUMBER(ValueBytes(Variant::String("0g"), 8), 60007);
}

class WriteValueTest : public testing::JournalTest {
 protected:
  static constexpr const char* kKey = "Software\\W";

  // Writes through WriteValue and returns the type it left behind.
  static int32_t Write(const std::string& path, const std::string& name, const Variant& value, int32_t type,
                       uint8_t mode = kOpenAndCreate, bool record = true) {
    WriteValue(HKEY_CURRENT_USER, path, name, value, type, mode, record);
    return type;
  }
  static std::string Stored(const std::string& path) { return TreeText(HKEY_CURRENT_USER, path); }
};

TEST_F(WriteValueTest, EveryTypeReadsBackInTheFormItWasWritten) {
  struct Case {
    int32_t type;
    Variant written;
    Variant read;
  };
  const std::vector<Case> cases = {
      {1, Variant::String("plain text"), Variant::String("plain text")},
      {2, Variant::String("C:\\folder"), Variant::String("C:\\folder")},
      {3, Variant::String("00A0ff"), Variant::String("00a0ff")},
      {3, Variant::String(""), Variant::String("")},
      {4, Variant::Long(-2147483647 - 1), Variant::Long(-2147483647 - 1)},
      {4, Variant::String("2147483647"), Variant::Long(2147483647)},
      {7, Variant::String("one|two|three"), Variant::String("one|two|three")},
      {7, Variant::String(""), Variant::String("")},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const std::string name = "v" + std::to_string(i);
    EXPECT_EQ(Write(kKey, name, cases[i].written, cases[i].type), cases[i].type);
    const Variant read = ReadValue(HKEY_CURRENT_USER, kKey, name);
    EXPECT_EQ(DebugText(read), DebugText(cases[i].read)) << "type " << cases[i].type;
  }
}

TEST_F(WriteValueTest, OtherTypeNumbersStoreTheirHexBytesUnderTheirOwnNumber) {
  Write(kKey, "five", Variant::String("01000000"), 5);
  Write(kKey, "zero", Variant::String("FF"), 0);
  Write(kKey, "big", Variant::String("0a0B"), 4711);
  EXPECT_EQ(Stored(kKey), "[]\n\"five\"=5:01000000\n\"zero\"=0:ff\n\"big\"=4711:0a0b\n");
  // Types the control has no form for read back as nothing.
  EXPECT_EQ(ReadValue(HKEY_CURRENT_USER, kKey, "big").type(), VarType::kEmpty);
}

TEST_F(WriteValueTest, OpenModesDecideWhetherTheKeyMayBeCreated) {
  EXPECT_ERROR_NUMBER(Write("Software\\Missing", "v", Variant::String("x"), 1, kOpenOnly), 60002);
  EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Missing"));
  // Any other mode writes nothing; the recorded form still tests the key.
  EXPECT_ERROR_NUMBER(Write("Software\\Missing", "v", Variant::String("x"), 1, 2), 60002);
  Write("Software\\Missing", "v", Variant::String("x"), 1, 2, false);
  PutString(HKEY_CURRENT_USER, kKey, "v", "old");
  SetUndoEnabledFlag(true);
  Write(kKey, "v", Variant::String("new"), 1, 2);
  EXPECT_EQ(Stored(kKey), "[]\n\"v\"=\"old\"\n");
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(WriteValueTest, RecordsTheTopmostCreatedKeyOrTheValue) {
  SetUndoEnabledFlag(true);
  PutKey(HKEY_CURRENT_USER, "Software\\Top");
  Write("Software\\Top\\A\\B", "v", Variant::String("x"), 1);
  EXPECT_EQ(Record(0), "[]\n\"\"=\"A0\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\Top\\A\"\n");
  Write("Software\\Top\\A\\B", "w", Variant::String("y"), 1, kOpenOnly);
  EXPECT_EQ(Record(0), "[]\n\"\"=\"A1\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\Top\\A\\B\"\n"
                       "\"ValueName\"=\"w\"\n");
  Write("Software\\Top\\A\\B", "w", Variant::Long(3), 4);
  EXPECT_EQ(Record(0), "[]\n\"\"=\"A2\"\n\"hKey\"=\"-2147483647\"\n\"KeyPath\"=\"Software\\Top\\A\\B\"\n"
                       "\"ValueName\"=\"w\"\n[OldValue]\n\"w\"=\"y\"\n");
  EXPECT_FALSE(TempUndoThere());
  EXPECT_EQ(RecordCount(), 3);
}

TEST_F(WriteValueTest, TheReplacedValueIsParkedEvenWithUndoDisabled) {
  PutValue(HKEY_CURRENT_USER, kKey, "v", REG_BINARY, "\x01\x02");
  Write(kKey, "v", Variant::String("new"), 1);
  EXPECT_EQ(TreeText(HKEY_LOCAL_MACHINE, TempUndoKeyPath()), "[]\n\"v\"=3:0102\n");
  EXPECT_EQ(RecordCount(), -1);
  // The next parking write empties it first.
  Write(kKey, "w", Variant::String("other"), 1);
  EXPECT_FALSE(TempUndoThere());
}

TEST_F(WriteValueTest, AFailedConversionWritesAndRecordsNothing) {
  SetUndoEnabledFlag(true);
  EXPECT_ERROR_NUMBER(Write("Software\\Made", "b", Variant::String("0aF"), 3), 60007);
  EXPECT_EQ(Stored("Software\\Made"), "[]\n");  // the created key stays
  PutString(HKEY_CURRENT_USER, kKey, "d", "keep");
  EXPECT_ERROR_NUMBER(Write(kKey, "d", Variant::Double(4294967295.0), 4), 6);
  EXPECT_ERROR_NUMBER(Write(kKey, "d", Variant::String("ten"), 4), 13);
  EXPECT_EQ(Stored(kKey), "[]\n\"d\"=\"keep\"\n");
  EXPECT_EQ(RecordCount(), -1);
}

TEST_F(WriteValueTest, AWriteTheRegistryRefusesIsRaisedAndNotRecorded) {
  SetUndoEnabledFlag(true);
  PutString(HKEY_CURRENT_USER, kKey, "v", "old");
  // The key opens, but no value may have a name this long (status 87).
  const std::string too_long(16384, 'n');
  EXPECT_ERROR_NUMBER(Write(kKey, too_long, Variant::String("new"), 1), 60007);
  EXPECT_EQ(RecordCount(), -1);
  // A read-only key refuses the open for writing already.
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_CURRENT_USER, kKey, true), 0);
  EXPECT_ERROR_NUMBER(Write(kKey, "v", Variant::String("new"), 1, kOpenOnly), 60005);
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_CURRENT_USER, kKey, false), 0);
  EXPECT_EQ(Stored(kKey), "[]\n\"v\"=\"old\"\n");
  EXPECT_EQ(RecordCount(), -1);
}

// Records the names of the properties the control reports as changed.
class RecordingContainer : public Container {
 public:
  void PropertyChanged(std::string_view name) override { changed.emplace_back(name); }
  std::vector<std::string> changed;
};

TEST_F(WriteValueTest, SetValueWritesTheCurrentValueAndMayResetItsType) {
  RecordingContainer container;
  Quorvel control(container);
  control.InitProperties();
  control.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\W");
  control.ValueType(4);
  control.Value(Variant::Long(5));
  container.changed.clear();
  int32_t mode = 0;
  control.SetValue(mode);
  EXPECT_EQ(control.ValueType(), 1);  // the default value is a string,
  EXPECT_TRUE(container.changed.empty());  // changed without a notification
  EXPECT_EQ(Stored(kKey), "[]\n\"\"=\"5\"\n");
  mode = 256;
  EXPECT_ERROR_NUMBER(control.SetValue(mode), 6);
}

}  // namespace
}  // namespace orvane
