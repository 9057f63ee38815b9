// Trees and baselines for the search benchmarks: building the trees, and the raw registry walks Find and Replace make,
// written directly against the registry API with no matching or arrays.
// Builds for our store and, with mingw-w64, for Wine's registry.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32_registry.h"

namespace orvane::bench {

// Under `path`: `fan_out` children, each with `fan_out2` children; every
// grandchild holds `values` string values "v0".. whose data is "data N";
// the first value of every `needle_every`-th grandchild reads "needle N".
void PutSearchTree(HKEY root, const std::string& path, int fan_out, int fan_out2, int values, int needle_every);

// Opens every key below `path` (pre-order), queries its counts, enumerates
// each value with its data and each sub-key name. Returns the values met.
size_t RawSearchWalk(HKEY root, const std::string& path);

// The walk above that also rewrites, under its own name, every value
// whose data begins with `prefix`. Returns the values rewritten.
size_t RawRewriteWalk(HKEY root, const std::string& path, const std::string& prefix);

}  // namespace orvane::bench
