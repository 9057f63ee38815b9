// Progress-bar windows of the host on Linux: each keeps its range, its
// position and the log of the messages it received; on a terminal the bar
// is drawn on standard error after every message.
#include "platform/window_messages.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace orvane::platform {
namespace {

struct ProgressBar {
  int64_t minimum = 0;
  int64_t maximum = 100;
  int64_t position = 0;
  std::string log;
  ProgressObserver observer;
};

// Handles start well away from 0 and -1, which mean "no window".
constexpr int32_t kFirstHandle = 0x10010;
constexpr int kBarWidth = 40;

std::map<int32_t, ProgressBar>& Windows() {
  static std::map<int32_t, ProgressBar> windows;
  return windows;
}

void AppendLog(ProgressBar& bar, const std::string& entry) {
  if (!bar.log.empty()) bar.log += "; ";
  bar.log += entry;
}

int64_t Clamp(const ProgressBar& bar, int64_t position) {
  return std::clamp(position, bar.minimum, std::max(bar.minimum, bar.maximum));
}

// Draws the bar on one terminal line; position 0 after progress clears it.
void Draw(const ProgressBar& bar, int64_t previous) {
  if (isatty(STDERR_FILENO) == 0) return;
  if (bar.position == bar.minimum && previous > bar.minimum) {
    std::fprintf(stderr, "\r%*s\r", kBarWidth + 24, "");
    std::fflush(stderr);
    return;
  }
  const int64_t span = std::max<int64_t>(1, bar.maximum - bar.minimum);
  const int filled = static_cast<int>((bar.position - bar.minimum) * kBarWidth / span);
  std::string line(static_cast<size_t>(filled), '#');
  line.resize(kBarWidth, '.');
  std::fprintf(stderr, "\r[%s] %lld/%lld", line.c_str(), static_cast<long long>(bar.position),
               static_cast<long long>(bar.maximum));
  std::fflush(stderr);
}

intptr_t Deliver(ProgressBar& bar, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  const int64_t previous = bar.position;
  const auto w = static_cast<int64_t>(static_cast<intptr_t>(wparam));
  switch (message) {
    case kPbmSetRange32:
      bar.minimum = static_cast<int32_t>(w);
      bar.maximum = static_cast<int32_t>(lparam);
      bar.position = Clamp(bar, bar.position);
      AppendLog(bar, "SETRANGE32 " + std::to_string(bar.minimum) + " " + std::to_string(bar.maximum));
      break;
    case kPbmSetPos:
      bar.position = Clamp(bar, static_cast<int32_t>(w));
      AppendLog(bar, "SETPOS " + std::to_string(static_cast<int32_t>(w)));
      break;
    case kPbmDeltaPos:
      bar.position = Clamp(bar, bar.position + static_cast<int32_t>(w));
      AppendLog(bar, "DELTAPOS " + std::to_string(static_cast<int32_t>(w)));
      break;
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "MSG 0x%X %lld %lld", message, static_cast<long long>(w),
                    static_cast<long long>(lparam));
      AppendLog(bar, text);
      return 0;
    }
  }
  if (bar.observer) bar.observer(bar.position, bar.minimum, bar.maximum);
  else Draw(bar, previous);
  return static_cast<intptr_t>(previous);
}

}  // namespace

intptr_t SendWindowMessage(int32_t window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  auto found = Windows().find(window);
  if (found == Windows().end()) return 0;
  return Deliver(found->second, message, wparam, lparam);
}

int32_t CreateProgressBarWindow() {
  auto& windows = Windows();
  const int32_t handle = windows.empty() ? kFirstHandle : windows.rbegin()->first + 4;
  windows.emplace(handle, ProgressBar{});
  return handle;
}

void SetProgressObserver(int32_t window, ProgressObserver observer) {
  auto found = Windows().find(window);
  if (found != Windows().end()) found->second.observer = std::move(observer);
}

std::string ProgressBarLog(int32_t window) {
  auto found = Windows().find(window);
  return found == Windows().end() ? std::string() : found->second.log;
}

}  // namespace orvane::platform
