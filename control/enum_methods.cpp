// Methods that list, count and bulk-write the current key, and commit its
// root: each forwards the current location and its own arguments to one
// routine (record-undo flag true for the bulk writes).
#include "control/method_args.h"
#include "control/method_group.h"
#include "keyops/bulk_write.h"
#include "keyops/counting.h"
#include "keyops/enumeration.h"
#include "orvane/quorvel.h"
#include "registry/registry_error.h"
#include "registry/scoped_key.h"

namespace orvane {

Variant Quorvel::GetAllValues() {
  return InMethodGroup([&] { return ReadAllValues(RootHandle(hkey_), sub_key_path_, true); });
}

Variant Quorvel::GetAllKeys() {
  return InMethodGroup([&] { return ReadAllKeys(RootHandle(hkey_), sub_key_path_); });
}

// CountType 0 gives the values, 1 the sub-keys, anything else 0 (after
// the walk, which runs whatever the type). Any non-zero mode includes the
// whole subtree.
int32_t Quorvel::Count(int32_t CountType, int32_t CountMode) {
  const uint8_t mode = NarrowEnumToByte(CountMode);
  return InMethodGroup([&] {
    const Variant totals = CountItems(RootHandle(hkey_), sub_key_path_, mode);
    if (CountType != 0 && CountType != 1) return 0;
    return totals.array().at(CountType).long_value();
  });
}

void Quorvel::ForceWriting() {
  InMethodGroup([&] { FlushRootKey(RootHandle(hkey_)); });
}

// The argument must hold an array (60007 otherwise, before the mode is
// taken); the mode is narrowed to a byte and handed to every row's write.
void Quorvel::SetAllValues(const Variant& ValueArray, int32_t SetMode) {
  if (!ValueArray.is_array()) RaiseRegistryErrorCode(kCodeParameterIncorrect);
  const uint8_t mode = NarrowEnumToByte(SetMode);
  InMethodGroup([&] { WriteAllValues(RootHandle(hkey_), sub_key_path_, ValueArray, mode, true); });
}

// Each element of the caller's array becomes the full path of its key.
void Quorvel::SetAllKeys(Variant& KeyArray) {
  if (!KeyArray.is_array()) RaiseRegistryErrorCode(kCodeParameterIncorrect);
  InMethodGroup([&] { WriteAllKeys(RootHandle(hkey_), sub_key_path_, KeyArray, true); });
}

}  // namespace orvane
