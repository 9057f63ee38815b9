// The editor's progress is polled: every second, or four times within a
// shorter limit. The processor time is read from /proc/<pid>/stat on Linux
// and from the process's times on Windows.
#include "regfiles/export_wait.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>
#include <tuple>

#include "regfiles/editor_process.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;
using Signature = std::tuple<unsigned long long, long long, long long, long long, unsigned long long>;

std::atomic<long long> g_limit_ms{kDefaultExportStallLimit.count()};

#ifdef _WIN32
unsigned long long ProcessorTime(uint32_t pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return 0;
  FILETIME created, ended, kernel, user;
  unsigned long long total = 0;
  if (GetProcessTimes(process, &created, &ended, &kernel, &user)) {
    total = (static_cast<unsigned long long>(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
            (static_cast<unsigned long long>(user.dwHighDateTime) << 32 | user.dwLowDateTime);
  }
  CloseHandle(process);
  return total;
}

void StopEditor(uint32_t pid) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return;
  TerminateProcess(process, 1);
  WaitForSingleObject(process, INFINITE);
  CloseHandle(process);
}
#else
// utime + stime, the 14th and 15th fields of /proc/<pid>/stat (the name in
// parentheses may hold blanks, so fields are counted after its ")").
unsigned long long ProcessorTime(uint32_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(text.substr(close + 1));
  std::string field;
  unsigned long long total = 0;
  for (int number = 3; number <= 15 && fields >> field; ++number) {
    if (number >= 14) total += std::strtoull(field.c_str(), nullptr, 10);
  }
  return total;
}

void StopEditor(uint32_t pid) {
  kill(static_cast<pid_t>(pid), SIGKILL);
  while (waitpid(static_cast<pid_t>(pid), nullptr, 0) < 0 && errno == EINTR) {
  }
}
#endif

Signature Progress(uint32_t pid, const std::string& file) {
  struct stat info {};
  if (stat(file.c_str(), &info) != 0) info = {};
  return {static_cast<unsigned long long>(info.st_ino), static_cast<long long>(info.st_size),
          static_cast<long long>(info.st_mtime), static_cast<long long>(info.st_ctime), ProcessorTime(pid)};
}

}  // namespace

std::chrono::milliseconds ExportStallLimit() { return std::chrono::milliseconds(g_limit_ms.load()); }

void SetExportStallLimit(std::chrono::milliseconds limit) {
  g_limit_ms = limit.count() > 0 ? limit.count() : kDefaultExportStallLimit.count();
}

bool WaitForEditor(uint32_t pid, const std::string& file, int* exit_code) {
  const auto limit = ExportStallLimit();
  const auto poll = std::clamp(limit / 4, std::chrono::milliseconds(10), std::chrono::milliseconds(1000));
  Signature last = Progress(pid, file);
  Clock::time_point last_change = Clock::now();
  for (;;) {
    std::this_thread::sleep_for(poll);
    if (EditorHasEnded(pid, exit_code)) return true;
    const Signature now = Progress(pid, file);
    if (now != last) {
      last = now;
      last_change = Clock::now();
    } else if (Clock::now() - last_change >= limit) {
      StopEditor(pid);
      return false;
    }
  }
}

}  // namespace orvane
