// Which processes using a store still run, known by locks they hold, never
// by process ids (which the system reuses). Beside the store is a small
// file, "<store>-live"; a process that takes part holds an fcntl write lock
// on one byte of it, its slot (numbered from 1), until it ends: the kernel
// drops the lock however the process ends. A slot nobody holds belongs to
// no live process. Linux only; safe to call from any thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

namespace orvane::platform {

// The slot this process holds for `store`, taking the lowest free one on
// the first call for that store (and again in a child forked from a
// holder: fcntl locks are not inherited). Asking for another store gives up
// the slot of the previous one. 0 when the liveness file cannot be used
// (a folder without write access, a name that is not a plain file).
int64_t OwnLiveSlot(const std::filesystem::path& store);

// When no live process holds `slot` of `store` (this one included), holds
// it for the duration of `fn`, so that no process can take it meanwhile,
// and returns true; otherwise returns false without calling `fn`.
bool WithUnheldSlot(const std::filesystem::path& store, int64_t slot, const std::function<void()>& fn);

}  // namespace orvane::platform
