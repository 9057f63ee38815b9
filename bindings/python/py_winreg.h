// orvane.winreg: Python's standard winreg module over this system's
// registry (the Win32 registry functions of platform/win32_registry.h),
// so that a program written for Windows runs with
// `import orvane.winreg as winreg`. The functions, constants and key
// objects are winreg's, with its documented behaviour; every registry call
// runs without the interpreter lock. What the store cannot do: LoadKey and
// SaveKey raise OSError 120 (not supported), ConnectRegistry reaches the
// local computer only (another name raises FileNotFoundError 53, as an
// unreachable computer does), the WOW64 flags change nothing (one view)
// and the reflection functions raise NotImplementedError, as on 32-bit
// Windows.
#pragma once

#include <pybind11/pybind11.h>

namespace orvane::python {

// Adds the submodule `winreg` to `module` and registers it in sys.modules
// as "<module>.winreg", so that `import orvane.winreg` finds it.
void DefineWinreg(pybind11::module_& module);

}  // namespace orvane::python
