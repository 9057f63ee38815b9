#include "support/progress_log.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#include <map>
#else
#include "platform/window_messages.h"
#endif

namespace orvane::testing {

#ifdef _WIN32

namespace {

constexpr UINT kSetPos = 0x402;
constexpr UINT kDeltaPos = 0x403;
constexpr UINT kSetRange32 = 0x406;

std::map<HWND, std::string>& Logs() {
  static std::map<HWND, std::string> logs;
  return logs;
}

void Append(HWND window, const std::string& entry) {
  std::string& log = Logs()[window];
  log += (log.empty() ? "" : "; ") + entry;
}

std::string MessageText(UINT message, WPARAM w, LPARAM l) {
  if (message == kSetRange32) return "SETRANGE32 " + std::to_string(w) + " " + std::to_string(l);
  if (message == kSetPos) return "SETPOS " + std::to_string(static_cast<int32_t>(w));
  if (message == kDeltaPos) return "DELTAPOS " + std::to_string(static_cast<int32_t>(w));
  char text[80];
  std::snprintf(text, sizeof text, "MSG 0x%X %lld %lld", message, static_cast<long long>(w),
                static_cast<long long>(l));
  return text;
}

LRESULT CALLBACK LogWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message < WM_USER) return DefWindowProcA(window, message, w, l);
  Append(window, MessageText(message, w, l));
  return 0;
}

const char* WindowClass() {
  static const char* name = [] {
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = LogWindowProc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "OrvaneTestProgressLog";
    RegisterClassA(&window_class);
    return window_class.lpszClassName;
  }();
  return name;
}

}  // namespace

int32_t CreateProgressLogWindow() {
  HWND window = CreateWindowExA(0, WindowClass(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  Logs()[window];
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(window));
}

std::string ProgressLog(int32_t window) {
  const auto found = Logs().find(reinterpret_cast<HWND>(static_cast<intptr_t>(window)));
  return found == Logs().end() ? std::string() : found->second;
}

#else

int32_t CreateProgressLogWindow() { return platform::CreateProgressBarWindow(); }

std::string ProgressLog(int32_t window) { return platform::ProgressBarLog(window); }

#endif

}  // namespace orvane::testing
