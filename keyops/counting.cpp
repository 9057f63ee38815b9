// CountTreeItems, CountItems and FlushRootKey.
#include "keyops/counting.h"

#include <limits>

#include "keyops/subtree.h"
#include "orvane/runtime_errors.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"

namespace orvane {
namespace {

// Ends a walk that counts only the top key.
constexpr LONG kStopWalk = -1;

int32_t TotalToLong(int64_t total) {
  if (total > std::numeric_limits<int32_t>::max()) RaiseRuntimeError(kErrOverflow);
  return static_cast<int32_t>(total);
}

}  // namespace

void CountTreeItems(HKEY root, const std::string& path, uint8_t include_sub_keys, CountTotals& totals) {
  TreeVisitor visitor;
  visitor.visit = [&](HKEY key, const std::string&, size_t) -> LONG {
    const KeyInfo info = QueryKeyInfo(key);
    totals.values += info.values;
    totals.sub_keys += info.sub_keys;
    // Without the subtree, the walk ends here (a status no call returns).
    return include_sub_keys == 0 ? kStopWalk : ERROR_SUCCESS;
  };
  // A sub-key that refuses access counts as empty; anything else ends the count.
  visitor.open_failed = [](const std::string&, size_t, LONG status) -> LONG {
    return status == ERROR_ACCESS_DENIED ? ERROR_SUCCESS : status;
  };
  const LONG status = WalkKeyTree(root, path, visitor);
  if (status == ERROR_ACCESS_DENIED || status == kStopWalk) return;
  RaiseRegistryError(status);
}

Variant CountItems(HKEY root, const std::string& path, uint8_t include_sub_keys) {
  CountTotals totals;
  CountTreeItems(root, path, include_sub_keys, totals);
  return KeyInfoArray(KeyInfo{TotalToLong(totals.values), TotalToLong(totals.sub_keys)});
}

bool FlushRootKey(HKEY root) { return RaiseRegistryError(RegFlushKey(root)); }

}  // namespace orvane
