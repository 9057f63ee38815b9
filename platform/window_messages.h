// Window messages to host windows: SendMessageA for the progress-bar
// messages search and replace send, and, on Linux, the progress-bar windows
// a host creates (their position drawn on a terminal, their messages kept
// as a log). Process-wide window table; one thread, the host's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace orvane::platform {

inline constexpr uint32_t kPbmSetPos = 0x402;
inline constexpr uint32_t kPbmDeltaPos = 0x403;
inline constexpr uint32_t kPbmSetRange32 = 0x406;

#ifdef _WIN32
// Sends `message` to the window named by the 32-bit handle; returns its result.
inline intptr_t SendWindowMessage(int32_t window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return ::SendMessageA(reinterpret_cast<HWND>(static_cast<intptr_t>(window)), message, wparam, lparam);
}
#else
// Delivers `message` to the window named by the 32-bit handle and returns
// its result (the previous position for the position messages); a handle
// that names no window is ignored and gives 0, as for a dead window.
intptr_t SendWindowMessage(int32_t window, uint32_t message, uintptr_t wparam, intptr_t lparam);

// Creates a progress-bar window of the host (range 0 to 100, position 0)
// and returns its handle, never 0 or -1. It lives until the process ends.
int32_t CreateProgressBarWindow();

// The messages the window received, in order, joined by "; ": each as
// "SETRANGE32 min max", "SETPOS pos", "DELTAPOS step", or "MSG 0xNNN w l"
// for any other message. Empty for a handle that names no window.
std::string ProgressBarLog(int32_t window);

// Called with the bar's position and range after every position or range
// message, instead of the bar being drawn on standard error (a full-screen
// host draws it itself). An empty function restores the drawing; a handle
// that names no window is ignored.
using ProgressObserver = std::function<void(int64_t position, int64_t minimum, int64_t maximum)>;
void SetProgressObserver(int32_t window, ProgressObserver observer);
#endif

}  // namespace orvane::platform
