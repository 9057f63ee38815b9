// Saving a property bag file: the old file survives a save that cannot be
// completed, and the save never writes through a link that protected
// symlinks would not follow.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "orvane/property_bag.h"
#include "registry/expect_error.h"
#include "support/temp_registry.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Limits the size of files this process writes for one scope; writing past
// it fails with EFBIG instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_ {};
  void (*old_handler_)(int) = nullptr;
};

TEST(PropertyBagSave, ASaveThatCannotBeWrittenLeavesTheOldFile) {
  TempRegistry dir;
  const fs::path file = dir.path() / "form.txt";
  MemoryPropertyBag bag;
  bag.WriteProperty("Value", Variant::Long(1), Variant());
  bag.SaveFile(file);
  const std::string saved = Read(file);
  bag.WriteProperty("Long", Variant::String(std::string(4096, 'x')), Variant());
  {
    FileSizeLimit limit(saved.size() + 10);
    EXPECT_ERROR_NUMBER(bag.SaveFile(file), 75);
  }
  EXPECT_EQ(Read(file), saved);
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".form.txt"), std::string::npos) << entry.path();
  }
}

TEST(PropertyBagSave, ALinkOfAnotherUserInASharedStickyFolderIsNotWrittenThrough) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link another owner needs root";
  TempRegistry dir;
  const fs::path shared = dir.path() / "shared";
  fs::create_directory(shared);
  chmod(shared.c_str(), 01777);
  const fs::path victim = dir.path() / "victim";
  std::ofstream(victim) << "precious";
  fs::create_symlink(victim, shared / "form.txt");
  ASSERT_EQ(lchown((shared / "form.txt").c_str(), 12345, 12345), 0);
  MemoryPropertyBag bag;
  bag.WriteProperty("Value", Variant::Long(1), Variant());
  EXPECT_ERROR_NUMBER(bag.SaveFile(shared / "form.txt"), 70);
  EXPECT_EQ(Read(victim), "precious");
  EXPECT_TRUE(fs::is_symlink(shared / "form.txt"));
}

}  // namespace
}  // namespace orvane
