// Find and Replace: each forwards the current location, its own arguments
// and 0 in place of Reserved to the search or replace of the platform
// variant the NT platform flag names. Neither changes the current location.
#include "control/method_group.h"
#include "orvane/quorvel.h"
#include "registry/nt_platform.h"
#include "registry/scoped_key.h"
#include "search/replace_registry.h"
#include "search/search_registry.h"

namespace orvane {

Variant Quorvel::Find(const std::string& StringToFind, int32_t FindMode, bool FindKeyPath, bool FindValueName,
                      bool FindValue, const Variant& /*Reserved*/, bool AllRegistry, int32_t& ProgressBarHWnd) {
  const SearchOptions options{StringToFind, 0, FindKeyPath, FindValueName, FindValue};
  const WalkScope scope{RootHandle(hkey_), sub_key_path_, AllRegistry};
  return InMethodGroup(
      [&] { return SearchRegistry(scope, options, FindMode, Variant::Long(0), ProgressBarHWnd, NtPlatform()); });
}

// GCC 12 at -O2 and above wrongly reports the options' search text as
// possibly uninitialised when it is destroyed (an aggregate holding a
// string inside another); every member is initialised where it is declared.
// Silenced for this function only.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
int32_t Quorvel::Replace(const std::string& StringToFind, const std::string& ReplaceWith, int32_t FindMode,
                         bool FindKeyPath, bool FindValueName, bool FindValue, const Variant& /*Reserved*/,
                         bool AllRegistry, int32_t& ProgressBarHWnd) {
  const ReplaceOptions options{{StringToFind, 0, FindKeyPath, FindValueName, FindValue}, ReplaceWith};
  const WalkScope scope{RootHandle(hkey_), sub_key_path_, AllRegistry};
  return InMethodGroup(
      [&] { return ReplaceInRegistry(scope, options, FindMode, Variant::Long(0), ProgressBarHWnd, NtPlatform()); });
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

}  // namespace orvane
