// Whether a program started by the platform's program start has ended.
// One thread; the process must be a child of this process.
#pragma once

#include <cstdint>

namespace orvane {

// True once the process `pid` has ended (it is then reaped), or when it is
// not a child of this process. Never blocks.
bool EditorHasEnded(uint32_t pid);

}  // namespace orvane
