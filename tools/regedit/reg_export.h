// Export of registry keys as REGEDIT4 text. The whole export reads one
// consistent state of the registry (one method scope around it).
// Call from one thread at a time per process, like every registry call.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32_registry.h"

namespace orvane::regedit {

// Appends the REGEDIT4 export of `key` (a full key path such as
// "HKEY_CURRENT_USER\Software\X", written in the file as given without
// trailing backslashes) or, when `key` is empty, of the whole registry (all
// stored roots: HKEY_LOCAL_MACHINE, HKEY_USERS, then HKEY_DYN_DATA when it
// holds anything) to *out. Returns 0, or the status of the failure with a
// message in *error (87 for a key without a known root, the open status when
// the key cannot be opened); *out is then unchanged.
LONG ExportRegistry(std::string_view key, std::string* out, std::string* error);

}  // namespace orvane::regedit
