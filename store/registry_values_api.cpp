// The value functions of the Win32 registry API over the store: query, set,
// delete and enumerate values. Data is kept as the exact bytes given, with
// any 32-bit type number; the default value has the empty name.
#include <cstring>
#include <string_view>

#include "store/name_case.h"
#include "store/registry_calls.h"
#include "store/registry_session.h"
#include "platform/win32_registry.h"

using orvane::platform::HandleTable;
using orvane::platform::RegistryKind;
using orvane::platform::Session;
using orvane::platform::Target;
using orvane::platform::ValueRecord;
namespace p = orvane::platform;

namespace {

constexpr LONG kErrorNoAccess = ERROR_NOACCESS;  // a null data pointer with a non-zero size

std::string_view ValueName(LPCSTR name) { return name != nullptr ? std::string_view(name) : std::string_view(); }

// Resolves `handle` and checks that it grants `needed`.
LONG ResolveFor(RegistryKind& store, HandleTable& handles, HKEY handle, REGSAM needed, Target* target) {
  if (LONG status = p::ResolveHandle(store, handles, handle, target)) return status;
  return p::CheckAccess(target->access, needed);
}

// Reports type and size, and copies the data when a buffer was given and
// is large enough (else 234 with the needed size).
LONG ReturnData(const ValueRecord& value, LPDWORD type, LPBYTE data, LPDWORD size) {
  if (type != nullptr) *type = value.type;
  const auto needed = static_cast<DWORD>(value.data.size());
  if (data != nullptr && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data != nullptr) std::memcpy(data, value.data.data(), value.data.size());
  if (size != nullptr) *size = needed;
  return ERROR_SUCCESS;
}

}  // namespace

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
  if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) return ERROR_INVALID_PARAMETER;
  return Session::Instance().Call(false, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    if (LONG status = ResolveFor(store, handles, hKey, KEY_QUERY_VALUE, &target)) return status;
    if (target.performance_data) return ERROR_FILE_NOT_FOUND;
    const ValueRecord* value = store.Values(target.key->id).Find(ValueName(lpValueName));
    if (value == nullptr) {
      // A size-only query of a missing value reports size 0, as Windows does.
      if (lpData == nullptr && lpcbData != nullptr) *lpcbData = 0;
      return ERROR_FILE_NOT_FOUND;
    }
    return ReturnData(*value, lpType, lpData, lpcbData);
  });
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD /*Reserved*/, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
  if (lpData == nullptr && cbData != 0) return kErrorNoAccess;
  const std::string_view name = ValueName(lpValueName);
  if (p::Utf16Length(name) > p::kMaxValueNameLength || cbData > p::kMaxValueDataSize) return ERROR_INVALID_PARAMETER;
  return Session::Instance().Call(true, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    if (LONG status = ResolveFor(store, handles, hKey, KEY_SET_VALUE, &target)) return status;
    if (target.performance_data) return ERROR_ACCESS_DENIED;
    const std::string_view data(reinterpret_cast<const char*>(lpData), lpData != nullptr ? cbData : 0);
    store.SetValue(target.key->id, name, dwType, data);
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
  return Session::Instance().Call(true, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    if (LONG status = ResolveFor(store, handles, hKey, KEY_SET_VALUE, &target)) return status;
    if (target.performance_data) return ERROR_ACCESS_DENIED;
    return store.DeleteValue(target.key->id, ValueName(lpValueName)) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
  });
}

LONG RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                   LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpValueName == nullptr || lpcchValueName == nullptr || lpReserved != nullptr ||
      (lpData != nullptr && lpcbData == nullptr)) {
    return ERROR_INVALID_PARAMETER;
  }
  return Session::Instance().Call(false, [&](RegistryKind& store, HandleTable& handles) {
    Target target;
    if (LONG status = ResolveFor(store, handles, hKey, KEY_QUERY_VALUE, &target)) return status;
    if (target.performance_data) return ERROR_NO_MORE_ITEMS;
    const auto& values = store.Values(target.key->id).items();
    if (dwIndex >= values.size()) return ERROR_NO_MORE_ITEMS;
    const ValueRecord& value = values[dwIndex];
    const bool name_fits = value.name.size() + 1 <= *lpcchValueName;
    if (!name_fits || (lpData != nullptr && *lpcbData < value.data.size())) {
      // Too small a buffer for the name or the data: type and data size
      // are still reported, nothing is copied.
      if (lpType != nullptr) *lpType = value.type;
      if (lpcbData != nullptr) *lpcbData = static_cast<DWORD>(value.data.size());
      return ERROR_MORE_DATA;
    }
    std::memcpy(lpValueName, value.name.data(), value.name.size());
    lpValueName[value.name.size()] = '\0';
    *lpcchValueName = static_cast<DWORD>(value.name.size());
    return ReturnData(value, lpType, lpData, lpcbData);
  });
}
