// Registry data and names as orvane.winreg gives and takes them.
// Names and strings are UTF-8 in the store (undecodable bytes round-trip
// as surrogate escapes). Data by type:
//   REG_SZ, REG_EXPAND_SZ   str (read up to the first NUL; None writes "")
//   REG_MULTI_SZ            list[str] (read up to the empty string that ends it;
//                           None writes an empty list)
//   REG_DWORD, REG_QWORD    int, unsigned 32 / 64 bits (None writes 0;
//                           shorter stored data reads zero-padded)
//   any other type          bytes, or any object with the buffer protocol
//                           (no data reads as None; None writes no data)
// Data of the wrong Python type raises ValueError (TypeError for the other
// types' non-buffers), an int out of range OverflowError, as winreg does.
#pragma once

#include <pybind11/pybind11.h>

#include <string>
#include <string_view>

#include "platform/win32_registry.h"

namespace orvane::python {

// The bytes stored for `value` as registry type `type`.
std::string DataFromPython(const pybind11::handle& value, DWORD type);

// The Python object for `data` stored as type `type`.
pybind11::object DataToPython(std::string_view data, DWORD type);

// A key or value name argument: a str (TypeError else; ValueError when it
// holds NUL). None is "" when `none_ok`.
std::string NameArgument(const pybind11::handle& name, bool none_ok);

// A name or string read from the store.
pybind11::str NameToPython(std::string_view name);

// An unsigned 32-bit argument (access masks, types, indexes): OverflowError
// when out of range.
DWORD DwordArgument(const pybind11::handle& number);

}  // namespace orvane::python
