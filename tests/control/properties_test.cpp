// The location properties: validation, normalisation, side effects on the
// other properties, the names and order of change notifications, and state
// left untouched by a failed assignment.
#include <gtest/gtest.h>

#include <string>

#include "control/control_fixture.h"
#include "registry/expect_error.h"

namespace orvane {
namespace {

using Names = std::vector<std::string>;

// The whole location as one line: hKey|SubKeyPath|GlobalKeyPath|ValueName|
// ValueType|the type and text of Value.
std::string Location(const Quorvel& q) {
  return std::to_string(q.hKey()) + "|" + q.SubKeyPath() + "|" + q.GlobalKeyPath() + "|" + q.ValueName() + "|" +
         std::to_string(q.ValueType()) + "|" + Variant::TypeName(q.Value().type()) + " " + ToString(q.Value());
}

using Properties = ControlTest;

TEST_F(Properties, NewControlHasTheDefaults) {
  EXPECT_EQ(Location(control_), "-2147483648||HKEY_CLASSES_ROOT||1|String ");
  EXPECT_FALSE(control_.UndoEnabled());
  EXPECT_TRUE(TakeNotifications().empty());
}

TEST_F(Properties, GlobalKeyPathStoresRootAndPathThenNotifiesAllThree) {
  control_.GlobalKeyPath("hkey_local_machine\\Software\\");
  EXPECT_EQ(Location(control_), "-2147483646|Software|HKEY_LOCAL_MACHINE\\Software||1|String ");
  EXPECT_EQ(TakeNotifications(), (Names{"HKey", "SubKeyPath", "GlobalKeyPath"}));
}

TEST_F(Properties, FailedGlobalKeyPathLeavesEverythingUnchanged) {
  control_.GlobalKeyPath("HKEY_USERS\\.Default");
  TakeNotifications();
  const std::string before = Location(control_);
  EXPECT_ERROR_NUMBER(control_.GlobalKeyPath("HKEY_PERFORMANCE_DATA\\x"), 60007);
  EXPECT_ERROR_NUMBER(control_.GlobalKeyPath("HKEY_DYN_DATA"), 60998);
  EXPECT_ERROR_NUMBER(control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\" + std::string(256, 'x')), 60010);
  EXPECT_EQ(Location(control_), before);
  EXPECT_TRUE(TakeNotifications().empty());
  control_.GlobalKeyPath("");  // re-selects the current root
  EXPECT_EQ(Location(control_), "-2147483645||HKEY_USERS||1|String ");
}

TEST_F(Properties, SubKeyPathCollapsesAndTrimsBackslashes) {
  control_.SubKeyPath("\\Software\\\\Classes\\");
  EXPECT_EQ(Location(control_), "-2147483648|Software\\Classes|HKEY_CLASSES_ROOT\\Software\\Classes||1|String ");
  EXPECT_EQ(TakeNotifications(), (Names{"GlobalKeyPath", "SubKeyPath"}));
  control_.SubKeyPath("\\\\\\");
  EXPECT_EQ(control_.GlobalKeyPath(), "HKEY_CLASSES_ROOT");
  EXPECT_ERROR_NUMBER(control_.SubKeyPath("a\\" + std::string(256, 'b')), 60010);
  EXPECT_EQ(control_.SubKeyPath(), "");
  control_.SubKeyPath(std::string(255, 'b'));
  EXPECT_EQ(control_.SubKeyPath().size(), 255u);
}

TEST_F(Properties, HKeyTakesAnyValueAndRebuildsTheGlobalPath) {
  control_.SubKeyPath("S");
  TakeNotifications();
  control_.hKey(static_cast<int32_t>(0x80000004u));
  EXPECT_EQ(control_.GlobalKeyPath(), "HKEY_PERFORMANCE_DATA\\S");
  EXPECT_EQ(TakeNotifications(), (Names{"GlobalKeyPath", "HKey"}));
  control_.hKey(12345);
  EXPECT_EQ(control_.GlobalKeyPath(), "\\S");
  control_.SubKeyPath("");
  EXPECT_EQ(control_.GlobalKeyPath(), "");
}

TEST_F(Properties, ValueNameLosesOneOuterBackslashEachSide) {
  control_.ValueName("\\\\a\\b\\\\");
  EXPECT_EQ(control_.ValueName(), "\\a\\b\\");
  EXPECT_EQ(TakeNotifications(), (Names{"ValueName"}));
}

TEST_F(Properties, ValueTypeResetsValueForTheNewType) {
  control_.Value(Variant::String("old"));
  TakeNotifications();
  const std::pair<int32_t, const char*> cases[] = {
      {3, "3|String 00"}, {4, "4|Integer 0"}, {7, "7|String "}, {2, "2|String "}, {11, "11|String 00"}};
  for (const auto& [type, expected] : cases) {
    control_.ValueType(type);
    EXPECT_TRUE(Location(control_).ends_with(expected)) << Location(control_);
    EXPECT_EQ(TakeNotifications(), (Names{"ValueType", "Value"}));
  }
}

TEST_F(Properties, DWordValueIsComparedAsANumber) {
  control_.ValueType(4);
  control_.Value(Variant::Double(4294967295.0));
  control_.Value(Variant::Long(-1));
  control_.Value(Variant::String(" 4294967295 "));
  EXPECT_TRUE(Location(control_).ends_with("|String  4294967295 "));  // stored as given
  TakeNotifications();
  EXPECT_ERROR_NUMBER(control_.Value(Variant::Double(4294967296.0)), 60007);
  EXPECT_ERROR_NUMBER(control_.Value(Variant::String("4294967296")), 60007);
  EXPECT_ERROR_NUMBER(control_.Value(Variant::Double(4294967295.5)), 60007);
  // Text that is no number cannot be compared: the runtime's type mismatch.
  EXPECT_ERROR_NUMBER(control_.Value(Variant::String("abc")), 13);
  EXPECT_EQ(control_.Value().string(), " 4294967295 ");
  EXPECT_TRUE(TakeNotifications().empty());
}

TEST_F(Properties, BinaryValueMustBeEvenLengthHexText) {
  control_.ValueType(3);
  control_.Value(Variant::String("0aFF"));
  control_.Value(Variant::String(""));
  control_.Value(Variant::Long(12));  // its text "12" is hexadecimal
  EXPECT_EQ(control_.Value().type(), VarType::kLong);
  for (const char* bad : {"0aF", "0g", "0a F", "0x"}) {
    EXPECT_ERROR_NUMBER(control_.Value(Variant::String(bad)), 60007);
  }
  EXPECT_ERROR_NUMBER(control_.Value(Variant::String(std::string("0\0", 2))), 60007);
  control_.ValueType(99);  // unknown types are checked like binary data
  EXPECT_ERROR_NUMBER(control_.Value(Variant::Long(123)), 60007);
}

TEST_F(Properties, TextTypesTakeAnyValueUnchecked) {
  for (int32_t type : {1, 2, 7}) {
    control_.ValueType(type);
    control_.Value(Variant::Double(1e300));
    EXPECT_EQ(control_.Value().type(), VarType::kDouble) << type;
  }
}

TEST_F(Properties, UndoEnabledIsSharedByEveryControlOfTheProcess) {
  Quorvel other(container_);
  control_.UndoEnabled(true);
  EXPECT_TRUE(other.UndoEnabled());
  other.UndoEnabled(false);
  EXPECT_FALSE(control_.UndoEnabled());
  EXPECT_EQ(TakeNotifications(), (Names{"UndoEnabled", "UndoEnabled"}));
  control_.UndoEnabled(true);
  Quorvel newcomer(container_);
  newcomer.InitProperties();  // a new control's defaults switch undo off for all
  EXPECT_FALSE(control_.UndoEnabled());
}

}  // namespace
}  // namespace orvane
