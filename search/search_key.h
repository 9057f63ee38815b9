// The recursive search of one key and its descendants: value names, value
// data texts and sub-key names matched against the text sought, matches
// appended to the caller's table in pre-order. Reads only; never raises.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32_registry.h"
#include "search/match_table.h"
#include "search/progress.h"

namespace orvane {

// What one search looks for and where.
struct SearchOptions {
  std::string text;
  uint8_t mode = 0;  // MatchMode as a byte; other values match nothing
  bool key_names = false;
  bool value_names = false;
  bool value_data = false;
};

// Searches `path` under `root`: one progress step first when `depth` > 0;
// then the key's values (name row before data row of the same value), then
// each sub-key by name just before its own subtree (depth - 1). The key
// itself is never matched by name. Keys that cannot be opened read empty.
// Works at any depth (the walk keeps its own stack). The product key (the
// undo journals, which Replace never changes) is left out when the walk
// meets it below its top key; a search that starts there reads it.
void SearchKey(HKEY root, const std::string& path, const SearchOptions& options, const ProgressWindow& progress,
               int16_t depth, MatchTable& matches);

}  // namespace orvane
