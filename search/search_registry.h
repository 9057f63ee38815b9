// Find: a search of the current key and its descendants, or of the whole
// registry root by root, in the variant of the NT platform or of the older
// platform. Uses a fresh match table per call; reads only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "orvane/variant.h"
#include "platform/win32_registry.h"
#include "search/search_key.h"

namespace orvane {

// Where one search or replace walks and how it reports progress.
struct WalkScope {
  HKEY root = nullptr;
  std::string path;
  bool all_registry = false;
};

// The search result (see MatchTable::ToVariant). Raises 60140 for a
// non-zero `reserved`; with a progress window and a walk of the current
// key, the error of counting its sub-keys (60002 for a missing key). With
// `all_registry`, HKEY_CLASSES_ROOT rows are derived from those found under
// HKEY_LOCAL_MACHINE "SOFTWARE\Classes", and HKEY_CURRENT_USER rows from
// HKEY_USERS ".Default" when it is the only user; on the older platform
// HKEY_CURRENT_CONFIG rows likewise from "Config\0001" when it is the only
// configuration, and HKEY_DYN_DATA is walked as well. `nt` picks the variant.
// `find_mode` is narrowed to the options' mode byte after the progress
// window is taken (the runtime's overflow, 6, outside 0 to 255).
Variant SearchRegistry(const WalkScope& scope, SearchOptions options, int32_t find_mode, const Variant& reserved,
                       int32_t& progress_window, bool nt);

// The find mode as one byte; raises the runtime's overflow (6) outside 0 to 255.
uint8_t NarrowFindMode(int32_t find_mode);

// The sub-key count of the current key as the progress maximum, raising
// the counting error when the key cannot be opened.
int32_t DirectSubKeyCount(HKEY root, const std::string& path);

// Appends a copy under the root `view` of every row of [first, last) whose
// key path is `prefix` or lies below it (letter case ignored), the path made
// relative to the prefix key: empty for that key, no leading backslash.
void DeriveViewRows(MatchTable& matches, size_t first, size_t last, std::string_view prefix, int32_t view);

// Raises 60140 unless `reserved` is the number 0 (or Empty).
void RequireZeroReserved(const Variant& reserved);

}  // namespace orvane
