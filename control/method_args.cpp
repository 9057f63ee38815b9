// Argument helpers of the control's methods.
#include "control/method_args.h"

#include "orvane/variant.h"
#include "registry/registry_error.h"

namespace orvane {

uint8_t NarrowEnumToByte(int32_t value) { return ToByte(Variant::Long(value)); }

void RaiseNotAvailable() { RaiseRegistryErrorCode(kCodeNotAvailable); }

}  // namespace orvane
