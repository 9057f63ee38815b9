// The type library's enumerations as C++ names with the type library's
// numbers: orvane::RootKey::CurrentUser is HKEY_CURRENT_USER,
// orvane::ValueType::DWord is DWordType, and so on. Each is an enumeration
// with a fixed int32_t type inside a struct of its own name, so its members
// convert to the int32_t that the control's properties and methods take:
//   control.hKey(orvane::RootKey::LocalMachine);
//   control.SetValue(orvane::OpenMode::OpenOnly);
#pragma once

#include <cstdint>

namespace orvane {

// defHKey: the predefined root keys.
struct RootKey {
  enum Value : int32_t {
    ClassesRoot = -2147483647 - 1,  // HKEY_CLASSES_ROOT, 0x80000000
    CurrentUser = -2147483647,      // HKEY_CURRENT_USER, 0x80000001
    LocalMachine = -2147483646,     // HKEY_LOCAL_MACHINE, 0x80000002
    Users = -2147483645,            // HKEY_USERS, 0x80000003
    CurrentConfig = -2147483643,    // HKEY_CURRENT_CONFIG, 0x80000005
    DynData = -2147483642,          // HKEY_DYN_DATA, 0x80000006
  };
};

// defValueType: the types of values the control writes.
struct ValueType {
  enum Value : int32_t {
    String = 1,          // StringType
    ExpandedString = 2,  // ExpandedStringType
    Binary = 3,          // BinaryType
    DWord = 4,           // DWordType
    MultiString = 7,     // MultiStringType
  };
};

// QVFindMode: how Find and Replace match.
struct FindMode {
  enum Value : int32_t { WholeString = 0, PartialString = 1 };
};

// QVOpenMode: whether SetValue and SetAllValues create a missing key.
struct OpenMode {
  enum Value : int32_t { OpenAndCreate = 0, OpenOnly = 1 };
};

// QVCountMode: whether Count includes the whole subtree.
struct CountMode {
  enum Value : int32_t { ExcludeSubKeys = 0, IncludeSubKeys = 1 };
};

// QVCountType: what Count counts.
struct CountType {
  enum Value : int32_t { CountValues = 0, CountSubKeys = 1 };
};

// QVVerifyType: what VerifyExistence tests.
struct VerifyType {
  enum Value : int32_t { VerifyValueName = 0, VerifyKey = 1 };
};

// QVSysInfo: the items of SystemInfo.
struct SysInfo {
  enum Value : int32_t {
    OS = 0,
    ProductID = 1,
    VersionNumber = 2,
    RegisteredOwner = 3,
    RegisteredOrganization = 4,
    WinDir = 5,
    SysDir = 6,
    TempDir = 7,
    ProgramFilesDir = 8,
    CommonFilesDir = 9,
    ComputerName = 10,
    UserName = 11,
    UserLanguage = 12,
  };
};

}  // namespace orvane
