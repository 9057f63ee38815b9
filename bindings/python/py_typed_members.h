// What a control made with Quorvel(typed=True) does beyond the member
// table: its value data in the typed forms of py_typed_data.h, empty
// lists where the control gives Empty for no sub-keys or no values, and
// ValueType following the value GetValue read. The members concerned:
//   Value           typed data taken and given, by the current ValueType
//   GetValue        ValueType becomes the stored value's registry type
//                   (Value keeps what was read), so that Value's typed form
//                   and a later SetValue follow the stored type
//   GetAllValues    rows with typed data; an empty orvane.Table, not None
//   GetAllKeys      an empty orvane.Array, not None
//   SetAllValues    rows with typed data taken
// Find's rows keep the text it compared.
#pragma once

#include <pybind11/pybind11.h>

#include <cstddef>

#include "orvane/dispatch.h"
#include "orvane/quorvel.h"

namespace orvane::python {

// The argument `passed` for parameter `index` of `member` in the control's
// forms. With the interpreter lock.
pybind11::object ControlArgument(const MemberInfo& member, size_t index, const pybind11::object& passed);

// What `member` left in parameter `index` (written back to the caller), or
// its result for `index` == the parameter count, in the typed forms. With
// the interpreter lock.
pybind11::object TypedOutput(const MemberInfo& member, size_t index, const pybind11::object& output);

// After `member` ran on `control`: for GetValue, sets ValueType to the
// registry type of the value read, keeping Value. Without the interpreter
// lock, under the component's lock, as the member itself.
void AfterTypedMember(Quorvel& control, const MemberInfo& member);

}  // namespace orvane::python
