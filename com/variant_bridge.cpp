// Conversions between VARIANT and the runtime's Variant.
#include "com/variant_bridge.h"

#include <cmath>
#include <initializer_list>
#include <vector>

#include "orvane/runtime_errors.h"
#include "platform/utf16_text.h"

namespace orvane::com {
namespace {

Variant FromSafeArray(SAFEARRAY* array, VARTYPE element);

// A number held in a type the runtime lacks: Long when whole and in
// range, else Double.
Variant FromOtherNumber(const VARIANT& value) {
  VARIANT as_double;
  VariantInit(&as_double);
  if (FAILED(VariantChangeType(&as_double, const_cast<VARIANT*>(&value), 0, VT_R8))) {
    RaiseRuntimeError(kErrTypeMismatch);
  }
  const double number = as_double.dblVal;
  if (std::floor(number) == number && number >= -2147483648.0 && number <= 2147483647.0) {
    return Variant::Long(static_cast<int32_t>(number));
  }
  return Variant::Double(number);
}

Variant FromDirect(const VARIANT& value) {
  switch (V_VT(&value)) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Variant::Null();
    case VT_I2: return Variant::Integer(V_I2(&value));
    case VT_I4: return Variant::Long(V_I4(&value));
    case VT_R4: return Variant::Double(V_R4(&value));
    case VT_R8: return Variant::Double(V_R8(&value));
    case VT_BOOL: return Variant::Boolean(V_BOOL(&value) != VARIANT_FALSE);
    case VT_UI1: return Variant::Byte(V_UI1(&value));
    case VT_BSTR:
      return Variant::String(ToUtf8(V_BSTR(&value), SysStringLen(V_BSTR(&value))));
    case VT_I1: case VT_UI2: case VT_UI4: case VT_INT: case VT_UINT: case VT_I8: case VT_UI8:
    case VT_CY: case VT_DECIMAL: case VT_DATE:
      return FromOtherNumber(value);
    default:
      break;
  }
  if (V_VT(&value) & VT_ARRAY) return FromSafeArray(V_ARRAY(&value), V_VT(&value) & VT_TYPEMASK);
  RaiseRuntimeError(kErrTypeMismatch);
}

// Reads element `indexes` (leftmost dimension first) as a VARIANT.
Variant ArrayElement(SAFEARRAY* array, VARTYPE element, std::vector<LONG>& indexes) {
  VARIANT cell;
  VariantInit(&cell);
  HRESULT result = S_OK;
  if (element == VT_VARIANT) {
    result = SafeArrayGetElement(array, indexes.data(), &cell);
  } else {
    V_VT(&cell) = element;
    result = SafeArrayGetElement(array, indexes.data(), &V_I4(&cell));
  }
  if (FAILED(result)) RaiseRuntimeError(kErrTypeMismatch);
  Variant value = FromVariant(cell);
  VariantClear(&cell);
  return value;
}

Variant FromSafeArray(SAFEARRAY* array, VARTYPE element) {
  if (array == nullptr) RaiseRuntimeError(kErrTypeMismatch);
  const UINT dimensions = SafeArrayGetDim(array);
  if (dimensions < 1 || dimensions > 2) RaiseRuntimeError(kErrSubscript);
  std::vector<ArrayBound> bounds(dimensions);
  for (UINT d = 0; d < dimensions; ++d) {
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, d + 1, &lower);
    SafeArrayGetUBound(array, d + 1, &upper);
    bounds[d] = {lower, upper};
  }
  SafeArray result(VarType::kVariant, bounds);
  std::vector<LONG> indexes(dimensions);
  if (dimensions == 1) {
    for (LONG i = bounds[0].lower; i <= bounds[0].upper; ++i) {
      indexes[0] = i;
      result.set(i, ArrayElement(array, element, indexes));
    }
  } else {
    for (LONG i = bounds[0].lower; i <= bounds[0].upper; ++i) {
      for (LONG j = bounds[1].lower; j <= bounds[1].upper; ++j) {
        indexes = {i, j};
        result.set(i, j, ArrayElement(array, element, indexes));
      }
    }
  }
  return Variant::Array(std::move(result));
}

