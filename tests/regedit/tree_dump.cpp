#include "regedit/tree_dump.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "regedit/parse_dump.h"
#include "tools/regedit/key_handle.h"

extern char** environ;

namespace orvane::regedit::testing {
namespace {

void DumpKey(HKEY key, const std::string& path, std::string* out) {
  *out += path + "\n";
  char name[2048];
  std::string data(1 << 20, '\0');
  for (DWORD i = 0;; ++i) {
    DWORD name_size = sizeof(name), data_size = static_cast<DWORD>(data.size()), type = 0;
    if (RegEnumValueA(key, i, name, &name_size, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                      &data_size) != ERROR_SUCCESS) {
      break;
    }
    *out += "  \"" + std::string(name, name_size) + "\" " + std::to_string(type) + " " +
            HexBytes(std::string_view(data.data(), data_size)) + "\n";
  }
  LONG status = 0;
  for (const std::string& sub_name : SubKeyNames(key, &status)) {
    KeyHandle sub_key;
    if (RegOpenKeyExA(key, sub_name.c_str(), 0, KEY_READ, sub_key.out()) != ERROR_SUCCESS) continue;
    DumpKey(sub_key.get(), path + "\\" + sub_name, out);
  }
}

}  // namespace

std::string DumpTree(HKEY root, const std::string& path) {
  KeyHandle key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) return "missing\n";
  std::string out;
  DumpKey(key.get(), path, &out);
  return out;
}

void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type, std::string_view data) {
  KeyHandle key;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.out(), nullptr), 0);
  ASSERT_EQ(RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            0);
}

ProgramResult RunRegeditProgram(const std::vector<std::string>& args) {
  char error_file[] = "/tmp/regedit-stderr-XXXXXX";
  const int fd = mkstemp(error_file);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fd, 2);
  std::vector<char*> argv{const_cast<char*>(ORVANE_REGEDIT_PROGRAM)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  ProgramResult result;
  int status = 0;
  if (posix_spawn(&pid, ORVANE_REGEDIT_PROGRAM, &actions, nullptr, argv.data(), environ) == 0 &&
      waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    result.exit_code = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  close(fd);
  result.error = ReadFile(error_file);
  unlink(error_file);
  return result;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace orvane::regedit::testing
