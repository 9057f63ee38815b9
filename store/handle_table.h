// The process's open registry handles: each maps to a key id of the store
// in use and the access granted at open. Values are never reused in a way
// that revives a closed handle: a slot's generation changes when it is
// freed, and Clear() (a store switch) invalidates every handle at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/win32_registry.h"

namespace orvane::platform {

struct OpenKey {
  int64_t key_id = 0;
  int64_t born = 0;  // the key's creation time (ids of deleted keys may return)
  REGSAM access = 0;
};

class HandleTable {
 public:
  HKEY Add(const OpenKey& key);
  // The entry behind `handle`, or nullptr when it is closed or unknown.
  const OpenKey* Find(HKEY handle) const;
  // Returns false when the handle is closed or unknown.
  bool Remove(HKEY handle);
  void Clear();
  size_t OpenCount() const { return slots_.size() - free_.size(); }
  // True when an open handle names a key whose id is in [first, last].
  bool AnyKeyIn(int64_t first, int64_t last) const;

 private:
  struct Slot {
    OpenKey key;
    uint32_t generation = 0;
    bool in_use = false;
  };
  bool Decode(HKEY handle, size_t* slot) const;

  std::vector<Slot> slots_;
  std::vector<size_t> free_;  // used oldest first, so a freed value stays invalid for long
  size_t free_head_ = 0;
};

}  // namespace orvane::platform
