// Administration of the store: read-only keys.
#include "store/registry_calls.h"
#include "store/registry_session.h"
#include "store/registry_store.h"

namespace orvane::platform {

LONG SetRegistryKeyReadOnly(HKEY root, const char* path, bool read_only) {
  return Session::Instance().Call(true, [&](RegistryKind& store, HandleTable& handles) {
    if (handles.Find(root) != nullptr) return ERROR_INVALID_HANDLE;  // roots only, not open keys
    Target target;
    if (LONG status = ResolveHandle(store, handles, root, &target)) return status;
    if (target.performance_data) return ERROR_INVALID_HANDLE;
    std::vector<std::string_view> names;
    if (LONG status = SplitKeyPath(path, &names)) return status;
    const KeyInfo* key = nullptr;
    if (LONG status = WalkPath(store, target.key, names, &key)) return status;
    store.SetReadOnly(key->id, read_only);
    return ERROR_SUCCESS;
  });
}

}  // namespace orvane::platform
