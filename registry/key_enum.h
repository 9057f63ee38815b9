// Enumerating a key's sub-keys and values whatever the length of their
// names and data: buffers are sized from the key's longest name and data as
// RegQueryInfoKeyA reports them, and grown again when a call still finds
// them too small (the key changed meanwhile). A failed call is reported as
// its status, never read as data. Stateless apart from the buffers.
#pragma once

#include <string>
#include <vector>

#include "platform/win32_registry.h"

namespace orvane {

// The names of all direct sub-keys of the open `key`, in enumeration
// order. Returns 0, or the status of the first failed call (*names then
// holds the names read before it).
LONG ReadSubKeyNames(HKEY key, std::vector<std::string>* names);

// One value as enumerated: exact name, type and stored bytes.
struct EnumeratedValue {
  std::string name;
  DWORD type = 0;
  std::string data;
};

// Reads the values of one open key by index, reusing its buffers.
class ValueEnumerator {
 public:
  explicit ValueEnumerator(HKEY key) : key_(key) {}
  // The value at `index` into *value: 0, 259 past the last value, or the
  // status of the failed call (*value is then unspecified).
  LONG Read(DWORD index, EnumeratedValue* value);

 private:
  // Sizes the buffers from the key's longest value name and data.
  LONG SizeBuffers();
  HKEY key_;
  std::string name_buffer_;
  std::string data_buffer_;
  bool sized_ = false;
};

}  // namespace orvane
