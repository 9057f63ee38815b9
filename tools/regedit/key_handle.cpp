#include "tools/regedit/key_handle.h"

namespace orvane::regedit {

std::vector<std::string> SubKeyNames(HKEY key, LONG* status) {
  std::vector<std::string> names;
  // The buffer holds the longest name the key reports, and grows when a
  // name still does not fit (the key changed meanwhile).
  DWORD longest = 0;
  *status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr);
  if (*status != ERROR_SUCCESS) return names;
  std::string name(size_t{longest} + 1, '\0');
  for (DWORD i = 0;;) {
    DWORD size = static_cast<DWORD>(name.size());
    *status = RegEnumKeyExA(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
    if (*status == ERROR_NO_MORE_ITEMS) break;
    if (*status == ERROR_MORE_DATA && name.size() < (1u << 16)) {
      name.resize(name.size() * 2);
      continue;
    }
    if (*status != ERROR_SUCCESS) return names;
    names.emplace_back(name.data(), size);
    ++i;
  }
  *status = ERROR_SUCCESS;
  return names;
}

}  // namespace orvane::regedit
