#include "support/temp_registry.h"

#ifdef _WIN32
#include <windows.h>

#include <string>
#include <system_error>
#endif

#ifndef _WIN32
#include <stdlib.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <system_error>

#include "platform/registry_store.h"
#endif

namespace orvane::testing {

#ifdef _WIN32

// The system registry is used as it is; the directory is for the files a
// test writes, so none lands in the working directory.
TempRegistry::TempRegistry() {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (unsigned attempt = GetTickCount(); dir_.empty(); ++attempt) {
    const std::filesystem::path candidate = base / ("orvane-reg-" + std::to_string(attempt));
    if (std::filesystem::create_directory(candidate)) dir_ = candidate;
  }
}

TempRegistry::~TempRegistry() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::filesystem::path TempRegistry::file() const { return {}; }

#else

namespace {

std::filesystem::path MakeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvane-reg-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
  return pattern;
}

}  // namespace

TempRegistry::TempRegistry() : dir_(MakeTempDir()) {
  const LONG status = platform::SelectRegistryStore(file());
  if (status != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create a registry store, status " + std::to_string(status));
  }
}

TempRegistry::~TempRegistry() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::filesystem::path TempRegistry::file() const { return dir_ / "registry.db"; }

#endif

}  // namespace orvane::testing
