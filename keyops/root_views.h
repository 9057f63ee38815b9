// Root views: some roots are views of a key under another root (classes
// under the local machine, the current user under the users, the current
// configuration under the local machine). Resolving a location through
// them lets "is this key inside that one" see through the views.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32_registry.h"

namespace orvane {

// A key named by a root handle and a path under it.
struct KeyLocation {
  HKEY root = nullptr;
  std::string path;
};

// The same key named from the root that holds it: a location under a
// root view becomes the viewed key's root and path. Any other root
// (another predefined root, an open key) is kept as given. The path is
// normalised (single backslashes, none at either end). Never raises.
KeyLocation ResolveRootView(HKEY root, const std::string& path);

// Whether `inner` is `outer` itself or one of its descendants, after both
// are resolved; names compare without regard to letter case, and only
// whole names count ("A\BC" is not inside "A\B").
bool IsSameOrInside(const KeyLocation& inner, const KeyLocation& outer);

// Whether `path` under `root` is, or holds, the key that one of the root
// views (classes, current user, current configuration) shows: such a key
// cannot be deleted.
bool HoldsRootViewKey(HKEY root, const std::string& path);

// Whether `text` begins with `prefix`, letter case ignored as the registry
// ignores it (store/name_case.h).
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

}  // namespace orvane
