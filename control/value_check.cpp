// Value defaults and checks by value type.
#include "control/value_check.h"

#include "registry/registry_error.h"

namespace orvane {
namespace {

constexpr int32_t kDWordType = 4;
constexpr double kMaxDWord = 4294967295.0;

bool IsTextType(int32_t type) { return type == 1 || type == 2 || type == 7; }

}  // namespace

Variant DefaultValueForType(int32_t type) {
  if (IsTextType(type)) return Variant::String("");
  if (type == kDWordType) return Variant::Integer(0);
  return Variant::String("00");
}

void CheckValueForType(const Variant& value, int32_t type) {
  if (type == kDWordType) {
    if (CompareNumeric(value, kMaxDWord) > 0) RaiseRegistryErrorCode(kCodeParameterIncorrect);
    return;
  }
  if (IsTextType(type)) return;
  if (!IsHexString(ToString(value))) RaiseRegistryErrorCode(kCodeParameterIncorrect);
}

}  // namespace orvane
