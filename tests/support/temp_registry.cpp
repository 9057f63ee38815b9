#include "support/temp_registry.h"

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

TempRegistry::TempRegistry() = default;
TempRegistry::~TempRegistry() = default;
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
