// Conversions between Python objects and Variants. Python -> Variant: None
// Empty, orvane.Null Null, bool Boolean, int Long (Double beyond a Long, so
// that the control's own conversion raises Overflow), float Double, str
// (UTF-8) or bytes String, a list or tuple a one-dimensional array of
// Variant, a list of equally long lists (or an orvane.Table) a
// two-dimensional one; Array and Table keep the lower bounds they carry.
// Variant -> Python: the reverse; Strings decode as UTF-8 (undecodable
// bytes as surrogates), one-dimensional arrays become orvane.Array lists
// and two-dimensional ones orvane.Table lists of rows, each with its
// lower bounds. Arrays nest at most kMaxArrayDepth levels either way (a
// two-dimensional array is one level); deeper ones, and a list that
// contains itself, raise ValueError. Call with the interpreter lock held.
#pragma once

#include <pybind11/pybind11.h>

#include "orvane/variant.h"

namespace orvane::python {

// The deepest nesting of arrays a conversion accepts: as deep as a
// quorvel expression may nest.
inline constexpr int kMaxArrayDepth = 256;

// Registers orvane.Null, orvane.Array and orvane.Table in `module`.
void DefineValueTypes(pybind11::module_& module);

Variant ToVariant(const pybind11::handle& object);
pybind11::object FromVariant(const Variant& value);

}  // namespace orvane::python
