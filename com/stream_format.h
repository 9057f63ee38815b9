// The saved properties as a stream, for containers that persist controls
// through IPersistStreamInit: a version word, the count of entries, then
// each entry's name and value as held (Empty, Null, Integer, Long, Double,
// String, Boolean, Byte). Little-endian; strings as ANSI bytes with a
// 32-bit length.
#pragma once

#include <windows.h>
#include <objidl.h>

#include "orvane/property_bag.h"

namespace orvane::com {

// Writes every entry of `bag`; the stream's failure as an HRESULT.
HRESULT SaveToStream(const MemoryPropertyBag& bag, IStream* stream);

// Reads entries written by SaveToStream into `bag`; STG_E_READFAULT for a
// stream that ends early, E_FAIL for an unknown version or value type.
HRESULT LoadFromStream(IStream* stream, MemoryPropertyBag& bag);

// The bytes SaveToStream writes for `bag`.
ULONG StreamSize(const MemoryPropertyBag& bag);

}  // namespace orvane::com