SAFEARRAY* ToSafeArray(const SafeArray& array) {
  std::vector<SAFEARRAYBOUND> bounds(array.dimensions());
  for (int d = 0; d < array.dimensions(); ++d) {
    bounds[d].lLbound = array.lower(d + 1);
    bounds[d].cElements = static_cast<ULONG>(array.bound(d + 1).count());
  }
  SAFEARRAY* out = SafeArrayCreate(VT_VARIANT, array.dimensions(), bounds.data());
  if (out == nullptr) RaiseRuntimeError(kErrOutOfMemory);
  std::vector<LONG> indexes(array.dimensions());
  for (size_t n = 0; n < array.size(); ++n) {
    // Storage order: last index fastest.
    size_t rest = n;
    for (int d = array.dimensions(); d >= 1; --d) {
      const size_t count = static_cast<size_t>(array.bound(d).count());
      indexes[d - 1] = array.lower(d) + static_cast<LONG>(rest % count);
      rest /= count;
    }
    VARIANT cell;
    ToVariant(array.elements()[n], cell);
    SafeArrayPutElement(out, indexes.data(), &cell);
    VariantClear(&cell);
  }
  return out;
}

// The caller's array receives `array`: element by element when both have
// the same dimensions and bounds, else whole when it holds VARIANTs and is
// not of fixed size; otherwise it stays as it is.
void WriteArrayThrough(const SafeArray& array, SAFEARRAY*& target, VARTYPE element) {
  bool same = target != nullptr && SafeArrayGetDim(target) == static_cast<UINT>(array.dimensions());
  for (int d = 1; same && d <= array.dimensions(); ++d) {
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(target, d, &lower);
    SafeArrayGetUBound(target, d, &upper);
    same = lower == array.lower(d) && upper == array.bound(d).upper;
  }
  if (!same) {
    if (element != VT_VARIANT || (target != nullptr && (target->fFeatures & (FADF_FIXEDSIZE | FADF_STATIC)))) return;
    SAFEARRAY* replacement = ToSafeArray(array);
    if (target != nullptr) SafeArrayDestroy(target);
    target = replacement;
    return;
  }
  std::vector<LONG> indexes(array.dimensions());
  for (size_t n = 0; n < array.size(); ++n) {
    size_t rest = n;
    for (int d = array.dimensions(); d >= 1; --d) {
      const size_t count = static_cast<size_t>(array.bound(d).count());
      indexes[d - 1] = array.lower(d) + static_cast<LONG>(rest % count);
      rest /= count;
    }
    if (element == VT_VARIANT) {
      VARIANT cell;
      ToVariant(array.elements()[n], cell);
      SafeArrayPutElement(target, indexes.data(), &cell);
      VariantClear(&cell);
    } else if (element == VT_BSTR) {
      BSTR text = ToBstr(ToString(array.elements()[n]));
      SafeArrayPutElement(target, indexes.data(), text);
      SysFreeString(text);
    }
  }
}

}  // namespace

std::string ToUtf8(const wchar_t* text, size_t length) {
  if (text == nullptr) return {};
  return platform::Utf8FromUtf16(std::wstring_view(text, length));
}

