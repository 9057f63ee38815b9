// Selects a fresh registry store in a new temporary directory for this
// process; removes the directory at destruction. On Windows tests use the
// system registry, and only the directory is made. Use one per test (e.g.
// a fixture member).
#pragma once

#include <filesystem>

namespace orvane::testing {

class TempRegistry {
 public:
  TempRegistry();
  ~TempRegistry();
  TempRegistry(const TempRegistry&) = delete;
  TempRegistry& operator=(const TempRegistry&) = delete;

  // The temporary directory.
  const std::filesystem::path& path() const { return dir_; }
  // The database file inside it (empty on Windows).
  std::filesystem::path file() const;

 private:
  std::filesystem::path dir_;
};

}  // namespace orvane::testing

using orvane::testing::TempRegistry;
