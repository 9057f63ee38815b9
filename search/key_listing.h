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

// Every value of `key`, in index order, whatever the length of its name
// and data. Returns 0, or the status of the first failed enumeration
// (*values then holds only the values read before it).
LONG ListValues(HKEY key, std::vector<ListedValue>* values);

// The names of every sub-key of `key`, in enumeration order. Returns 0, or
// the status of the first failed enumeration (*names then holds only the
// names read before it).
LONG ListSubKeyNames(HKEY key, std::vector<std::string>* names);

// Whether a value of this type takes part in data matching (1, 2 and 7).
bool IsTextType(uint32_t type);

}  // namespace orvane
