// Program start on Windows: the system finds the program and splits the
// command line itself; an argument list is first joined into a command line
// that splits back into exactly those arguments. Names and command lines
// are UTF-8 and reach the system as UTF-16.
#include <windows.h>

#include <string>

#include "platform/process_start.h"
#include "platform/utf16_text.h"
#include "platform/windows_command_line.h"

namespace orvane::platform {

std::filesystem::path FindProgram(std::string_view name) {
  const std::wstring file = Utf16FromUtf8(name);
  wchar_t found[MAX_PATH];
  DWORD length = SearchPathW(nullptr, file.c_str(), L".exe", MAX_PATH, found, nullptr);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::filesystem::path(std::wstring(found, length));
}

uint32_t StartProgram(std::string_view command_line) {
  std::wstring line = Utf16FromUtf8(command_line);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return 0;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return process.dwProcessId;
}

uint32_t StartProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return 0;
  return StartProgram(JoinWindowsCommandLine(argv));
}

}  // namespace orvane::platform
