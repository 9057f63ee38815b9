// orvane.Quorvel: one control in its own container, made with the keyword
// `dialogs` (an orvane.DialogStyle, Batch by default) that the container
// answers for its About box and message boxes. The About box a new control
// shows is silent unless the keyword `about` is true. Every property of the
// member table is an attribute; every method takes the table's parameter
// names as keyword arguments, with its optional parameters and defaults.
// A call converts its arguments (py_variant.h), then releases the
// interpreter lock and runs the member under the module's one lock, so
// Python threads may call at once. A method returns its result (None when
// it has none). What it writes back into a by-reference parameter reaches
// the caller through an orvane.ByRef box passed for that parameter (its
// `value` is replaced), and a list passed for it is updated in place when
// the method changed it (SetAllKeys' key list). With the keyword `typed`
// the control takes and gives value data in Python's own forms
// (py_typed_members.h).
#pragma once

#include <pybind11/pybind11.h>

namespace orvane::python {

void DefineQuorvel(pybind11::module_& module);

}  // namespace orvane::python
