// Subtree primitives every key-level operation rests on: the counts of a
// key, the deletion of all descendants of a key, and the copy of a key's
// values and subtree to another place (any root). Stateless; each call
// opens and closes every key it uses.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "orvane/variant.h"
#include "platform/win32_registry.h"

namespace orvane {

// Counts of one key: its values and its direct sub-keys.
struct KeyInfo {
  int32_t values = 0;
  int32_t sub_keys = 0;
};

// The counts of an open key; 0 and 0 when the query fails (a null or
// closed handle included). Never raises.
KeyInfo QueryKeyInfo(HKEY key);

// The key information array: a Long array (0 To 1), values then sub-keys.
Variant KeyInfoArray(const KeyInfo& info);

// The path of the child `name` of `parent`: a direct child of the root
// (empty parent) is the name alone, since paths never begin with "\".
std::string ChildPath(const std::string& parent, const std::string& name);

// What a subtree walk does at each key: `visit` gets the open key, its
// path and its depth below the walk's top key (0 for that key) and returns
// 0 to go on (into its sub-keys), another status to end the walk with it.
// `open_failed` gets a sub-key that could not be opened (path, depth) and
// the status: 0 skips that sub-key, another status ends the walk.
struct TreeVisitor {
  std::function<LONG(HKEY key, const std::string& path, size_t depth)> visit;
  std::function<LONG(const std::string& path, size_t depth, LONG status)> open_failed;
};

// Visits `path` under `root` and every key below it, each parent before
// its sub-keys (in enumeration order), at any depth: the walk keeps its
// own stack, not the call stack's. Returns 0, the open status of `path`
// itself, the first failed listing of sub-keys, or the status that ended
// the walk. Never raises.
LONG WalkKeyTree(HKEY root, const std::string& path, const TreeVisitor& visitor);

// Deletes every descendant of `path` under `root`, deepest first, at any
// depth. The key itself and its values stay. A key that cannot be opened
// or deleted is left and the walk goes on. Never raises.
void DeleteKeyTree(HKEY root, const std::string& path);

// Copies the values of `source_path` (and, with `include_sub_keys`, its
// whole subtree, pre-order) to `destination_path`, which is created with
// any missing keys above it; an existing destination is merged into.
// Names, types and bytes are copied exactly. Child names of each level are
// read before that level's destination is created, so a destination inside
// the source cannot make the copy descend into its own output. Works at
// any depth. Stops at the first registry call that fails and returns its
// status (0: all copied); what was copied before stays. Never raises.
LONG CopyKeyTree(HKEY source_root, const std::string& source_path, HKEY destination_root,
                 const std::string& destination_path, bool include_sub_keys);

}  // namespace orvane
