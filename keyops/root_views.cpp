// Root views and the containment test built on them.
#include "keyops/root_views.h"

#include "platform/current_user.h"
#include "store/name_case.h"
#include "registry/key_path.h"
#include "registry/scoped_key.h"

namespace orvane {
namespace {

// The key the current hardware profile root shows, by platform.
constexpr const char* kCurrentConfigNt = "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current";
constexpr const char* kCurrentConfigOlder = "Config\\0001";
constexpr const char* kClassesKey = "SOFTWARE\\Classes";

bool IsNtPlatform() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) == 0 || version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// The key under HKEY_USERS that the current user root shows; empty where
// it is not known (a Windows process whose token cannot be read).
std::string CurrentUserKey() {
#ifdef _WIN32
  static const std::string user = platform::CurrentUserKeyName();
  return user;
#else
  return IsNtPlatform() ? platform::CurrentUserKeyName() : ".Default";
#endif
}

std::string JoinPaths(const std::string& base, const std::string& path) {
  return path.empty() ? base : base + '\\' + path;
}

}  // namespace

KeyLocation ResolveRootView(HKEY root, const std::string& path) {
  const std::string normal = TrimKeyPath(CollapseBackslashes(path));
  if (root == HKEY_CLASSES_ROOT) return {HKEY_LOCAL_MACHINE, JoinPaths(kClassesKey, normal)};
  if (root == HKEY_CURRENT_CONFIG) {
    return {HKEY_LOCAL_MACHINE, JoinPaths(IsNtPlatform() ? kCurrentConfigNt : kCurrentConfigOlder, normal)};
  }
  if (root == HKEY_CURRENT_USER) {
    const std::string user = CurrentUserKey();
    if (!user.empty()) return {HKEY_USERS, JoinPaths(user, normal)};
  }
  return {root, normal};
}

bool IsSameOrInside(const KeyLocation& inner, const KeyLocation& outer) {
  const KeyLocation a = ResolveRootView(inner.root, inner.path);
  const KeyLocation b = ResolveRootView(outer.root, outer.path);
  if (a.root != b.root) return false;
  if (b.path.empty()) return true;
  const size_t length = platform::FoldedPrefixLength(a.path, b.path);
  if (length == std::string_view::npos) return false;
  return a.path.size() == length || a.path[length] == '\\';
}

bool HoldsRootViewKey(HKEY root, const std::string& path) {
  for (HKEY view : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_CURRENT_CONFIG}) {
    const KeyLocation shown = ResolveRootView(view, "");
    if (shown.root != view && IsSameOrInside(shown, {root, path})) return true;
  }
  return false;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return platform::FoldedPrefixLength(text, prefix) != std::string_view::npos;
}

}  // namespace orvane
