// The private registry store of one benchmark: a fresh store in a new
// temporary directory, selected for the process on construction; the
// directory and everything in it are removed on destruction.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "store/registry_store.h"

namespace orvane::bench {

class BenchStore {
 public:
  BenchStore() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary directory");
    dir_ = pattern;
    if (platform::SelectRegistryStore(dir_ / "registry.db") != 0) throw std::runtime_error("no store");
  }
  ~BenchStore() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  BenchStore(const BenchStore&) = delete;
  BenchStore& operator=(const BenchStore&) = delete;

 private:
  std::filesystem::path dir_;
};

}  // namespace orvane::bench
