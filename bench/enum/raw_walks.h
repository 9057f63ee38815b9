// Baselines for the listing and counting benchmarks: the registry calls
// that GetAllValues, GetAllKeys and Count make, written directly against
// the registry API with no arrays, conversions or error handling.
#pragma once

#include <string>

#include "platform/win32_registry.h"

namespace orvane::bench {

// Writes `count` string values into `path` (created if needed).
void PutValues(HKEY root, const std::string& path, int count);

// Creates `count` direct sub-keys of `path`.
void PutSubKeys(HKEY root, const std::string& path, int count);

// Creates `fan_out` children of `path`, each with `fan_out2` children.
void PutTree(HKEY root, const std::string& path, int fan_out, int fan_out2);

// Enumerates every value of `path`: name, type and size, then the data.
// Returns the total data size read.
size_t RawValueWalk(HKEY root, const std::string& path);

// Enumerates the names of every direct sub-key of `path`; returns their
// total length.
size_t RawKeyWalk(HKEY root, const std::string& path);

// Queries the counts of `path` and of every key below it (pre-order);
// returns the number of sub-keys met.
size_t RawCountWalk(HKEY root, const std::string& path);

}  // namespace orvane::bench
