// Values between automation VARIANTs and the runtime's Variant. Strings
// cross as UTF-16 BSTRs and UTF-8 text, the control's own; arrays
// cross as SAFEARRAYs of VARIANT with the same dimensions and bounds.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

#include "orvane/variant.h"

namespace orvane::com {

// The value a VARIANT holds, by reference or not. Numbers the runtime has
// no type for become Long when whole and in range, else Double; Currency
// and Decimal become Double; an object, or a type that holds no value,
// raises 13 "Type mismatch".
Variant FromVariant(const VARIANT& value);

// A new VARIANT the caller owns (VariantClear). Every array becomes a
// SAFEARRAY of VARIANT.
void ToVariant(const Variant& value, VARIANT& out);

// Writes `value` into the caller's by-reference argument, as the type the
// reference points to (a VARIANT reference takes the value as it is; an
// array reference takes an array of its own shape element by element, or
// whole when it holds VARIANTs and may be replaced). Raises the runtime's
// conversion errors when the type cannot hold it.
void WriteThrough(const Variant& value, VARIANT& by_ref);

// Whether a by-reference argument pointing to `referenced` (the type
// without VT_BYREF) can receive every value a member may leave in a
// parameter of `type`, so that writing it back cannot fail: a VARIANT
// always; a String only a BSTR; a number or Boolean a type that holds all
// of its values (or its text). A Variant parameter is changed by a member
// only into an array of strings of the shape it was given: it takes any
// scalar reference and a reference to an array of VARIANT or BSTR.
bool CanReceive(VARTYPE referenced, VarType type);

// Whether the VARIANT (by reference or not) holds an object.
bool HoldsObject(const VARIANT& value);

// UTF-16 text (a BSTR, a name) as the control's UTF-8, and back as a new BSTR.
std::string ToUtf8(const wchar_t* text, size_t length);
BSTR ToBstr(const std::string& text);

}  // namespace orvane::com
