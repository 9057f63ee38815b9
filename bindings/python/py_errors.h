// The control's errors in Python. orvane.RegistryError, an OSError,
// carries the error record (number, description, source, helpfile,
// helpcontext). The
// runtime's standard errors raise subclasses that are also the matching
// Python exception: 6 Overflow an OverflowError, 13 Type mismatch a
// TypeError, 9 Subscript out of range an IndexError, 449 and 450 (missing
// or surplus arguments) a TypeError.
#pragma once

#include <pybind11/pybind11.h>

#include "orvane/error.h"

namespace orvane::python {

// Registers the exception classes in `module`.
void DefineErrors(pybind11::module_& module);

// Raises `error` as its Python exception (sets it and throws
// error_already_set). Call with the interpreter lock held.
[[noreturn]] void RaisePythonError(const Error& error);

}  // namespace orvane::python
