// Program start: name resolution, then posix_spawn of the argument vector
// without waiting.
#include "platform/process_start.h"

#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/windows_command_line.h"
#include "store/registry_store.h"

extern char** environ;

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// The last component of a Windows or POSIX path.
std::string_view BaseName(std::string_view name) {
  size_t slash = name.find_last_of("\\/");
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

bool IsRegistryEditorName(std::string_view name) {
  std::string base = Lower(BaseName(name));
  return base == "regedit" || base == "regedit.exe";
}

bool IsExecutableFile(const fs::path& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored) && access(path.c_str(), X_OK) == 0;
}

// The first executable `name` on PATH.
fs::path SearchPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "";
  while (true) {
    size_t colon = dirs.find(':');
    std::string_view dir = dirs.substr(0, colon);
    fs::path candidate = fs::path(dir.empty() ? "." : std::string(dir)) / name;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return {};
    dirs.remove_prefix(colon + 1);
  }
}

// Our editor carries its own name, so that neither Wine's `regedit`
// launcher nor any other `regedit` on the machine is taken for it.
constexpr const char* kRegistryEditorFile = "orvane-regedit";

// Our editor: beside the running program, in the sibling folder of a build
// tree (tools/quorvel/quorvel next to tools/regedit/orvane-regedit), then
// on PATH. The program's own folder comes first so that an installed copy
// and a build tree each use their own editor.
fs::path FindRegistryEditor() {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    for (const fs::path& candidate : {self.parent_path() / kRegistryEditorFile,
                                      self.parent_path().parent_path() / "regedit" / kRegistryEditorFile}) {
      if (IsExecutableFile(candidate)) return candidate;
    }
  }
  return SearchPath(kRegistryEditorFile);
}

fs::path FindAsWritten(const std::string& name) {
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? fs::path(name) : fs::path();
  return SearchPath(name);
}

}  // namespace

fs::path FindProgram(std::string_view name) {
  if (name.empty()) return {};
  if (IsRegistryEditorName(name)) return FindRegistryEditor();
  std::string written(name);
  if (fs::path found = FindAsWritten(written); !found.empty()) return found;
  if (written.size() > 4 && Lower(written.substr(written.size() - 4)) == ".exe") {
    return FindAsWritten(written.substr(0, written.size() - 4));
  }
  return {};
}

uint32_t StartProgram(std::string_view command_line) {
  return StartProgram(SplitWindowsCommandLine(command_line));
}

uint32_t StartProgram(const std::vector<std::string>& argv) {
  if (argv.empty()) return 0;
  const fs::path program = FindProgram(argv[0]);
  if (program.empty()) return 0;
  std::vector<std::string> words = argv;
  words[0] = program.string();
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(word.data());
  pointers.push_back(nullptr);
  CommitPendingRegistryWrites();
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, pointers.data(), environ) != 0) return 0;
  return static_cast<uint32_t>(pid);
}

}  // namespace orvane::platform
