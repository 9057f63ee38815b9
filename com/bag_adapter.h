// The control's PropertyBag over a container's IPropertyBag: names cross as
// UTF-16, values as VARIANTs of the types the control saved.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include "orvane/property_bag.h"

namespace orvane::com {

class BagAdapter : public PropertyBag {
 public:
  BagAdapter(IPropertyBag* bag, IErrorLog* log) : bag_(bag), log_(log) {}

  // A name the bag cannot read gives the default.
  Variant ReadProperty(std::string_view name, const Variant& default_value) override;
  // A failed write raises 75 "Path/File access error".
  void WriteProperty(std::string_view name, const Variant& value, const Variant& default_value) override;

 private:
  IPropertyBag* bag_;
  IErrorLog* log_;
};

}  // namespace orvane::com
