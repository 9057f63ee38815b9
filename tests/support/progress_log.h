// A progress-bar window for tests that keeps the messages it receives as a
// log. Linux: the platform's own host windows (platform/window_messages.h).
// Windows: a message-only window of this process; its log holds the
// messages from WM_USER on (the progress-bar messages), each as
// "SETRANGE32 min max", "SETPOS pos", "DELTAPOS step" or "MSG 0xNNN w l",
// joined by "; ". Use from the thread that created the window.
#pragma once

#include <cstdint>
#include <string>

namespace orvane::testing {

// A new window's 32-bit handle, never 0 or -1.
int32_t CreateProgressLogWindow();

// The messages the window received, in order; empty for an unknown handle.
std::string ProgressLog(int32_t window);

}  // namespace orvane::testing
