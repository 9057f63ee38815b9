// Helpers the control's methods share for their arguments and for the
// members that are part of the interface but not available yet. Stateless.
#pragma once

#include <cstdint>

namespace orvane {

// An enumeration argument narrowed to one byte, as the write and existence
// methods use their mode; raises the runtime's overflow (6) outside 0..255.
uint8_t NarrowEnumToByte(int32_t value);

// Raises 60999: the member is part of the interface but not available.
[[noreturn]] void RaiseNotAvailable();

}  // namespace orvane
