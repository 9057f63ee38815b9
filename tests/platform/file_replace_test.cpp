// Replacing a file's contents: plain files are replaced whole with their
// mode and extended attributes, links are followed only as the kernel's
// protected-symlinks rule allows, and other files are written, never
// renamed over; temporary files a killed writer left are removed by the
// next write to their target. Every case checks the bytes that survive.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/file_replace.h"
#include "support/temp_registry.h"

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;

class FileReplace : public ::testing::Test {
 protected:
  FileReplace() { fs::create_directory(folder()); }
  // A folder of its own beside the test's store.
  std::string folder() const { return (folder_.path() / "files").string(); }
  std::string In(const std::string& name) const { return folder() + "/" + name; }

  static std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  static void Write(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
  static unsigned Mode(const std::string& file) {
    struct stat info {};
    return lstat(file.c_str(), &info) == 0 ? info.st_mode : 0;
  }
  // The names in `folder`, sorted.
  static std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // A folder like /tmp: world-writable and sticky.
  std::string SharedFolder() {
    const std::string folder = In("shared");
    fs::create_directory(folder);
    chmod(folder.c_str(), 01777);
    return folder;
  }

  TempRegistry folder_;
};

TEST_F(FileReplace, APlainFileIsReplacedWithItsModeAndAttributes) {
  const std::string file = In("out.txt");
  Write(file, "old");
  chmod(file.c_str(), 0640);
  ASSERT_EQ(setxattr(file.c_str(), "user.note", "kept", 4, 0), 0);
  ASSERT_EQ(ReplaceFileContents(file, "new contents"), 0);
  EXPECT_EQ(Read(file), "new contents");
  EXPECT_EQ(Mode(file), S_IFREG | 0640u);
  char value[16] = {};
  EXPECT_EQ(getxattr(file.c_str(), "user.note", value, sizeof(value)), 4);
  EXPECT_EQ(std::string(value), "kept");
  EXPECT_EQ(Names(folder()), std::vector<std::string>{"out.txt"});  // no temporary file left
}

TEST_F(FileReplace, AReadOnlyFileIsRefusedUnlessTheCallerReplacesItsOwn) {
  const std::string file = In("backup.orv");
  Write(file, "old");
  chmod(file.c_str(), 0400);
  EXPECT_EQ(ReplaceFileContents(file, "new"), EACCES);
  EXPECT_EQ(Read(file), "old");
  std::unique_ptr<FileReplacement> replacement;
  ASSERT_EQ(FileReplacement::Begin(file, &replacement, ReadOnlyFile::kReplace), 0);
  ASSERT_EQ(replacement->Commit("new"), 0);
  EXPECT_EQ(Read(file), "new");
  EXPECT_EQ(Mode(file), S_IFREG | 0400u);
}

TEST_F(FileReplace, AMissingFileIsCreatedWithTheUmasksMode) {
  const mode_t old_mask = umask(022);
  EXPECT_EQ(ReplaceFileContents(In("new.txt"), "x"), 0);
  umask(old_mask);
  EXPECT_EQ(Read(In("new.txt")), "x");
  EXPECT_EQ(Mode(In("new.txt")), S_IFREG | 0644u);
  EXPECT_EQ(ReplaceFileContents(In("no/folder.txt"), "x"), ENOENT);
}

TEST_F(FileReplace, AFailureBeforeTheRenameLeavesTheOldFileAndNoTemporary) {
  const std::string file = In("keep.txt");
  Write(file, "old bytes");
  EXPECT_EQ(ReplaceFileContents(file, "new bytes", [](int) { return ENOSPC; }), ENOSPC);
  EXPECT_EQ(Read(file), "old bytes");
  EXPECT_EQ(Names(folder()), std::vector<std::string>{"keep.txt"});
}

TEST_F(FileReplace, AStagedFileIsUniqueBesideTheTargetAndRemovedWhenNotCommitted) {
  Write(In("t.reg"), "old");
  std::string first, second;
  {
    std::unique_ptr<FileReplacement> a, b;
    ASSERT_EQ(FileReplacement::Begin(In("t.reg"), &a), 0);
    ASSERT_EQ(FileReplacement::Begin(In("t.reg"), &b), 0);
    ASSERT_EQ(a->Stage(&first), 0);
    ASSERT_EQ(b->Stage(&second), 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(fs::path(first).parent_path(), folder());
    EXPECT_EQ(Mode(first), S_IFREG | 0600u);  // private until the old mode is copied
  }
  EXPECT_FALSE(fs::exists(first));
  EXPECT_FALSE(fs::exists(second));
  EXPECT_EQ(Read(In("t.reg")), "old");
}

// Sets the modification time of `file` (not followed) `age` into the past.
void Age(const std::string& file, std::chrono::seconds age) {
  const timespec past{std::time(nullptr) - age.count(), 0};
  const timespec times[2] = {past, past};
  ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << file;
}

TEST_F(FileReplace, AWriteRemovesTheStaleTemporaryFilesOfItsTargetOnly) {
  const auto old = kStaleTemporaryAge + std::chrono::minutes(1);
  const std::string hex = "0123456789abcdef";
  // Left by a killed writer of out.reg, and by a program killed while it
  // replaced the file such a writer had handed it.
  const std::vector<std::string> stale = {".out.reg." + hex + ".tmp", "..out.reg." + hex + ".tmp.fedcba9876543210.tmp"};
  for (const std::string& name : stale) {
    Write(In(name), "partial");
    Age(In(name), old);
  }
  // Kept: another target's, names that only look like ours, a fresh one,
  // one whose writer holds its lock, a link, a folder.
  const std::vector<std::string> kept_files = {".other.reg." + hex + ".tmp", ".out.reg.0123456789ABCDEF.tmp",
                                               ".out.reg.0123.tmp", "out.reg." + hex + ".tmp",
                                               ".out.reg." + hex + ".tmp.bak"};
  for (const std::string& name : kept_files) {
    Write(In(name), "not ours");
    Age(In(name), old);
  }
  const std::string fresh = ".out.reg.1111111111111111.tmp";
  Write(In(fresh), "being written");
  const std::string locked = ".out.reg.2222222222222222.tmp";
  Write(In(locked), "being written for long");
  Age(In(locked), old);
  const int holder = open(In(locked).c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  Write(In("elsewhere"), "a link's target");
  const std::string link = ".out.reg.3333333333333333.tmp";
  ASSERT_EQ(symlink("elsewhere", In(link).c_str()), 0);
  Age(In(link), old);
  const std::string folder_name = ".out.reg.4444444444444444.tmp";
  fs::create_directory(In(folder_name));
  Age(In(folder_name), old);
  std::vector<std::string> others;
  if (geteuid() == 0) {  // a file of another user
    others.push_back(".out.reg.5555555555555555.tmp");
    Write(In(others.back()), "theirs");
    ASSERT_EQ(chown(In(others.back()).c_str(), 65534, 65534), 0);
    Age(In(others.back()), old);
  }

  ASSERT_EQ(ReplaceFileContents(In("out.reg"), "new"), 0);
  close(holder);

  std::vector<std::string> expected = kept_files;
  expected.insert(expected.end(), {fresh, locked, "elsewhere", link, folder_name, "out.reg"});
  expected.insert(expected.end(), others.begin(), others.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(folder()), expected);
  EXPECT_EQ(Read(In("out.reg")), "new");
}

TEST_F(FileReplace, AStagedFileIsLockedWhileItsWriteLasts) {
  std::string staged;
  {
    std::unique_ptr<FileReplacement> replacement;
    ASSERT_EQ(FileReplacement::Begin(In("t.reg"), &replacement), 0);
    ASSERT_EQ(replacement->Stage(&staged), 0);
    const int other = open(staged.c_str(), O_RDONLY | O_CLOEXEC);
    EXPECT_NE(flock(other, LOCK_EX | LOCK_NB), 0);
    close(other);
    // Even left unchanged for long, it is not taken for a stale one.
    Age(staged, kStaleTemporaryAge + std::chrono::minutes(1));
    ASSERT_EQ(ReplaceFileContents(In("t.reg"), "other writer"), 0);
    EXPECT_TRUE(fs::exists(staged));
    ASSERT_EQ(replacement->Commit("first writer"), 0);
  }
  EXPECT_EQ(Names(folder()), std::vector<std::string>{"t.reg"});
  EXPECT_EQ(Read(In("t.reg")), "first writer");
}

TEST_F(FileReplace, ALinkInAPrivateFolderIsWrittenThrough) {
  const std::string target = In("real.txt");
  Write(target, "old");
  fs::create_symlink("real.txt", In("link.txt"));
  ASSERT_EQ(ReplaceFileContents(In("link.txt"), "through"), 0);
  EXPECT_TRUE(fs::is_symlink(In("link.txt")));
  EXPECT_EQ(Read(target), "through");
}

TEST_F(FileReplace, ALinkOfAnotherUserInASharedStickyFolderIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a link another owner needs root";
  const std::string shared = SharedFolder();
  const std::string victim = In("victim.txt");
  Write(victim, "precious");
  const std::string link = shared + "/out.reg";
  fs::create_symlink(victim, link);
  ASSERT_EQ(lchown(link.c_str(), 12345, 12345), 0);
  EXPECT_EQ(ReplaceFileContents(link, "hostile"), EACCES);
  EXPECT_EQ(Read(victim), "precious");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Names(shared), std::vector<std::string>{"out.reg"});
  // The folder's owner may place links there that others follow.
  ASSERT_EQ(chown(shared.c_str(), 12345, 12345), 0);
  EXPECT_EQ(ReplaceFileContents(link, "allowed"), 0);
  EXPECT_EQ(Read(victim), "allowed");
}

TEST_F(FileReplace, ACallersOwnLinkInASharedStickyFolderIsFollowed) {
  const std::string shared = SharedFolder();
  Write(In("mine.txt"), "old");
  fs::create_symlink(In("mine.txt"), shared + "/mine.reg");
  ASSERT_EQ(ReplaceFileContents(shared + "/mine.reg", "new"), 0);
  EXPECT_EQ(Read(In("mine.txt")), "new");
  EXPECT_TRUE(fs::is_symlink(shared + "/mine.reg"));
}

TEST_F(FileReplace, ALinkLoopIsRefused) {
  fs::create_symlink("b", In("a"));
  fs::create_symlink("a", In("b"));
  EXPECT_EQ(ReplaceFileContents(In("a"), "x"), ELOOP);
  EXPECT_TRUE(fs::is_symlink(In("a")));
}

TEST_F(FileReplace, AFifoReceivesTheBytesAndStaysAFifo) {
  const std::string fifo = In("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::unique_ptr<FileReplacement> replacement;
  ASSERT_EQ(FileReplacement::Begin(fifo, &replacement), 0);
  EXPECT_FALSE(replacement->replaces());
  std::string staged;
  ASSERT_EQ(replacement->Stage(&staged), 0);
  EXPECT_NE(fs::path(staged).parent_path(), folder());  // not beside a file that is not replaced
  ASSERT_EQ(replacement->Commit("REGEDIT4\r\n"), 0);
  EXPECT_FALSE(fs::exists(staged));
  char buffer[64] = {};
  EXPECT_EQ(read(reader, buffer, sizeof(buffer)), 10);
  close(reader);
  EXPECT_EQ(std::string(buffer), "REGEDIT4\r\n");
  EXPECT_TRUE(S_ISFIFO(Mode(fifo)));
}

TEST_F(FileReplace, ALinkToAFifoIsWrittenThroughToTheFifo) {
  const std::string fifo = In("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(fifo, In("to-pipe"));
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_EQ(ReplaceFileContents(In("to-pipe"), "abc"), 0);
  char buffer[8] = {};
  EXPECT_EQ(read(reader, buffer, sizeof(buffer)), 3);
  close(reader);
  EXPECT_TRUE(fs::is_symlink(In("to-pipe")));
  EXPECT_TRUE(S_ISFIFO(Mode(fifo)));
}

TEST_F(FileReplace, AFolderIsNeverReplaced) {
  fs::create_directory(In("dir"));
  EXPECT_EQ(ReplaceFileContents(In("dir"), "x"), EISDIR);
  EXPECT_TRUE(fs::is_directory(In("dir")));
}

// Standard output redirected to `fd` for one scope.
class StdoutTo {
 public:
  explicit StdoutTo(int fd) : saved_(dup(1)) { dup2(fd, 1); }
  ~StdoutTo() {
    dup2(saved_, 1);
    close(saved_);
  }

 private:
  int saved_;
};

TEST_F(FileReplace, DevStdoutIsWrittenAsTheProcessesOwnOutput) {
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  {
    StdoutTo redirect(pipe_ends[1]);
    EXPECT_EQ(ReplaceFileContents("/dev/stdout", "to the pipe"), 0);
  }
  close(pipe_ends[1]);
  char buffer[32] = {};
  EXPECT_EQ(read(pipe_ends[0], buffer, sizeof(buffer)), 11);
  close(pipe_ends[0]);
  EXPECT_EQ(std::string(buffer), "to the pipe");
  // Output going to a file is written at its offset, the file kept.
  Write(In("log.txt"), "");
  const int log = open(In("log.txt").c_str(), O_WRONLY | O_APPEND);
  ASSERT_GE(log, 0);
  struct stat before {};
  ASSERT_EQ(stat(In("log.txt").c_str(), &before), 0);
  {
    StdoutTo redirect(log);
    ASSERT_EQ(write(1, "first ", 6), 6);
    EXPECT_EQ(ReplaceFileContents("/dev/stdout", "second"), 0);
  }
  close(log);
  EXPECT_EQ(Read(In("log.txt")), "first second");
  struct stat after {};
  stat(In("log.txt").c_str(), &after);
  EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, not a replacement
  EXPECT_TRUE(S_ISLNK(Mode("/dev/stdout")));
}

}  // namespace
}  // namespace orvane::platform
