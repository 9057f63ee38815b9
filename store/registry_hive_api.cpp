// The hive-file functions of the Win32 registry API over the store: load a
// Windows hive file as a key below HKEY_LOCAL_MACHINE or HKEY_USERS, unload
// it, save a key's subtree as a new hive file, restore a key from one. The
// hives themselves are store/hive's (README.md, "Windows hive files").
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/win32_registry.h"
#include "store/hive/hive_copy.h"
#include "store/hive/hive_mounts.h"
#include "store/name_case.h"
#include "store/registry_calls.h"
#include "store/registry_session.h"

using orvane::platform::HandleTable;
using orvane::platform::HiveMounts;
using orvane::platform::RegistryKind;
using orvane::platform::Session;
using orvane::platform::Target;
namespace p = orvane::platform;

namespace {

// The stored root a hive may be loaded below, or 0 for any other key.
int64_t LoadRoot(HKEY key) {
  if (key == HKEY_LOCAL_MACHINE) return p::kLocalMachineId;
  if (key == HKEY_USERS) return p::kUsersId;
  return 0;
}

// One key name (the mount table keeps names and paths one a line).
bool IsLoadName(LPCSTR name) {
  if (name == nullptr || *name == '\0' || std::strpbrk(name, "\\\t\n") != nullptr) return false;
  return p::Utf16Length(name) <= p::kMaxKeyNameLength;
}

bool IsFileName(LPCSTR file) { return file != nullptr && *file != '\0' && std::strpbrk(file, "\t\n") == nullptr; }

HiveMounts* Mounts(RegistryKind& store) { return dynamic_cast<HiveMounts*>(&store); }

}  // namespace

LONG RegLoadKeyA(HKEY hKey, LPCSTR lpSubKey, LPCSTR lpFile) {
  const int64_t root = LoadRoot(hKey);
  if (root == 0 || !IsLoadName(lpSubKey) || !IsFileName(lpFile)) return ERROR_INVALID_PARAMETER;
  return Session::Instance().Call(true, [&](RegistryKind& store, HandleTable&) {
    HiveMounts* mounts = Mounts(store);
    return mounts == nullptr ? ERROR_NOT_SUPPORTED : mounts->Load(root, lpSubKey, lpFile);
  });
}

LONG RegUnLoadKeyA(HKEY hKey, LPCSTR lpSubKey) {
  const int64_t root = LoadRoot(hKey);
  if (root == 0 || !IsLoadName(lpSubKey)) return ERROR_INVALID_PARAMETER;
  return Session::Instance().Call(true, [&](RegistryKind& store, HandleTable& handles) {
    HiveMounts* mounts = Mounts(store);
    return mounts == nullptr ? ERROR_NOT_SUPPORTED : mounts->Unload(root, lpSubKey, handles);
  });
}

LONG RegSaveKeyA(HKEY hKey, LPCSTR lpFile, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/) {
  if (!IsFileName(lpFile)) return ERROR_INVALID_PARAMETER;
  return Session::Instance().Call(false, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    if (LONG status = p::ResolveHandle(store, handles, hKey, &target)) return status;
    if (target.performance_data) return ERROR_INVALID_PARAMETER;
    p::SaveToHive(store, *target.key, lpFile);
    return ERROR_SUCCESS;
  });
}

LONG RegRestoreKeyA(HKEY hKey, LPCSTR lpFile, DWORD /*dwFlags*/) {
  if (!IsFileName(lpFile)) return ERROR_INVALID_PARAMETER;
  return Session::Instance().Call(true, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    if (LONG status = p::ResolveHandle(store, handles, hKey, &target)) return status;
    if (target.performance_data) return ERROR_INVALID_PARAMETER;
    if (target.key->read_only) return ERROR_ACCESS_DENIED;
    p::RestoreFromHive(store, *target.key, lpFile);
    return ERROR_SUCCESS;
  });
}
