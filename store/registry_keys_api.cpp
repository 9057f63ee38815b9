// The key functions of the Win32 registry API over the store: open, create,
// close, delete, enumerate sub-keys, query key information, flush.
#include <algorithm>
#include <cstring>

#include "store/registry_calls.h"
#include "store/registry_session.h"
#include "platform/win32_registry.h"

using orvane::platform::HandleTable;
using orvane::platform::KeyInfo;
using orvane::platform::RegistryKind;
using orvane::platform::Session;
using orvane::platform::Target;
namespace p = orvane::platform;

namespace {

void StoreFileTime(int64_t count, PFILETIME out) {
  if (out == nullptr) return;
  out->dwLowDateTime = static_cast<DWORD>(count & 0xFFFFFFFF);
  out->dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(count) >> 32);
}

// The deepest a key may be created below the stored root it lives under,
// as the Windows registry documents its trees to be at most 512 levels deep.
constexpr size_t kMaxKeyDepth = 512;

// How many levels `key` lies below its stored root (the root itself: 0).
size_t KeyDepth(RegistryKind& store, const KeyInfo& key) {
  size_t depth = 0;
  for (const KeyInfo* at = &key; at != nullptr && at->parent != 0; at = store.Find(at->parent)) ++depth;
  return depth;
}

// Opens the key `names` below `target`, creating missing keys when `create`.
// A key deeper than kMaxKeyDepth is not created (87, as Windows answers
// there); deeper keys that already exist still open.
LONG OpenOrCreate(RegistryKind& store, const Target& target, const std::vector<std::string_view>& names, bool create,
                  const KeyInfo** key, DWORD* disposition) {
  *disposition = REG_OPENED_EXISTING_KEY;
  const RegistryKind::PathPrefix prefix = store.FindLongestPrefix(target.key->id, names);
  *key = prefix.depth == names.size() ? prefix.key : nullptr;
  if (*key != nullptr) return ERROR_SUCCESS;
  if (!create || prefix.key == nullptr) return ERROR_FILE_NOT_FOUND;
  const KeyInfo* at = prefix.key;
  if (at->read_only) return ERROR_ACCESS_DENIED;
  if (KeyDepth(store, *at) + (names.size() - prefix.depth) > kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
  // Creating more than one key: all of them or none.
  if (prefix.depth + 1 < names.size()) store.BeginAtomicStep();
  for (size_t i = prefix.depth; i < names.size(); ++i) at = store.CreateChild(at->id, names[i]);
  *disposition = REG_CREATED_NEW_KEY;
  *key = at;
  return ERROR_SUCCESS;
}

LONG OpenKeyCall(HKEY parent, LPCSTR sub_key, REGSAM desired, bool create, PHKEY result, LPDWORD disposition) {
  return Session::Instance().Call(create, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    if (LONG status = p::ResolveHandle(store, handles, parent, &target)) return status;
    std::vector<std::string_view> names;
    if (LONG status = p::SplitKeyPath(sub_key, &names)) return status;
    if (target.performance_data) {
      if (!names.empty()) return ERROR_INVALID_HANDLE;
      *result = HKEY_PERFORMANCE_DATA;
      return ERROR_SUCCESS;
    }
    if (create && !names.empty()) {
      if (LONG status = p::CheckAccess(target.access, KEY_CREATE_SUB_KEY)) return status;
    }
    const KeyInfo* key = nullptr;
    DWORD how = REG_OPENED_EXISTING_KEY;
    if (LONG status = OpenOrCreate(store, target, names, create, &key, &how)) return status;
    if (LONG status = p::CheckOpenAccess(*key, desired)) return status;
    *result = handles.Add({key->id, key->born, desired});
    if (disposition != nullptr) *disposition = how;
    return ERROR_SUCCESS;
  });
}

// True for the key that a predefined root stands for (its own tree or a view).
bool IsRootKey(RegistryKind& store, const HandleTable& handles, const KeyInfo& key) {
  if (key.parent == 0) return true;
  for (HKEY view : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_CURRENT_CONFIG}) {
    Target target;
    if (p::ResolveHandle(store, handles, view, &target) == ERROR_SUCCESS && target.key == &key) return true;
  }
  return false;
}

LONG DeleteKeyCall(RegistryKind& store, HandleTable& handles, HKEY parent, LPCSTR sub_key) {
  Target target;
  if (LONG status = p::ResolveHandle(store, handles, parent, &target)) return status;
  std::vector<std::string_view> names;
  if (LONG status = p::SplitKeyPath(sub_key, &names)) return status;
  if (target.performance_data) return ERROR_ACCESS_DENIED;
  const KeyInfo* key = nullptr;
  if (LONG status = p::WalkPath(store, target.key, names, &key)) return status;
  if (key->read_only || IsRootKey(store, handles, *key)) return ERROR_ACCESS_DENIED;
  if (store.HasChildren(key->id)) return ERROR_ACCESS_DENIED;
  store.DeleteLeaf(*key);
  return ERROR_SUCCESS;
}

