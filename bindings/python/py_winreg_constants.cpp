// The HKEY_*, KEY_* and REG_* constants of orvane.winreg, with winreg's values.
#include "py_winreg_constants.h"

#include <cstdint>

namespace orvane::python {

void DefineWinregConstants(pybind11::module_& module) {
  struct Constant {
    const char* name;
    uint32_t value;
  };
  static constexpr Constant kConstants[] = {
      {"HKEY_CLASSES_ROOT", 0x80000000u},
      {"HKEY_CURRENT_USER", 0x80000001u},
      {"HKEY_LOCAL_MACHINE", 0x80000002u},
      {"HKEY_USERS", 0x80000003u},
      {"HKEY_PERFORMANCE_DATA", 0x80000004u},
      {"HKEY_CURRENT_CONFIG", 0x80000005u},
      {"HKEY_DYN_DATA", 0x80000006u},
      {"KEY_QUERY_VALUE", 0x0001},
      {"KEY_SET_VALUE", 0x0002},
      {"KEY_CREATE_SUB_KEY", 0x0004},
      {"KEY_ENUMERATE_SUB_KEYS", 0x0008},
      {"KEY_NOTIFY", 0x0010},
      {"KEY_CREATE_LINK", 0x0020},
      {"KEY_WOW64_64KEY", 0x0100},
      {"KEY_WOW64_32KEY", 0x0200},
      {"KEY_READ", 0x20019},
      {"KEY_EXECUTE", 0x20019},
      {"KEY_WRITE", 0x20006},
      {"KEY_ALL_ACCESS", 0xF003F},
      {"REG_NONE", 0},
      {"REG_SZ", 1},
      {"REG_EXPAND_SZ", 2},
      {"REG_BINARY", 3},
      {"REG_DWORD", 4},
      {"REG_DWORD_LITTLE_ENDIAN", 4},
      {"REG_DWORD_BIG_ENDIAN", 5},
      {"REG_LINK", 6},
      {"REG_MULTI_SZ", 7},
      {"REG_RESOURCE_LIST", 8},
      {"REG_FULL_RESOURCE_DESCRIPTOR", 9},
      {"REG_RESOURCE_REQUIREMENTS_LIST", 10},
      {"REG_QWORD", 11},
      {"REG_QWORD_LITTLE_ENDIAN", 11},
      {"REG_OPTION_RESERVED", 0},
      {"REG_OPTION_NON_VOLATILE", 0},
      {"REG_OPTION_VOLATILE", 1},
      {"REG_OPTION_CREATE_LINK", 2},
      {"REG_OPTION_BACKUP_RESTORE", 4},
      {"REG_OPTION_OPEN_LINK", 8},
      {"REG_LEGAL_OPTION", 0xF},
      {"REG_CREATED_NEW_KEY", 1},
      {"REG_OPENED_EXISTING_KEY", 2},
      {"REG_WHOLE_HIVE_VOLATILE", 1},
      {"REG_REFRESH_HIVE", 2},
      {"REG_NO_LAZY_FLUSH", 4},
      {"REG_NOTIFY_CHANGE_NAME", 1},
      {"REG_NOTIFY_CHANGE_ATTRIBUTES", 2},
      {"REG_NOTIFY_CHANGE_LAST_SET", 4},
      {"REG_NOTIFY_CHANGE_SECURITY", 8},
      {"REG_LEGAL_CHANGE_FILTER", 0xF},
  };
  for (const Constant& constant : kConstants) module.attr(constant.name) = constant.value;
}

}  // namespace orvane::python
