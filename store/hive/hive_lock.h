// The lock our processes take before changing a store's mount table or
// writing a hive file loaded on that store: an exclusive flock on a file
// beside the store, held from the first write of a call to its end.
#pragma once

#include <filesystem>

namespace orvane::platform {

class HiveLock {
 public:
  explicit HiveLock(std::filesystem::path file) : file_(std::move(file)) {}
  ~HiveLock() { Release(); }
  HiveLock(const HiveLock&) = delete;
  HiveLock& operator=(const HiveLock&) = delete;
  // Waits for the lock unless this process holds it. Throws HiveError.
  void Acquire();
  void Release();
  bool held() const { return fd_ >= 0; }

 private:
  std::filesystem::path file_;
  int fd_ = -1;
};

}  // namespace orvane::platform
