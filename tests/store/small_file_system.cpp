#include "small_file_system.h"

#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvane::testing {
namespace {

// Mounts made by the tests stay inside this process and its children. A
// new mount namespace needs a process with one thread, so it is made
// before main.
const std::string kNamespaceError = [] {
  if (unshare(CLONE_NEWNS) != 0) return std::string("unshare: ") + std::strerror(errno);
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    return std::string("private mounts: ") + std::strerror(errno);
  }
  return std::string();
}();

std::filesystem::path MakeFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvane-small-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

}  // namespace

SmallFileSystem::SmallFileSystem(size_t bytes) {
  const std::filesystem::path folder = MakeFolder();
  if (folder.empty()) {
    why_not_ = "no temporary folder";
    return;
  }
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
  if (kNamespaceError.empty() && mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0) {
    folder_ = folder;
    mounted_ = true;
    return;
  }
  why_not_ = "tmpfs: " + (kNamespaceError.empty() ? std::string(std::strerror(errno)) : kNamespaceError);
  // Without mounts, a limit on the size of every file this process writes.
  rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  rlimit current{};
  if (getrlimit(RLIMIT_FSIZE, &current) == 0 && current.rlim_max == RLIM_INFINITY) {
    limit.rlim_max = RLIM_INFINITY;  // keep the way back
    signal(SIGXFSZ, SIG_IGN);        // a write past the limit fails with EFBIG instead
    if (setrlimit(RLIMIT_FSIZE, &limit) == 0) {
      folder_ = folder;
      limited_ = true;
      return;
    }
  }
  why_not_ += "; file size limit: " + std::string(std::strerror(errno));
  rmdir(folder.c_str());
}

SmallFileSystem::~SmallFileSystem() {
  if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  if (limited_) {
    const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &none);
  }
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

}  // namespace orvane::testing
