#include "regfiles/editor_process.h"

#include <algorithm>

#include "platform/process_start.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>

#include <cerrno>
#endif

namespace orvane {
namespace {

// The started editors that nobody waits for and that have not been reaped.
std::vector<uint32_t>& UnwaitedEditors() {
  static std::vector<uint32_t> editors;
  return editors;
}

}  // namespace

#ifdef _WIN32
bool EditorHasEnded(uint32_t pid, int* exit_code) {
  if (exit_code != nullptr) *exit_code = -1;
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) process = OpenProcess(SYNCHRONIZE, FALSE, pid);  // its exit status stays unknown
  if (process == nullptr) return true;
  const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  DWORD code = 0;
  if (ended && exit_code != nullptr && GetExitCodeProcess(process, &code)) *exit_code = static_cast<int>(code);
  CloseHandle(process);
  return ended;
}
#else
bool EditorHasEnded(uint32_t pid, int* exit_code) {
  int status = 0;
  pid_t result = 0;
  do {
    result = waitpid(static_cast<pid_t>(pid), &status, WNOHANG);
  } while (result < 0 && errno == EINTR);
  if (exit_code != nullptr) *exit_code = result > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result != 0;  // ended (its pid) or no such child (-1)
}
#endif

#ifdef _WIN32
namespace {
bool WaitForExitCodeZero(uint32_t pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) process = OpenProcess(SYNCHRONIZE, FALSE, pid);  // its exit status stays unknown
  if (process == nullptr) return true;
  DWORD code = 0;
  WaitForSingleObject(process, INFINITE);
  const bool ok = GetExitCodeProcess(process, &code) && code == 0;
  CloseHandle(process);
  return ok;
}
}  // namespace
#else
namespace {
bool WaitForExitCodeZero(uint32_t pid) {
  int status = 0;
  pid_t result = 0;
  do {
    result = waitpid(static_cast<pid_t>(pid), &status, 0);
  } while (result < 0 && errno == EINTR);
  return result < 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
}  // namespace
#endif

bool WaitForUnwaitedEditors() {
  bool all_ok = true;
  for (uint32_t pid : UnwaitedEditors()) all_ok = WaitForExitCodeZero(pid) && all_ok;
  UnwaitedEditors().clear();
  return all_ok;
}

void ReapEndedEditors() {
  std::vector<uint32_t>& editors = UnwaitedEditors();
  editors.erase(std::remove_if(editors.begin(), editors.end(), [](uint32_t pid) { return EditorHasEnded(pid); }),
                editors.end());
}

uint32_t StartUnwaitedEditor(const std::vector<std::string>& argv) {
  ReapEndedEditors();
  const uint32_t pid = platform::StartProgram(argv);
  if (pid != 0) UnwaitedEditors().push_back(pid);
  return pid;
}

}  // namespace orvane
