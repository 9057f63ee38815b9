// Reads and writes through the container's property bag.
#include "com/bag_adapter.h"

#include <string>

#include "com/variant_bridge.h"
#include "orvane/runtime_errors.h"

namespace orvane::com {
namespace {

std::wstring Wide(std::string_view name) { return std::wstring(name.begin(), name.end()); }

}  // namespace

Variant BagAdapter::ReadProperty(std::string_view name, const Variant& default_value) {
  VARIANT value;
  VariantInit(&value);
  if (FAILED(bag_->Read(Wide(name).c_str(), &value, log_))) return default_value;
  Variant result;
  try {
    result = FromVariant(value);
  } catch (...) {
    VariantClear(&value);
    throw;
  }
  VariantClear(&value);
  return result;
}

void BagAdapter::WriteProperty(std::string_view name, const Variant& value, const Variant&) {
  VARIANT saved;
  ToVariant(value, saved);
  const HRESULT status = bag_->Write(Wide(name).c_str(), &saved);
  VariantClear(&saved);
  if (FAILED(status)) RaiseRuntimeError(kErrPathFileAccess);
}

}  // namespace orvane::com
