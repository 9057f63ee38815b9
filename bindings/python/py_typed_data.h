// The typed Python forms of the control's value data, which a control made
// with Quorvel(typed=True) takes and gives beside its text forms:
//   MultiStringType (7)       list[str] for the text "a|b" (the empty text is
//                             the empty list); an entry holding "|" or NUL
//                             has no text form and raises ValueError
//   BinaryType (3) and every  bytes for the hexadecimal text "0aff" (any
//   type but 1, 2, 4 and 7    object with the buffer protocol is taken)
// Data of the other types, text forms passed in, and None (Empty) are left
// as they are. Call with the interpreter lock held.
#pragma once

#include <pybind11/pybind11.h>

#include <cstdint>

namespace orvane::python {

// The typed form of `data`, the control's text or number form of a value of
// registry type `type`.
pybind11::object TypedData(const pybind11::object& data, int32_t type);

// The control's text form of `data` for registry type `type`, when `data`
// is in its typed form; else `data` itself.
pybind11::object TextData(const pybind11::object& data, int32_t type);

// A table of value rows [name, data, type] (GetAllValues, SetAllValues)
// with each row's data converted by `convert` for the row's type. Keeps the
// table's lower bounds; rows that are not [name, data, type] are copied as
// they are, for the control to judge.
using DataConversion = pybind11::object (*)(const pybind11::object& data, int32_t type);
pybind11::object ConvertRows(const pybind11::object& rows, DataConversion convert);

}  // namespace orvane::python
