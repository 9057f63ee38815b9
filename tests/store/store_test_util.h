// Small helpers of the store tests: an owned key handle, string values,
// and SQLite's own integrity check of a store file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/win32_registry.h"

namespace orvane::testing {

// An open key closed at destruction (predefined roots are never held).
class OwnedKey {
 public:
  OwnedKey() = default;
  ~OwnedKey() { Reset(); }
  OwnedKey(const OwnedKey&) = delete;
  OwnedKey& operator=(const OwnedKey&) = delete;
  HKEY get() const { return handle_; }
  HKEY* out() {
    Reset();
    return &handle_;
  }
  void Reset() {
    if (handle_ != nullptr) RegCloseKey(handle_);
    handle_ = nullptr;
  }

 private:
  HKEY handle_ = nullptr;
};

LONG CreateKey(HKEY parent, const std::string& path, OwnedKey& key, REGSAM access = 0x3F);
LONG OpenKey(HKEY parent, const std::string& path, OwnedKey& key, REGSAM access = 0x3F);
// Writes a string value with its terminator.
LONG SetText(HKEY key, const char* name, const std::string& text);
// The string value without its terminator, or "status N" when it cannot be read.
std::string GetText(HKEY key, const char* name);
// Creates HKEY_CURRENT_USER\path and writes one string value there.
LONG WriteText(const std::string& path, const char* name, const std::string& text);
// Reads a string value of HKEY_CURRENT_USER\path ("status N" on failure).
std::string ReadText(const std::string& path, const char* name);
// SQLite's integrity check of `file` through a connection of its own:
// "ok" for a sound file, else SQLite's report.
std::string IntegrityCheck(const std::filesystem::path& file);
// The first column of the first row of `sql` on `file`, through a
// connection of its own that asks no holder for anything: it sees only
// what is committed. -1 when the statement fails or returns no row.
int64_t SqlNumber(const std::filesystem::path& file, const char* sql);

}  // namespace orvane::testing
