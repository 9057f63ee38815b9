// The enumerations of the type library, member by member, as Long values.
#include "orvane/dispatch.h"

namespace orvane {

const std::vector<EnumConstant>& QuorvelEnumConstants() {
  static const std::vector<EnumConstant> constants = {
      {"defHKey", "HKEY_CLASSES_ROOT", static_cast<int32_t>(0x80000000u)},
      {"defHKey", "HKEY_CURRENT_USER", static_cast<int32_t>(0x80000001u)},
      {"defHKey", "HKEY_LOCAL_MACHINE", static_cast<int32_t>(0x80000002u)},
      {"defHKey", "HKEY_USERS", static_cast<int32_t>(0x80000003u)},
      {"defHKey", "HKEY_CURRENT_CONFIG", static_cast<int32_t>(0x80000005u)},
      {"defHKey", "HKEY_DYN_DATA", static_cast<int32_t>(0x80000006u)},
      {"defValueType", "StringType", 1},
      {"defValueType", "ExpandedStringType", 2},
      {"defValueType", "BinaryType", 3},
      {"defValueType", "DWordType", 4},
      {"defValueType", "MultiStringType", 7},
      {"QVFindMode", "WholeString", 0},
      {"QVFindMode", "PartialString", 1},
      {"QVOpenMode", "OpenAndCreate", 0},
      {"QVOpenMode", "OpenOnly", 1},
      {"QVCountMode", "ExcludeSubKeys", 0},
      {"QVCountMode", "IncludeSubKeys", 1},
      {"QVCountType", "CountValues", 0},
      {"QVCountType", "CountSubKeys", 1},
      {"QVVerifyType", "VerifyValueName", 0},
      {"QVVerifyType", "VerifyKey", 1},
      {"QVSysInfo", "OS", 0},
      {"QVSysInfo", "ProductID", 1},
      {"QVSysInfo", "VersionNumber", 2},
      {"QVSysInfo", "RegisteredOwner", 3},
      {"QVSysInfo", "RegisteredOrganization", 4},
      {"QVSysInfo", "WinDir", 5},
      {"QVSysInfo", "SysDir", 6},
      {"QVSysInfo", "TempDir", 7},
      {"QVSysInfo", "ProgramFilesDir", 8},
      {"QVSysInfo", "CommonFilesDir", 9},
      {"QVSysInfo", "ComputerName", 10},
      {"QVSysInfo", "UserName", 11},
      {"QVSysInfo", "UserLanguage", 12},
  };
  return constants;
}

}  // namespace orvane
