// Registry statuses as Python exceptions, the way winreg raises them: an
// OSError whose `winerror` is the status, whose `errno` is the C library's
// number for it (so 2 and 3 raise FileNotFoundError, 5 PermissionError)
// and whose `strerror` is the system's message text for the status.
#pragma once

#include <pybind11/pybind11.h>

#include "platform/win32_registry.h"

namespace orvane::python {

// Raises the OSError for `status` (not 0). Call with the interpreter lock held.
[[noreturn]] void RaiseWinError(LONG status);

// Raises for `status` unless it is ERROR_SUCCESS.
inline void CheckStatus(LONG status) {
  if (status != ERROR_SUCCESS) RaiseWinError(status);
}

}  // namespace orvane::python
