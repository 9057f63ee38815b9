// The recursive replace of one key and its descendants: string data, value
// names and sub-key names that match are rewritten, renamed or moved at
// once, counting each change. Writes straight to the registry, records no
// undo; a failed write, deletion or move is raised and ends the walk.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32_registry.h"
#include "search/progress.h"
#include "search/search_key.h"

namespace orvane {

// What one replace looks for (`find.text`, `find.mode`, the three options)
// and what it puts in its place.
struct ReplaceOptions {
  SearchOptions find;
  std::string with;
};

// Replaces in `path` under `root`: one progress step first when `depth` >
// 0; then the values, listed once before any changes (data first, then
// names, so a value whose data and name both match counts 2); then each
// sub-key, whose names are taken before any is visited: its subtree first
// (depth - 1), then its own name. Adds every change to `count`. Raises
// 60134 when a renamed key's new name exists beside it, any other error of
// the move, a failed value write or deletion, and a failed enumeration
// (60000 + its status). Works at any depth (the walk keeps its own stack).
// The product key (the undo journals) is left out with its subtree: a walk
// that meets it skips it, a walk that starts inside it changes nothing.
void ReplaceInKey(HKEY root, const std::string& path, const ReplaceOptions& options, const ProgressWindow& progress,
                  int16_t depth, int32_t& count);

// The new data of a text value after replacement, or false when its data
// does not match. String data ends in exactly one zero. Multi-string data
// is replaced within each entry (a "|" of the new text separates entries,
// one already in an entry stays) and ends in two zeros.
bool ReplacedData(uint32_t type, const std::string& bytes, const ReplaceOptions& options, std::string& data);

}  // namespace orvane
