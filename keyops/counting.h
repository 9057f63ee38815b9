// Counting the values and sub-keys of a key, alone or with its whole
// subtree (Count, and the size of the walk search and replace make), and
// committing a root key (ForceWriting). Stateless: each count keeps its
// running totals for itself, so counts never share state.
#pragma once

#include <cstdint>
#include <string>

#include "orvane/variant.h"
#include "platform/win32_registry.h"

namespace orvane {

// Running totals of one count.
struct CountTotals {
  int64_t values = 0;
  int64_t sub_keys = 0;
};

// Adds the counts of `path` under `root` to `totals`; with a non-zero
// `include_sub_keys`, also those of every key below it, each visited as
// soon as it is enumerated (pre-order). A key that refuses access (status
// 5) counts as empty and is not descended into; any other open failure is
// raised (60002 for a missing key) and ends the count, as does a failed
// enumeration. Works at any depth (the walk keeps its own stack).
void CountTreeItems(HKEY root, const std::string& path, uint8_t include_sub_keys, CountTotals& totals);

// The totals of CountTreeItems from zero, as a Long array (0 To 1): values
// (the key's own and, with the subtree, every descendant's), then sub-keys
// (direct ones, or every descendant). A total above the Long range raises
// the runtime's overflow (6).
Variant CountItems(HKEY root, const std::string& path, uint8_t include_sub_keys);

// Makes everything written so far durable (RegFlushKey on the root handle
// itself). Returns false; a failed flush is raised (60000 + its status).
bool FlushRootKey(HKEY root);

}  // namespace orvane
