// Selects a fresh registry store in a new temporary directory for this
// process (of the kind asked for: "sqlite", the default, our database file;
// "wine", a Wine prefix in the directory); removes the directory at
// destruction. On Windows tests use the
// system registry: only the directory is made, and at destruction every
// key that appeared meanwhile below a root, HKCU\Software, HKLM\SOFTWARE
// or the keys the root views show is deleted (changes to keys that were
// there before are not undone). Use one per test (e.g. a fixture member).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvane::testing {

class TempRegistry {
 public:
  TempRegistry() : TempRegistry("sqlite") {}
  explicit TempRegistry(const std::string& kind);
  ~TempRegistry();
  TempRegistry(const TempRegistry&) = delete;
  TempRegistry& operator=(const TempRegistry&) = delete;

  // The temporary directory.
  const std::filesystem::path& path() const { return dir_; }
  // The store selected inside it: the database file, or the prefix's
  // folder (empty on Windows).
  std::filesystem::path file() const;

 private:
  std::filesystem::path dir_;
  std::filesystem::path location_;
  std::vector<std::vector<std::string>> found_;  // Windows: sub-keys of each area at the start
};

}  // namespace orvane::testing

using orvane::testing::TempRegistry;
