#include "store/handle_table.h"

#include <algorithm>

namespace orvane::platform {
namespace {

// A handle is ((generation << kSlotBits) | (slot + 1)) << 2: never zero,
// never one of the sign-extended predefined roots, four-aligned as on Windows.
constexpr unsigned kSlotBits = 24;
constexpr uint64_t kSlotMask = (uint64_t{1} << kSlotBits) - 1;
constexpr uint32_t kGenerationMask = 0xFFFFF;

HKEY Encode(size_t slot, uint32_t generation) {
  const uint64_t value = ((uint64_t{generation} << kSlotBits) | (slot + 1)) << 2;
  return reinterpret_cast<HKEY>(static_cast<uintptr_t>(value));
}

}  // namespace

HKEY HandleTable::Add(const OpenKey& key) {
  size_t slot;
  if (free_head_ < free_.size() && free_.size() - free_head_ > 64) {
    slot = free_[free_head_++];
    if (free_head_ > 4096 && free_head_ * 2 > free_.size()) {
      free_.erase(free_.begin(), free_.begin() + static_cast<std::ptrdiff_t>(free_head_));
      free_head_ = 0;
    }
  } else {
    slot = slots_.size();
    slots_.emplace_back();
  }
  Slot& entry = slots_[slot];
  entry.key = key;
  entry.in_use = true;
  return Encode(slot, entry.generation);
}

bool HandleTable::Decode(HKEY handle, size_t* slot) const {
  const uint64_t value = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle));
  if ((value & 3) != 0 || (value >> 63) != 0) return false;
  const uint64_t index = (value >> 2) & kSlotMask;
  if (index == 0 || index > slots_.size()) return false;
  const Slot& entry = slots_[index - 1];
  if (!entry.in_use || entry.generation != ((value >> 2 >> kSlotBits) & kGenerationMask)) return false;
  *slot = index - 1;
  return true;
}

const OpenKey* HandleTable::Find(HKEY handle) const {
  size_t slot;
  return Decode(handle, &slot) ? &slots_[slot].key : nullptr;
}

bool HandleTable::Remove(HKEY handle) {
  size_t slot;
  if (!Decode(handle, &slot)) return false;
  Slot& entry = slots_[slot];
  entry.in_use = false;
  entry.generation = (entry.generation + 1) & kGenerationMask;
  free_.push_back(slot);
  return true;
}

void HandleTable::Clear() {
  free_.clear();
  free_head_ = 0;
  for (size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].in_use) {
      slots_[i].in_use = false;
      slots_[i].generation = (slots_[i].generation + 1) & kGenerationMask;
    }
    free_.push_back(i);
  }
}

}  // namespace orvane::platform

namespace orvane::platform {

bool HandleTable::AnyKeyIn(int64_t first, int64_t last) const {
  return std::any_of(slots_.begin(), slots_.end(), [&](const Slot& slot) {
    return slot.in_use && slot.key.key_id >= first && slot.key.key_id <= last;
  });
}

}  // namespace orvane::platform