BSTR ToBstr(const std::string& text) {
  const std::wstring wide = platform::Utf16FromUtf8(text);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

Variant FromVariant(const VARIANT& value) {
  if (!(V_VT(&value) & VT_BYREF)) return FromDirect(value);
  if (V_VT(&value) == (VT_BYREF | VT_VARIANT)) return FromVariant(*V_VARIANTREF(&value));
  VARIANT copy;
  VariantInit(&copy);
  if (FAILED(VariantCopyInd(&copy, const_cast<VARIANT*>(&value)))) RaiseRuntimeError(kErrTypeMismatch);
  Variant result;
  try {
    result = FromDirect(copy);
  } catch (...) {
    VariantClear(&copy);
    throw;
  }
  VariantClear(&copy);
  return result;
}

void ToVariant(const Variant& value, VARIANT& out) {
  VariantInit(&out);
  if (value.is_array()) {
    V_VT(&out) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(&out) = ToSafeArray(value.array());
    return;
  }
  switch (value.type()) {
    case VarType::kNull: V_VT(&out) = VT_NULL; break;
    case VarType::kInteger: V_VT(&out) = VT_I2; V_I2(&out) = value.integer(); break;
    case VarType::kLong: V_VT(&out) = VT_I4; V_I4(&out) = value.long_value(); break;
    case VarType::kDouble: V_VT(&out) = VT_R8; V_R8(&out) = value.double_value(); break;
    case VarType::kBoolean: V_VT(&out) = VT_BOOL; V_BOOL(&out) = value.boolean() ? VARIANT_TRUE : VARIANT_FALSE; break;
    case VarType::kByte: V_VT(&out) = VT_UI1; V_UI1(&out) = value.byte(); break;
    case VarType::kString: V_VT(&out) = VT_BSTR; V_BSTR(&out) = ToBstr(value.string()); break;
    default: break;  // Empty
  }
}

void WriteThrough(const Variant& value, VARIANT& by_ref) {
  switch (V_VT(&by_ref)) {
    case VT_BYREF | VT_VARIANT:
      VariantClear(V_VARIANTREF(&by_ref));
      ToVariant(value, *V_VARIANTREF(&by_ref));
      break;
    case VT_BYREF | VT_BSTR:
      SysFreeString(*V_BSTRREF(&by_ref));
      *V_BSTRREF(&by_ref) = ToBstr(ToString(value));
      break;
    case VT_BYREF | VT_I4: *V_I4REF(&by_ref) = ToLong(value); break;
    case VT_BYREF | VT_I2: *V_I2REF(&by_ref) = ToInteger(value); break;
    case VT_BYREF | VT_UI1: *V_UI1REF(&by_ref) = ToByte(value); break;
    case VT_BYREF | VT_R8: *V_R8REF(&by_ref) = ToDouble(value); break;
    case VT_BYREF | VT_BOOL: *V_BOOLREF(&by_ref) = ToBoolean(value) ? VARIANT_TRUE : VARIANT_FALSE; break;
    default:
      if ((V_VT(&by_ref) & VT_ARRAY) && value.is_array()) {
        WriteArrayThrough(value.array(), *V_ARRAYREF(&by_ref), V_VT(&by_ref) & VT_TYPEMASK);
      }
      break;  // otherwise a reference of a type the member never writes
  }
}

bool CanReceive(VARTYPE referenced, VarType type) {
  if (referenced == VT_VARIANT) return true;
  if (referenced & VT_ARRAY) {
    const VARTYPE element = referenced & VT_TYPEMASK;
    return type == VarType::kVariant && (element == VT_VARIANT || element == VT_BSTR);
  }
  const auto any_of = [referenced](std::initializer_list<VARTYPE> types) {
    for (VARTYPE t : types) {
      if (t == referenced) return true;
    }
    return false;
  };
  switch (type) {
    case VarType::kString: return referenced == VT_BSTR;
    case VarType::kLong: return any_of({VT_I4, VT_R8, VT_BSTR});
    case VarType::kInteger: return any_of({VT_I2, VT_I4, VT_R8, VT_BSTR});
    case VarType::kByte: return any_of({VT_UI1, VT_I2, VT_I4, VT_R8, VT_BSTR});
    case VarType::kBoolean: return any_of({VT_BOOL, VT_I2, VT_I4, VT_R8, VT_BSTR});
    case VarType::kVariant: return true;
    default: return false;
  }
}

bool HoldsObject(const VARIANT& value) {
  if (V_VT(&value) == (VT_BYREF | VT_VARIANT)) return HoldsObject(*V_VARIANTREF(&value));
  const VARTYPE type = V_VT(&value) & ~VT_BYREF;
  return type == VT_DISPATCH || type == VT_UNKNOWN;
}

}  // namespace orvane::com
