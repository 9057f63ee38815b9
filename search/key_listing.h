// Listing an open key for search and replace: all its values with their
// stored bytes, and the names of its direct sub-keys, each taken once
// before anything is matched or changed. Stateless; the caller owns the key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32_registry.h"

namespace orvane {

// One value as enumerated: its name exactly as reported, its type, and
// for string, expandable string and multi-string values its stored bytes
// (terminators included); other types keep their size only.
struct ListedValue {
  std::string name;
  uint32_t type = 0;
  uint32_t size = 0;
  std::string bytes;
};

// The first `count` values of `key`, in index order. A value whose
// enumeration fails is listed with an empty name and type 0.
std::vector<ListedValue> ListValues(HKEY key, int32_t count);

// The names of the first `count` sub-keys of `key`, in enumeration order;
// names whose enumeration fails are left out.
std::vector<std::string> ListSubKeyNames(HKEY key, int32_t count);

// Whether a value of this type takes part in data matching (1, 2 and 7).
bool IsTextType(uint32_t type);

}  // namespace orvane
