// Registers winreg's constants (HKEY_*, KEY_*, REG_*) in a module.
#pragma once

#include <pybind11/pybind11.h>

namespace orvane::python {

void DefineWinregConstants(pybind11::module_& module);

}  // namespace orvane::python
