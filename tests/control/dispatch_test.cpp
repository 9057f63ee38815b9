// The dispatch table as data: its shape, look-ups, and a few rows compared
// whole, as text, against the published interface.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "orvane/dispatch.h"

namespace orvane {
namespace {

std::string ParamText(const ParamInfo& p) {
  std::string text = std::string(p.optional ? "Optional " : "") + (p.by_ref ? "ByRef " : "ByVal ") + p.name +
                     " As " + p.type_name;
  if (!p.has_default) return text;
  return text + " = " + Variant::TypeName(p.default_value.type()) + " " + ToString(p.default_value);
  return text;
}

// One row: identifier, name, parameters, result, help context and string.
std::string Row(std::string_view name) {
  const MemberInfo* m = FindMember(name);
  if (m == nullptr) return "missing";
  char id[16];
  std::snprintf(id, sizeof id, "%08x", static_cast<uint32_t>(m->dispid));
  std::string text = std::string(id) + " " + m->name + "(";
  for (size_t i = 0; i < m->params.size(); ++i) text += (i ? ", " : "") + ParamText(m->params[i]);
  return text + ") As " + (m->result_type_name.empty() ? "-" : m->result_type_name) + " [" +
         std::to_string(m->help_context) + "] " + m->help_string;
}

TEST(DispatchTable, HasSevenPropertiesAndThirtyTwoMethodsWithUniqueIds) {
  const auto& members = QuorvelMembers();
  std::set<int32_t> ids;
  int properties = 0;
  for (const MemberInfo& member : members) {
    ids.insert(member.dispid);
    if (member.kind == MemberKind::kProperty) ++properties;
  }
  EXPECT_EQ(members.size(), 39u);
  EXPECT_EQ(ids.size(), 39u);
  EXPECT_EQ(properties, 7);
  EXPECT_EQ(members.front().name, "AboutBox");
  EXPECT_EQ(members.back().name, "DelExtCommand");
}

TEST(DispatchTable, LooksUpByNameInAnyCaseAndByIdentifier) {
  EXPECT_EQ(FindMember("globalkeypath"), FindMember(0x68030006));
  EXPECT_EQ(FindMember("HKEY"), FindMember(0x68030005));
  EXPECT_EQ(FindMember(-552), FindMember("AboutBox"));
  EXPECT_EQ(FindMember("NoSuchMember"), nullptr);
  EXPECT_EQ(FindMember(0x6003002d), nullptr);
}

TEST(DispatchTable, SpotChecksRowsAgainstThePublishedInterface) {
  EXPECT_EQ(Row("Find"),
            "6003001a Find(ByRef StringToFind As String, ByRef FindMode As QVFindMode, ByRef FindKeyPath As Boolean, "
            "ByRef FindValueName As Boolean, ByRef FindValue As Boolean, Optional ByRef Reserved As Variant = "
            "Integer 0, Optional ByRef AllRegistry As Boolean = Boolean False, Optional ByRef ProgressBarHWnd As "
            "Long) As Variant [180] Returns a variant containig the result of a search.");
  EXPECT_EQ(Row("Export"),
            "60030020 Export(ByRef PathName As String, Optional ByRef AllRegistry As Boolean = Boolean False, "
            "Optional ByRef Comment As String) As - [170] Export  part of the registry in a text file.");
  EXPECT_EQ(Row("Undo"),
            "6003001c Undo(Optional ByRef UndoSteps As Integer = Integer 1) As - [360] Undo last actions.");
  EXPECT_EQ(Row("SetValue"),
            "6003000e SetValue(Optional ByRef SetMode As QVOpenMode = Long 0) As - [330] Writes the default value.");
  EXPECT_EQ(Row("SystemInfo"),
            "6003001e SystemInfo(ByVal InfoType As QVSysInfo) As String [350] "
            "Returns the system information you need.");
  EXPECT_EQ(Row("LastAction"), "6003001d LastAction() As Byte [0] ");
  EXPECT_EQ(Row("hKey"), "68030005 hKey(ByVal NewhKey As defHKey) As defHKey [240] Sets the default root key.");
  EXPECT_EQ(Row("AboutBox"), "fffffdd8 AboutBox() As - [100] Shows the About Box of Orvane.");
}

TEST(EnumConstants, SpotChecksValuesAndEnumerations) {
  std::set<std::string> enums;
  std::set<std::string> seen;
  for (const EnumConstant& constant : QuorvelEnumConstants()) {
    enums.insert(constant.enum_name);
    seen.insert(constant.name + "=" + std::to_string(constant.value));
  }
  EXPECT_EQ(enums.size(), 8u);
  EXPECT_TRUE(seen.contains("HKEY_LOCAL_MACHINE=-2147483646"));
  EXPECT_TRUE(seen.contains("HKEY_DYN_DATA=-2147483642"));
  EXPECT_TRUE(seen.contains("WinDir=5"));
  EXPECT_TRUE(seen.contains("MultiStringType=7"));
  EXPECT_FALSE(seen.contains("HKEY_PERFORMANCE_DATA=-2147483644"));
}

}  // namespace
}  // namespace orvane
