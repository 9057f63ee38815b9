// Late-bound calls: property get and put, conversion of arguments to the
// parameters' types with the runtime's errors, argument counting, and
// by-reference write-back.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "control/control_fixture.h"
#include "orvane/dispatch.h"
#include "registry/expect_error.h"

namespace orvane {
namespace {

class InvokeTest : public ControlTest {
 protected:
  Variant Get(std::string_view name) { return Invoke(control_, *FindMember(name), InvokeKind::kPropertyGet, {}); }
  void Put(std::string_view name, Variant value) {
    Invoke(control_, *FindMember(name), InvokeKind::kPropertyPut, {&value});
  }
  Variant Call(std::string_view name, const std::vector<Variant*>& args) {
    return Invoke(control_, *FindMember(name), InvokeKind::kMethod, args);
  }
};

TEST_F(InvokeTest, PropertiesRoundTripThroughTheTable) {
  Put("globalkeypath", Variant::String("hkey_local_machine\\Software\\"));
  EXPECT_EQ(Get("GlobalKeyPath").string(), "HKEY_LOCAL_MACHINE\\Software");
  const Variant root = Get("hKey");
  EXPECT_EQ(root.type(), VarType::kLong);
  EXPECT_EQ(root.long_value(), -2147483646);
  Put("UndoEnabled", Variant::Long(1));
  EXPECT_EQ(Get("UndoEnabled").type(), VarType::kBoolean);
  EXPECT_TRUE(Get("UndoEnabled").boolean());
  Put("UndoEnabled", Variant::Boolean(false));
}

TEST_F(InvokeTest, PropertyAssignmentsConvertToThePropertyType) {
  Put("ValueType", Variant::String(" 4 "));
  EXPECT_EQ(control_.ValueType(), 4);
  EXPECT_EQ(Get("Value").type(), VarType::kInteger);
  Put("hKey", Variant::Double(2147483647.0));
  EXPECT_EQ(control_.hKey(), 2147483647);
  EXPECT_ERROR_NUMBER(Put("hKey", Variant::String("abc")), 13);
  EXPECT_ERROR_NUMBER(Put("hKey", Variant::Double(2147483648.0)), 6);
  EXPECT_ERROR_NUMBER(Put("ValueType", Variant::Null()), 94);
  Put("Value", Variant::Byte(7));  // a Variant property keeps the type given
  EXPECT_EQ(Get("Value").type(), VarType::kByte);
  EXPECT_ERROR_NUMBER(Put("Value", Variant::Double(5e9)), 60007);
}

TEST_F(InvokeTest, ArgumentCountsAndKindsAreChecked) {
  Variant extra = Variant::Long(1);
  const MemberInfo& hkey = *FindMember("hKey");
  EXPECT_ERROR_NUMBER(Invoke(control_, hkey, InvokeKind::kPropertyGet, {&extra}), 450);
  EXPECT_ERROR_NUMBER(Invoke(control_, hkey, InvokeKind::kPropertyPut, {}), 449);
  EXPECT_ERROR_NUMBER(Invoke(control_, hkey, InvokeKind::kPropertyPut, {nullptr}), 449);
  EXPECT_ERROR_NUMBER(Invoke(control_, hkey, InvokeKind::kPropertyPut, {&extra, &extra}), 450);
  EXPECT_ERROR_NUMBER(Invoke(control_, *FindMember("GetValue"), InvokeKind::kPropertyPut, {&extra}), 438);
  EXPECT_ERROR_NUMBER(Call("GetValue", {&extra}), 450);
  EXPECT_ERROR_NUMBER(Call("CopyKey", {&extra}), 449);
  EXPECT_ERROR_NUMBER(Call("CopyKey", {nullptr, &extra}), 449);
  std::vector<Variant*> nine(9, &extra);
  EXPECT_ERROR_NUMBER(Call("Find", nine), 450);
}

// Methods whose features are built; the rest must still answer 60999.
const std::set<std::string> kBuiltMethods = {"AboutBox", "GetValue", "VerifyExistence", "SetKey", "DeleteKey",
                                             "CopyKey",  "MoveKey",         "RenameKey",
                                             // enumeration, counting, bulk writing, file types
                                             "GetAllValues", "GetAllKeys", "Count", "ForceWriting", "SetAllValues",
                                             "SetAllKeys", "RegisterExtension", "UnregisterExtension",
                                             "AddExtCommand", "DelExtCommand",
                                             // value writing, deletion, copy, move, rename, undo
                                             "SetValue", "DeleteValue", "CopyValue", "MoveValue", "RenameValue",
                                             "Undo", "LastAction",
                                             // registry files, system information
                                             "Export", "Import", "Backup", "Restore", "SystemInfo",
                                             // search and replace
                                             "Find", "Replace"};

TEST_F(InvokeTest, EveryPendingMethodIsReachableAndNotYetAvailable) {
  for (const MemberInfo& member : QuorvelMembers()) {
    if (member.kind != MemberKind::kMethod || kBuiltMethods.count(member.name)) continue;
    std::vector<Variant> values(member.params.size(), Variant::Long(0));
    std::vector<Variant*> args;
    for (Variant& value : values) args.push_back(&value);
    EXPECT_ERROR_NUMBER(Call(member.name, args), 60999);
    // Read as a property, a method is simply called without arguments.
    const bool needs_argument = !member.params.empty() && !member.params[0].optional;
    EXPECT_ERROR_NUMBER(Invoke(control_, member, InvokeKind::kPropertyGet, {}), needs_argument ? 449 : 60999);
  }
}

TEST_F(InvokeTest, EnumerationModesAreNarrowedToAByte) {
  for (int32_t bad : {256, -1, 70000}) {
    Variant mode = Variant::Long(bad);
    EXPECT_ERROR_NUMBER(Call("SetValue", {&mode}), 6);
    EXPECT_ERROR_NUMBER(Call("VerifyExistence", {&mode}), 6);
  }
  Variant mode = Variant::Long(255);
  Call("SetValue", {&mode});  // a mode past OpenOnly writes nothing
  EXPECT_ERROR_NUMBER(Call("GetValue", {}), 60009);
  Call("SetValue", {});  // omitted: OpenAndCreate
  EXPECT_EQ(Call("GetValue", {}).type(), VarType::kEmpty);
  EXPECT_EQ(control_.Value().string(), "");
}

TEST_F(InvokeTest, ArgumentsThatDoNotConvertRaiseTheRuntimeError) {
  Variant steps = Variant::Long(70000);
  EXPECT_ERROR_NUMBER(Call("Undo", {&steps}), 6);
  EXPECT_EQ(steps.type(), VarType::kLong);  // never reached the method: not written back
  Variant text = Variant::String("abc");
  EXPECT_ERROR_NUMBER(Call("Count", {&text}), 13);
  EXPECT_EQ(text.string(), "abc");
  Variant fine = Variant::Long(0);
  EXPECT_ERROR_NUMBER(Call("Find", {&fine, &text, &fine, &fine, &fine}), 13);
}

TEST_F(InvokeTest, ByReferenceArgumentsComeBackAsTheParameterType) {
  Variant path = Variant::Long(5);
  Variant all = Variant::Long(0);
  Put("SubKeyPath", Variant::String("NoSuchKeyToExport"));  // fails before any editor starts
  EXPECT_ERROR_NUMBER(Call("Export", {&path, &all, nullptr}), 60009);
  Put("SubKeyPath", Variant::String(""));
  ASSERT_EQ(path.type(), VarType::kString);
  EXPECT_EQ(path.string(), "5");
  ASSERT_EQ(all.type(), VarType::kBoolean);
  EXPECT_FALSE(all.boolean());
  Variant mode = Variant::String("1");
  Call("SetValue", {&mode});
  ASSERT_EQ(mode.type(), VarType::kLong);
  EXPECT_EQ(mode.long_value(), 1);
  Variant steps = Variant::Double(2.5);
  EXPECT_ERROR_NUMBER(Call("Undo", {&steps}), 60101);
  ASSERT_EQ(steps.type(), VarType::kInteger);
  EXPECT_EQ(steps.integer(), 2);
}

TEST_F(InvokeTest, ByValueArgumentsAreNotWrittenBack) {
  Variant info = Variant::String("13");
  EXPECT_EQ(Call("SystemInfo", {&info}).string(), "");
  ASSERT_EQ(info.type(), VarType::kString);
  EXPECT_EQ(info.string(), "13");
}

}  // namespace
}  // namespace orvane
