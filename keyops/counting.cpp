// CountTreeItems, CountItems and FlushRootKey.
#include "keyops/counting.h"

#include <limits>

#include "keyops/subtree.h"
#include "orvane/runtime_errors.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"

namespace orvane {
namespace {

// Key names are enumerated into buffers of this many characters.
constexpr DWORD kNameBufferChars = 2048;

int32_t TotalToLong(int64_t total) {
  if (total > std::numeric_limits<int32_t>::max()) RaiseRuntimeError(kErrOverflow);
  return static_cast<int32_t>(total);
}

}  // namespace

void CountTreeItems(HKEY root, const std::string& path, uint8_t include_sub_keys, CountTotals& totals) {
  ScopedKey key;
  const LONG status = key.Open(root, path);
  if (status == ERROR_ACCESS_DENIED) return;
  RaiseRegistryError(status);
  const KeyInfo info = QueryKeyInfo(key.get());
  totals.values += info.values;
  totals.sub_keys += info.sub_keys;
  if (include_sub_keys == 0) return;
  std::string buffer(kNameBufferChars, ' ');
  for (int32_t i = 0; i < info.sub_keys; ++i) {
    DWORD length = kNameBufferChars;
    FILETIME written{};
    if (RegEnumKeyExA(key.get(), static_cast<DWORD>(i), buffer.data(), &length, nullptr, nullptr, nullptr,
                      &written) != ERROR_SUCCESS) {
      continue;
    }
    CountTreeItems(root, ChildPath(path, std::string(buffer.data(), length)), include_sub_keys, totals);
  }
}

Variant CountItems(HKEY root, const std::string& path, uint8_t include_sub_keys) {
  CountTotals totals;
  CountTreeItems(root, path, include_sub_keys, totals);
  return KeyInfoArray(KeyInfo{TotalToLong(totals.values), TotalToLong(totals.sub_keys)});
}

bool FlushRootKey(HKEY root) { return RaiseRegistryError(RegFlushKey(root)); }

}  // namespace orvane
