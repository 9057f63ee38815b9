// Shared steps of the registry functions: resolving a handle (predefined
// root, root view or open key) to a key of the store, splitting and walking
// sub-key paths, and the access rights a handle carries. Internal to the
// store; they see the store only as a RegistryKind. Every function returns
// a Win32 status.
#pragma once

#include <string_view>
#include <vector>

#include "store/handle_table.h"
#include "store/registry_kind.h"
#include "platform/win32_registry.h"

namespace orvane::platform {

// Name limits in UTF-16 units, as Windows counts them (Utf16Length).
constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;
constexpr DWORD kMaxValueDataSize = 64u << 20;

// The key a handle stands for, with the access it grants. For
// HKEY_PERFORMANCE_DATA, `key` is nullptr and `performance_data` is set.
struct Target {
  const KeyInfo* key = nullptr;
  REGSAM access = 0;
  bool performance_data = false;
};

// 0, 6 for a closed, unknown or absent root handle, 1018 for a key deleted
// since the handle was opened, 2 when a root view's key is missing.
LONG ResolveHandle(RegistryKind& store, const HandleTable& handles, HKEY handle, Target* target);

// Splits a sub-key path into names; empty names (doubled or trailing
// backslashes) are skipped. 0, 161 for a leading backslash, 87 for a name
// longer than 255 UTF-16 units. A null path is the empty path.
LONG SplitKeyPath(const char* path, std::vector<std::string_view>* names);

// Follows `names` down from `from`: 0 and *found, or 2 at the first missing name.
LONG WalkPath(RegistryKind& store, const KeyInfo* from, const std::vector<std::string_view>& names,
              const KeyInfo** found);

// The specific rights a requested access mask stands for (generic rights mapped).
REGSAM SpecificRights(REGSAM desired);
// 0 when a handle with `granted` rights may do what `needed` asks, else 5.
LONG CheckAccess(REGSAM granted, REGSAM needed);
// 0, or 5 when a read-only key is asked for anything beyond reading.
LONG CheckOpenAccess(const KeyInfo& key, REGSAM desired);

}  // namespace orvane::platform
