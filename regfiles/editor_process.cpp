#include "regfiles/editor_process.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>

#include <cerrno>
#endif

namespace orvane {

#ifdef _WIN32
bool EditorHasEnded(uint32_t pid) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return true;
  const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}
#else
bool EditorHasEnded(uint32_t pid) {
  int status = 0;
  pid_t result = 0;
  do {
    result = waitpid(static_cast<pid_t>(pid), &status, WNOHANG);
  } while (result < 0 && errno == EINTR);
  return result != 0;  // ended (its pid) or no such child (-1)
}
#endif

}  // namespace orvane
