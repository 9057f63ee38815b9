// The control as a C++ program embeds it: literals and temporaries as
// arguments, the named constants with the type library's numbers, the
// version macros, the choice of the store, and the members that write an
// argument back.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "control/control_fixture.h"
#include "orvane/constants.h"
#include "orvane/dispatch.h"
#include "orvane/store.h"
#include "orvane/version.h"

namespace orvane {
namespace {

using EmbeddingApi = ControlTest;

TEST_F(EmbeddingApi, MembersTakeLiteralsTemporariesAndConstants) {
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Embed");
  control_.ValueName("Size");
  control_.ValueType(orvane::ValueType::DWord);
  control_.Value(Variant::Long(42));
  control_.SetValue();
  control_.SetValue(0);
  control_.SetValue(OpenMode::OpenOnly);
  EXPECT_TRUE(control_.VerifyExistence(VerifyType::VerifyValueName));
  EXPECT_EQ(control_.Count(CountType::CountValues), 1);
  EXPECT_EQ(control_.Count(CountType::CountValues, CountMode::IncludeSubKeys), 1);
  control_.CopyKey(RootKey::CurrentUser, "Software\\Copied");
  control_.CopyValue(RootKey::CurrentUser, std::string("Software\\Copied"), "Size 2");
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Copied");
  EXPECT_EQ(control_.Count(CountType::CountValues), 2);
  EXPECT_EQ(control_.hKey(), RootKey::CurrentUser);
  control_.AddExtCommand(".emb", "open", "Open", "viewer %1");
  int32_t progress_window = 0;
  const Variant found =
      control_.Find("Size 2", FindMode::WholeString, false, true, false, Variant::Integer(0), false, progress_window);
  EXPECT_TRUE(found.is_array());
}

// Each constant of the type library has its C++ name with the same number.
TEST(EmbeddingConstants, EveryTypeLibraryConstantHasItsCppNameAndNumber) {
  const std::map<std::pair<std::string, std::string>, int32_t> cpp = {
      {{"defHKey", "HKEY_CLASSES_ROOT"}, RootKey::ClassesRoot},
      {{"defHKey", "HKEY_CURRENT_USER"}, RootKey::CurrentUser},
      {{"defHKey", "HKEY_LOCAL_MACHINE"}, RootKey::LocalMachine},
      {{"defHKey", "HKEY_USERS"}, RootKey::Users},
      {{"defHKey", "HKEY_CURRENT_CONFIG"}, RootKey::CurrentConfig},
      {{"defHKey", "HKEY_DYN_DATA"}, RootKey::DynData},
      {{"defValueType", "StringType"}, ValueType::String},
      {{"defValueType", "ExpandedStringType"}, ValueType::ExpandedString},
      {{"defValueType", "BinaryType"}, ValueType::Binary},
      {{"defValueType", "DWordType"}, ValueType::DWord},
      {{"defValueType", "MultiStringType"}, ValueType::MultiString},
      {{"QVFindMode", "WholeString"}, FindMode::WholeString},
      {{"QVFindMode", "PartialString"}, FindMode::PartialString},
      {{"QVOpenMode", "OpenAndCreate"}, OpenMode::OpenAndCreate},
      {{"QVOpenMode", "OpenOnly"}, OpenMode::OpenOnly},
      {{"QVCountMode", "ExcludeSubKeys"}, CountMode::ExcludeSubKeys},
      {{"QVCountMode", "IncludeSubKeys"}, CountMode::IncludeSubKeys},
      {{"QVCountType", "CountValues"}, CountType::CountValues},
      {{"QVCountType", "CountSubKeys"}, CountType::CountSubKeys},
      {{"QVVerifyType", "VerifyValueName"}, VerifyType::VerifyValueName},
      {{"QVVerifyType", "VerifyKey"}, VerifyType::VerifyKey},
      {{"QVSysInfo", "OS"}, SysInfo::OS},
      {{"QVSysInfo", "ProductID"}, SysInfo::ProductID},
      {{"QVSysInfo", "VersionNumber"}, SysInfo::VersionNumber},
      {{"QVSysInfo", "RegisteredOwner"}, SysInfo::RegisteredOwner},
      {{"QVSysInfo", "RegisteredOrganization"}, SysInfo::RegisteredOrganization},
      {{"QVSysInfo", "WinDir"}, SysInfo::WinDir},
      {{"QVSysInfo", "SysDir"}, SysInfo::SysDir},
      {{"QVSysInfo", "TempDir"}, SysInfo::TempDir},
      {{"QVSysInfo", "ProgramFilesDir"}, SysInfo::ProgramFilesDir},
      {{"QVSysInfo", "CommonFilesDir"}, SysInfo::CommonFilesDir},
      {{"QVSysInfo", "ComputerName"}, SysInfo::ComputerName},
      {{"QVSysInfo", "UserName"}, SysInfo::UserName},
      {{"QVSysInfo", "UserLanguage"}, SysInfo::UserLanguage},
  };
  EXPECT_EQ(cpp.size(), QuorvelEnumConstants().size());
  for (const EnumConstant& constant : QuorvelEnumConstants()) {
    auto it = cpp.find({constant.enum_name, constant.name});
    ASSERT_NE(it, cpp.end()) << constant.enum_name << "." << constant.name;
    EXPECT_EQ(it->second, constant.value) << constant.enum_name << "." << constant.name;
  }
}

TEST(EmbeddingVersion, TheMacrosSpellTheLibraryVersion) {
  EXPECT_EQ(std::string(ORVANE_VERSION_STRING), std::to_string(ORVANE_VERSION_MAJOR) + "." +
                                                    std::to_string(ORVANE_VERSION_MINOR) + "." +
                                                    std::to_string(ORVANE_VERSION_PATCH));
  EXPECT_GE(ORVANE_VERSION_MAJOR, 1);
}

TEST(EmbeddingStore, AProgramChoosesItsStoreFile) {
  TempRegistry registry;
  const std::filesystem::path chosen = registry.path() / "chosen.db";
  SelectStore(chosen);
  NullContainer container;
  Quorvel control(container);
  control.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Chosen");
  control.SetKey();
  EXPECT_EQ(CurrentStorePath(), std::filesystem::canonical(chosen));
  EXPECT_FALSE(DefaultStorePath().empty());

  const std::filesystem::path not_a_store = registry.path() / "text.db";
  std::ofstream(not_a_store) << "not a database, only text that is long enough to be looked at";
  EXPECT_THROW(SelectStore(not_a_store), Error);
  SelectStore(chosen);
  EXPECT_TRUE(control.VerifyExistence(VerifyType::VerifyKey));
}

TEST_F(EmbeddingApi, MembersThatWriteBackChangeTheCallersVariable) {
  std::string extension = "emb";
  control_.RegisterExtension(extension, "Embedded file", "icon.ico");
  EXPECT_EQ(extension, ".emb");
  control_.GlobalKeyPath("HKEY_CURRENT_USER\\Software\\Old");
  control_.SetKey();
  std::string name = "New";
  control_.RenameKey(name);
  EXPECT_EQ(name, "Software\\New");
  int32_t progress_window = 0;
  control_.Find("New", FindMode::WholeString, true, false, false, Variant::Integer(0), false, progress_window);
  EXPECT_EQ(progress_window, -1);
}

}  // namespace
}  // namespace orvane
