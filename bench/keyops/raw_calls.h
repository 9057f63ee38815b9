// Baselines for the key-operation benchmarks: the same registry calls the
// operations make, written directly against the registry API with no
// checks, no journal and no error handling around them.
#pragma once

#include <string>

#include "platform/win32_registry.h"

namespace orvane::bench {

// Builds a tree of 1 + fan_out * (1 + fan_out2) keys under `path`, each
// key with one string value.
void BuildTree(HKEY root, const std::string& path, int fan_out, int fan_out2);

// Recursive copy: open, create, enumerate and set values, recurse.
void RawCopy(HKEY root, const std::string& from, const std::string& to);

// Recursive delete of `path` and everything below it.
void RawDelete(HKEY root, const std::string& path);

// Open, query size, query data, close: what reading one string costs.
std::string RawReadString(HKEY root, const std::string& path, const std::string& name);

}  // namespace orvane::bench