LONG CopyName(const std::string& name, LPSTR buffer, LPDWORD length) {
  if (name.size() + 1 > *length) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.data(), name.size());
  buffer[name.size()] = '\0';
  *length = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

// An empty class: the store keeps no key classes.
LONG EmptyClass(LPSTR buffer, LPDWORD length) {
  if (buffer == nullptr) {
    if (length != nullptr) *length = 0;
    return ERROR_SUCCESS;
  }
  if (length == nullptr) return ERROR_INVALID_PARAMETER;
  if (*length > 0) buffer[0] = '\0';
  *length = 0;
  return ERROR_SUCCESS;
}

struct KeyCounts {
  DWORD sub_keys = 0, max_sub_key = 0, values = 0, max_value_name = 0, max_value_data = 0;
};

KeyCounts CountKey(RegistryKind& store, const KeyInfo& key) {
  KeyCounts counts;
  const auto& children = store.Children(key.id);
  counts.sub_keys = static_cast<DWORD>(children.size());
  for (const KeyInfo* child : children) {
    counts.max_sub_key = std::max(counts.max_sub_key, static_cast<DWORD>(child->name.size()));
  }
  const RegistryKind::ValueSummary values = store.SummarizeValues(key.id);
  counts.values = static_cast<DWORD>(values.count);
  counts.max_value_name = static_cast<DWORD>(values.longest_name);
  counts.max_value_data = static_cast<DWORD>(values.longest_data);
  return counts;
}

void Put(LPDWORD out, DWORD value) {
  if (out != nullptr) *out = value;
}

}  // namespace

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired, PHKEY phkResult) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  return OpenKeyCall(hKey, lpSubKey, samDesired, false, phkResult, nullptr);
}

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*Reserved*/, LPSTR /*lpClass*/, DWORD /*dwOptions*/,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, PHKEY phkResult,
                     LPDWORD lpdwDisposition) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  return OpenKeyCall(hKey, lpSubKey, samDesired, true, phkResult, lpdwDisposition);
}

LONG RegCloseKey(HKEY hKey) { return Session::Instance().CloseHandle(hKey); }

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
  if (lpSubKey == nullptr) return ERROR_INVALID_PARAMETER;
  return Session::Instance().Call(true, [&](RegistryKind& store, HandleTable& handles) {
    return DeleteKeyCall(store, handles, hKey, lpSubKey);
  });
}

LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved, LPSTR lpClass,
                   LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  if (lpName == nullptr || lpcchName == nullptr || lpReserved != nullptr) return ERROR_INVALID_PARAMETER;
  return Session::Instance().Call(false, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    if (LONG status = p::ResolveHandle(store, handles, hKey, &target)) return status;
    if (target.performance_data) return ERROR_NO_MORE_ITEMS;
    if (LONG status = p::CheckAccess(target.access, KEY_ENUMERATE_SUB_KEYS)) return status;
    const auto& children = store.Children(target.key->id);
    if (dwIndex >= children.size()) return ERROR_NO_MORE_ITEMS;
    const KeyInfo& child = *children[dwIndex];
    if (LONG status = CopyName(child.name, lpName, lpcchName)) return status;
    if (LONG status = EmptyClass(lpClass, lpcchClass)) return status;
    StoreFileTime(child.mtime, lpftLastWriteTime);
    return ERROR_SUCCESS;
  });
}

LONG RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                      LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                      LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                      PFILETIME lpftLastWriteTime) {
  if (lpReserved != nullptr || (lpClass != nullptr && lpcchClass == nullptr)) return ERROR_INVALID_PARAMETER;
  return Session::Instance().Call(false, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    if (LONG status = p::ResolveHandle(store, handles, hKey, &target)) return status;
    if (LONG status = p::CheckAccess(target.access, KEY_QUERY_VALUE)) return status;
    const KeyCounts counts = target.performance_data ? KeyCounts{} : CountKey(store, *target.key);
    EmptyClass(lpClass, lpcchClass);
    Put(lpcSubKeys, counts.sub_keys);
    Put(lpcbMaxSubKeyLen, counts.max_sub_key);
    Put(lpcbMaxClassLen, 0);
    Put(lpcValues, counts.values);
    Put(lpcbMaxValueNameLen, counts.max_value_name);
    Put(lpcbMaxValueLen, counts.max_value_data);
    Put(lpcbSecurityDescriptor, 0);
    StoreFileTime(target.key != nullptr ? target.key->mtime : 0, lpftLastWriteTime);
    return ERROR_SUCCESS;
  });
}

LONG RegFlushKey(HKEY hKey) {
  const LONG status = Session::Instance().Call(false, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    return p::ResolveHandle(store, handles, hKey, &target);
  });
  return status != ERROR_SUCCESS ? status : Session::Instance().Flush();
}
