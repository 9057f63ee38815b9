// Backup on a full disk: the editor cannot write the backup and says so by
// its exit status, so Backup raises 60112 ("There is not enough space on the
// disk.") rather than 60111; the earlier backup stays as it was and no
// temporary file is left. The store and its Windows directory live on a
// small file system made for the test.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/registry_store.h"
#include "small_file_system.h"
#include "store_test_util.h"
#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes into `file` until the file system has no room left.
void Fill(const fs::path& file) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  const std::string chunk(4096, 'f');
  while (std::fwrite(chunk.data(), 1, chunk.size(), out) == chunk.size() && std::fflush(out) == 0) {
  }
  std::fclose(out);
}

std::vector<std::string> HiddenFiles(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().front() == '.') names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(FullDiskBackup, ABackupThatMeetsAFullDiskRaises60112AndKeepsTheEarlierOne) {
  SmallFileSystem room(4 << 20);
  if (!room.full_disk()) GTEST_SKIP() << "a full file system is needed, not a size limit: " << room.why_not();
  TempRegistry elsewhere;
  // This process keeps the store open, so that its files stay as they are
  // while the disk is full.
  const fs::path store = room.folder() / "registry.db";
  ASSERT_EQ(platform::SelectRegistryStore(store), ERROR_SUCCESS);
  ASSERT_EQ(WriteText("Software\\Kept", "v", "a value to back up"), ERROR_SUCCESS);
  ASSERT_EQ(platform::CommitRegistryWrites(), ERROR_SUCCESS);
  const std::string saved_path = std::getenv("PATH");
  const std::string path = fs::path(REGEDIT_PROGRAM).parent_path().string() + ":" + saved_path;
  setenv("PATH", path.c_str(), 1);  // our orvane-regedit first

  const ProgramOutput first = RunProgram(QUORVEL_PROGRAM, {"--registry", store, "--quiet", "-e", "Backup"});
  ASSERT_EQ(first.status, 0) << first.err;
  const fs::path backup = room.folder() / "Registry.orv";
  const std::string before = FileBytes(backup);
  ASSERT_FALSE(before.empty());

  Fill(room.folder() / "filler");
  const ProgramOutput full = RunProgram(QUORVEL_PROGRAM, {"--registry", store, "--quiet", "-e", "Backup"});
  EXPECT_EQ(full.status, 1) << full.out << full.err;
  EXPECT_NE(full.out.find("Error 60112: There is not enough space on the disk."), std::string::npos) << full.out;
  EXPECT_EQ(full.out.find("60111"), std::string::npos) << full.out;
  EXPECT_TRUE(FileBytes(backup) == before);
  EXPECT_EQ(HiddenFiles(room.folder()), std::vector<std::string>{});
  setenv("PATH", saved_path.c_str(), 1);
  ASSERT_EQ(platform::SelectRegistryStore(elsewhere.file()), ERROR_SUCCESS);
}

}  // namespace
}  // namespace orvane::testing
