// Existence checks: KeyOrValueExists and FirstMissingKey.
#include "registry/existence.h"

#include "registry/registry_error.h"
#include "registry/scoped_key.h"
#include "registry/value_read.h"

namespace orvane {
namespace {

bool KeyExists(HKEY root, const std::string& path) {
  ScopedKey key;
  return key.Open(root, path) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const std::string& path, const std::string& name) {
  ScopedKey key;
  RaiseRegistryError(key.Open(root, path));
  const ValueInfo info = QueryValueType(key.get(), name);
  // An unset-looking default value: only the empty string is stored.
  if (name.empty() && info.size == 1 && info.type == REG_SZ) return false;
  return info.found();
}

}  // namespace

bool KeyOrValueExists(HKEY root, const std::string& path, const std::string& name, uint8_t mode) {
  switch (mode) {
    case kVerifyValueName:
      return ValueExists(root, path, name);
    case kVerifyKey:
      return KeyExists(root, path);
    default:
      return false;
  }
}

std::string FirstMissingKey(HKEY root, const std::string& path) {
  // Only "not found" makes a key missing: a key that refuses to open (a
  // read-only one, say) exists, and the caller must not name it as created.
  auto missing = [root](const std::string& candidate) {
    ScopedKey key;
    return key.Open(root, candidate) == ERROR_FILE_NOT_FOUND;
  };
  for (size_t i = path.find('\\'); i != std::string::npos; i = path.find('\\', i + 1)) {
    std::string candidate = path.substr(0, i);
    if (missing(candidate)) return candidate;
  }
  return missing(path) ? path : std::string();
}

}  // namespace orvane
