// The type library embedded in the server file (resource TYPELIB 1), loaded
// once per process without registering it, and its type descriptions.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace orvane::com {

// The type description of `guid` (the dispinterface or the coclass), with
// a reference the caller releases; E_* when the library cannot be loaded.
HRESULT TypeInfoOf(const GUID& guid, ITypeInfo** info);

}  // namespace orvane::com
