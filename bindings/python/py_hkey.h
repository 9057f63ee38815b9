// orvane.winreg's key objects (PyHKEY, also winreg.HKEYType) and the
// handle arguments of its functions. A key object owns one handle of the
// store and closes it when it is closed, leaves a `with` block or is
// destroyed, unless Detach() handed the handle over. A handle argument is
// a key object or an integer: the predefined roots are the integers
// 0x80000000 ... 0x80000006 (HKEY_CLASSES_ROOT ...), as winreg has them;
// int() of a key object is its handle's number, accepted back as such.
#pragma once

#include <pybind11/pybind11.h>

#include "platform/win32_registry.h"

namespace orvane::python {

// Registers PyHKEY (and HKEYType) in `module`.
void DefineKeyType(pybind11::module_& module);

// The handle `argument` stands for; None gives nullptr when `none_ok`,
// else (and for any other type) TypeError.
HKEY KeyArgument(pybind11::handle argument, bool none_ok = false);

// CloseKey: closes a key object (Close()) or the handle an integer names.
void CloseKeyArgument(pybind11::handle argument);

// A key object owning `handle`, which the store just opened with `access`.
// A handle whose number reads as a predefined root is exchanged for another.
pybind11::object OwnedKey(HKEY handle, REGSAM access);

// A key object for the predefined root `handle` (closing it changes nothing).
pybind11::object RootKey(HKEY handle);

// Whether `handle` is one of the predefined roots.
bool IsPredefined(HKEY handle);

}  // namespace orvane::python
