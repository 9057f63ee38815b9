// orvane-regedit: the registry editor's command lines, on the same registry store
// as the control (the store is chosen by --registry FILE, else by
// ORVANE_REGISTRY, inherited from the parent). Arguments arrive already split, or as one Windows-style command
// line after "--command-line", which is split with the Windows rules.
// Without arguments on a terminal it is the full-screen editor.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "store/registry_store.h"
#include "tools/regedit/command_line.h"
#include "tools/regedit/program_name.h"
#ifdef _WIN32
#include <windows.h>

#include "platform/utf16_text.h"
#else
#include "tools/common/registry_option.h"
#include "tools/regedit/editor/screen/editor_screen.h"
#endif
#include "tools/regedit/regedit_program.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef _WIN32
  // The arguments as UTF-8 from the UTF-16 command line: the ANSI argv
  // would have lost what the code page cannot spell.
  const std::string line = orvane::platform::Utf8FromUtf16(GetCommandLineW());
  // The program name is quoted or ends at the first blank.
  const size_t name_end = line.starts_with('"') ? line.find('"', 1) : line.find_first_of(" \t");
  args = orvane::regedit::SplitWindowsCommandLine(name_end == std::string::npos ? "" : line.substr(name_end + 1));
#else
  orvane::tools::TakeRegistryOption(args);
  if (args.empty() && isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
    return orvane::regedit::editor::screen::RunFullScreenEditor();
  }
#endif
  if (args.size() == 2 && args[0] == "--command-line") {
    args = orvane::regedit::SplitWindowsCommandLine(args[1]);
  }
  int exit_code = orvane::regedit::kExitFailure;
  try {
    exit_code = orvane::regedit::RunRegedit(args);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s: %s\n", orvane::regedit::kProgramName, error.what());
  }
#ifndef _WIN32
  // Changes that did not reach the store make the run a failure. (The
  // Windows registry keeps what a call has written itself.)
  if (const LONG status = orvane::platform::CommitRegistryWritesForExit()) {
    std::fprintf(stderr, "%s: registry changes were not saved (status %d)\n", orvane::regedit::kProgramName,
                 static_cast<int>(status));
    return orvane::regedit::kExitFailure;
  }
#endif
  return exit_code;
}
