// The type library's enumerations as Python enum.IntEnum classes named as
// the type library names them (orvane.defHKey, orvane.QVOpenMode, ...):
// their members compare equal to their numbers and can be passed wherever
// the control takes a number. Each member is also a module constant
// (orvane.HKEY_CURRENT_USER, orvane.DWordType, ...), as in the type library.
#pragma once

#include <pybind11/pybind11.h>

namespace orvane::python {

void DefineEnumerations(pybind11::module_& module);

}  // namespace orvane::python
