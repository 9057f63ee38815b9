// A folder with little room for one test: a tmpfs of `bytes` mounted in a
// mount namespace private to the test process (made before main, while the
// process has one thread), else a file size limit (RLIMIT_FSIZE) of
// `bytes` on this process and its children. available() is false, with
// the reason, when neither can be had. Unmounted, or the limit lifted, at
// destruction.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace orvane::testing {

class SmallFileSystem {
 public:
  explicit SmallFileSystem(size_t bytes);
  ~SmallFileSystem();
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;

  bool available() const { return !folder_.empty(); }
  const std::string& why_not() const { return why_not_; }
  // True when writes fail because the file system is full (ENOSPC); false
  // for a file size limit (EFBIG).
  bool full_disk() const { return mounted_; }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::string why_not_;
  bool mounted_ = false;
  bool limited_ = false;
};

}  // namespace orvane::testing
