// Test helpers for the registry side: a key tree printed as text (every
// key, every value with its type and bytes, in enumeration order), writing
// values, and running the regedit program as a separate process.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32_registry.h"

namespace orvane::regedit::testing {

// "path\n" per key and "  \"name\" type bytes\n" per value, depth first;
// "missing\n" when the key cannot be opened.
std::string DumpTree(HKEY root, const std::string& path);

// Creates the key (with missing parents) and sets one value; fails the test
// on a non-zero status.
void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type, std::string_view data);

struct ProgramResult {
  int exit_code = -1;  // -1 when the program did not exit normally
  std::string error;   // what it wrote on standard error
};

// Runs the regedit program with `args` in this process's environment (so
// on the store that the test selected) and waits for it.
ProgramResult RunRegeditProgram(const std::vector<std::string>& args);

// The whole contents of a file ("" when it cannot be read).
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);

}  // namespace orvane::regedit::testing
