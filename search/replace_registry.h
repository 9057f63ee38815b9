// Replace: the replace of the current key and its descendants, or of the
// whole registry (HKEY_LOCAL_MACHINE, HKEY_USERS and, on the NT platform,
// HKEY_CURRENT_USER), returning how many items changed. Records no undo.
#pragma once

#include <cstdint>

#include "orvane/variant.h"
#include "search/replace_key.h"
#include "search/search_registry.h"

namespace orvane {

// Raises, before anything changes: 60140 for a non-zero `reserved`; 60150
// when `options.with` contains the text sought (letter case ignored; an
// empty text counts as contained in any replacement, and an empty text
// with an empty replacement is refused too); 60007 when key or value names
// are replaced and `options.with` holds a NUL; the runtime's overflow (6) for
// a `find_mode` outside 0 to 255; with a progress window and a walk of the
// current key, the error of counting its sub-keys. Then errors of
// ReplaceInKey end the walk, keeping the changes made before.
int32_t ReplaceInRegistry(const WalkScope& scope, ReplaceOptions options, int32_t find_mode,
                          const Variant& reserved, int32_t& progress_window, bool nt);

}  // namespace orvane
