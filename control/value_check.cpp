// Value defaults and checks by value type.
#include "control/value_check.h"

#include <algorithm>

#include "registry/registry_error.h"

namespace orvane {
namespace {

constexpr int32_t kDWordType = 4;
constexpr double kMaxDWord = 4294967295.0;

bool IsTextType(int32_t type) { return type == 1 || type == 2 || type == 7; }

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

}  // namespace

bool IsHexString(std::string_view text) {
  return text.size() % 2 == 0 && std::all_of(text.begin(), text.end(), IsHexDigit);
}

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
