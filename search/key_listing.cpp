#include "search/key_listing.h"

#include "registry/key_enum.h"

namespace orvane {

bool IsTextType(uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

LONG ListValues(HKEY key, std::vector<ListedValue>* values) {
  ValueEnumerator enumerator(key);
  EnumeratedValue value;
  for (DWORD index = 0;; ++index) {
    const LONG status = enumerator.Read(index, &value);
    if (status == ERROR_NO_MORE_ITEMS) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    ListedValue& listed = values->emplace_back();
    listed.name = std::move(value.name);
    listed.type = value.type;
    listed.size = static_cast<uint32_t>(value.data.size());
    if (IsTextType(value.type)) listed.bytes = std::move(value.data);
  }
}

LONG ListSubKeyNames(HKEY key, std::vector<std::string>* names) { return ReadSubKeyNames(key, names); }

}  // namespace orvane
