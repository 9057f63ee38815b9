// Makes an existing key read-only (any open asking for more than reading
// is refused with status 5; no sub-key is created below it, it is not
// deleted) or writable again. Linux: the store's read-only mark. Windows:
// the key's access list grants everyone reading only.
#pragma once

#include "platform/win32_registry.h"

namespace orvane::testing {

// Returns 0 or the registry's status.
LONG SetKeyReadOnly(HKEY root, const char* path, bool read_only);

}  // namespace orvane::testing
