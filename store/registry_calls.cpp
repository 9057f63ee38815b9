#include "store/registry_calls.h"

#include <cstdint>

#include "store/name_case.h"
#include "platform/os_version.h"
#include "store/registry_store.h"

namespace orvane::platform {
namespace {

constexpr REGSAM kReadControl = 0x00020000;
constexpr REGSAM kGenericRead = 0x80000000;
constexpr REGSAM kGenericWrite = 0x40000000;
constexpr REGSAM kGenericExecute = 0x20000000;
constexpr REGSAM kGenericAll = 0x10000000;
constexpr REGSAM kMaximumAllowed = 0x02000000;
constexpr REGSAM kWow64Flags = KEY_WOW64_32KEY | KEY_WOW64_64KEY;
constexpr REGSAM kReadRights = KEY_READ | kWow64Flags;

constexpr std::string_view kClassesPath = "SOFTWARE\\Classes";
constexpr std::string_view kNtConfigPath = "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current";
constexpr std::string_view kWin9xConfigPath = "Config\\0001";

int64_t PredefinedIndex(HKEY handle) {
  const auto value = static_cast<int64_t>(reinterpret_cast<intptr_t>(handle));
  const int64_t base = static_cast<int32_t>(0x80000000u);
  return value - base;
}

const KeyInfo* FindPath(RegistryKind& store, int64_t root, std::string_view path) {
  const KeyInfo* key = store.Find(root);
  while (key != nullptr && !path.empty()) {
    const size_t end = path.find('\\');
    key = store.FindChild(key->id, path.substr(0, end));
    path = end == std::string_view::npos ? std::string_view() : path.substr(end + 1);
  }
  return key;
}

LONG ResolveView(RegistryKind& store, int64_t root, std::string_view path, Target* target) {
  target->key = FindPath(store, root, path);
  if (target->key == nullptr) return ERROR_FILE_NOT_FOUND;
  target->access = target->key->read_only ? KEY_READ : KEY_ALL_ACCESS;
  return ERROR_SUCCESS;
}

LONG ResolvePredefined(RegistryKind& store, int64_t index, Target* target) {
  const bool win9x = CurrentPlatform() == EmulatedPlatform::kWin9x;
  switch (index) {
    case 0:
      return ResolveView(store, kLocalMachineId, kClassesPath, target);
    case 1: {
      return ResolveView(store, kUsersId, win9x ? std::string_view(".Default") : std::string_view(store.UserKeyName()),
                         target);
    }
    case 2:
      return ResolveView(store, kLocalMachineId, {}, target);
    case 3:
      return ResolveView(store, kUsersId, {}, target);
    case 4:
      target->performance_data = true;
      target->access = KEY_READ;
      return ERROR_SUCCESS;
    case 5:
      return ResolveView(store, kLocalMachineId, win9x ? kWin9xConfigPath : kNtConfigPath, target);
    case 6:
      if (!win9x) return ERROR_INVALID_HANDLE;
      return ResolveView(store, kDynDataId, {}, target);
    default:
      return ERROR_INVALID_HANDLE;
  }
}

}  // namespace

LONG ResolveHandle(RegistryKind& store, const HandleTable& handles, HKEY handle, Target* target) {
  const int64_t index = PredefinedIndex(handle);
  if (index >= 0 && index < 0x10) return ResolvePredefined(store, index, target);
  const OpenKey* open = handles.Find(handle);
  if (open == nullptr) return ERROR_INVALID_HANDLE;
  target->key = store.Find(open->key_id);
  if (target->key == nullptr || target->key->born != open->born) return ERROR_KEY_DELETED;
  target->access = open->access;
  return ERROR_SUCCESS;
}

LONG SplitKeyPath(const char* path, std::vector<std::string_view>* names) {
  names->clear();
  if (path == nullptr) return ERROR_SUCCESS;
  std::string_view rest(path);
  if (!rest.empty() && rest.front() == '\\') return ERROR_BAD_PATHNAME;
  while (!rest.empty()) {
    const size_t end = rest.find('\\');
    const std::string_view name = rest.substr(0, end);
    if (Utf16Length(name) > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
    if (!name.empty()) names->push_back(name);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  return ERROR_SUCCESS;
}

LONG WalkPath(RegistryKind& store, const KeyInfo* from, const std::vector<std::string_view>& names,
              const KeyInfo** found) {
  *found = store.FindPath(from->id, names);
  return *found != nullptr ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

REGSAM SpecificRights(REGSAM desired) {
  REGSAM rights = desired & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll | kMaximumAllowed);
  if (desired & (kGenericRead | kGenericExecute)) rights |= KEY_READ;
  if (desired & kGenericWrite) rights |= KEY_WRITE;
  if (desired & (kGenericAll | kMaximumAllowed)) rights |= KEY_ALL_ACCESS;
  return rights;
}

LONG CheckAccess(REGSAM granted, REGSAM needed) {
  return (SpecificRights(granted) & needed) == needed ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LONG CheckOpenAccess(const KeyInfo& key, REGSAM desired) {
  if (!key.read_only) return ERROR_SUCCESS;
  const REGSAM beyond_read = desired & ~(kReadRights | kGenericRead | kGenericExecute | kReadControl);
  return beyond_read != 0 ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

}  // namespace orvane::platform
