#include "tools/regedit/key_handle.h"

namespace orvane::regedit {

std::vector<std::string> SubKeyNames(HKEY key, LONG* status) {
  std::vector<std::string> names;
  char name[2048];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof(name);
    *status = RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (*status == ERROR_NO_MORE_ITEMS) break;
    if (*status != ERROR_SUCCESS) return names;
    names.emplace_back(name, size);
  }
  *status = ERROR_SUCCESS;
  return names;
}

}  // namespace orvane::regedit
