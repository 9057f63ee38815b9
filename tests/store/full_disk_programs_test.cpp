// The programs on a store whose file system fills up while they write: a
// change a program acknowledged (a statement that did not raise, a verb
// that said it succeeded) is there for a new process, or the program says
// that changes were lost and exits with a failure. Values of 16 KiB spill
// to overflow pages, and the write-ahead log fills the 3 MiB first.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "small_file_system.h"
#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

constexpr size_t kRoom = 3 * 1024 * 1024;
const std::string kHex(32768, 'A');  // 16 KiB of binary data as hexadecimal digits
constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\T";

// A script of `calls` SetValue calls of 16 KiB binary values v0, v1, ...
// each followed by Print, in a file outside the small file system.
std::filesystem::path WriteScript(int calls) {
  std::string script = "GlobalKeyPath = \"" + std::string(kKey) + "\"\nValueType = BinaryType\nValue = \"" + kHex + "\"\n";
  for (int i = 0; i < calls; ++i) script += "ValueName = \"v" + std::to_string(i) + "\": SetValue: Print ValueName\n";
  const std::filesystem::path file = "/tmp/orvane-full-" + std::to_string(getpid()) + ".qv";
  std::ofstream(file) << script;
  return file;
}

// The names of the values a script's SetValue calls wrote without raising:
// each Print line not preceded by the error of its SetValue.
std::set<std::string> AcknowledgedNames(const std::string& out) {
  std::set<std::string> names;
  std::istringstream lines(out);
  bool raised = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("Error ", 0) == 0) {
      raised = true;
    } else if (line.rfind("String \"v", 0) == 0) {
      if (!raised) names.insert(line.substr(8, line.size() - 9));
      raised = false;
    }
  }
  return names;
}

// The value names of `key` as a new orvane-reg process lists them.
std::set<std::string> StoredNames(const std::string& key) {
  const ProgramOutput query = RunProgram(REG_PROGRAM, {"query", key});
  std::set<std::string> names;
  std::istringstream lines(query.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("    ", 0) == 0) names.insert(line.substr(4, line.find(' ', 4) - 4));
  }
  return names;
}

class FullDiskPrograms : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!room_.available() || !room_.full_disk()) GTEST_SKIP() << "no small file system can be mounted here";
    FreshStore();
  }
  // A new store in the small file system, the old one removed; the
  // programs inherit it through ORVANE_REGISTRY.
  void FreshStore() {
    registry_.reset();
    setenv("TMPDIR", room_.folder().c_str(), 1);
    registry_.emplace();
    unsetenv("TMPDIR");
  }
  void TearDown() override { unsetenv("ORVANE_COMMIT_DELAY_MS"); }

  SmallFileSystem room_{kRoom};
  std::optional<TempRegistry> registry_;
};

// 400 SetValue calls with commits at once and deferred: every value whose
// call returned is in the store, except those a later call reported lost,
// and the run exits 1; then three more calls in a new process exit 0 only
// with all three stored.
TEST_F(FullDiskPrograms, QuorvelScriptOfFourHundredBinaryValues) {
  const std::filesystem::path script = WriteScript(400);
  for (const char* delay : {"0", ""}) {
    SCOPED_TRACE(std::string("ORVANE_COMMIT_DELAY_MS=") + delay);
    FreshStore();
    setenv("ORVANE_COMMIT_DELAY_MS", delay, 1);
    const ProgramOutput run = RunProgram(QUORVEL_PROGRAM, {"--no-dialogs", script.string()});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("Error 60112: There is not enough space on the disk."), std::string::npos);
    const std::set<std::string> acknowledged = AcknowledgedNames(run.out);
    const std::set<std::string> stored = StoredNames(kKey);
    EXPECT_GT(acknowledged.size(), 0u);
    EXPECT_LT(acknowledged.size(), 400u);
    for (const std::string& name : acknowledged) {
      if (std::string(delay) == "0" || run.out.find("were lost.") == std::string::npos) {
        EXPECT_TRUE(stored.count(name)) << name << " was acknowledged and is gone";
      }
    }

    std::string three = "GlobalKeyPath = \"" + std::string(kKey) + "\": ValueType = BinaryType: Value = \"" + kHex + "\"";
    for (const char* name : {"x1", "x2", "x3"}) three += std::string(": ValueName = \"") + name + "\": SetValue: Print ValueName";
    const ProgramOutput more = RunProgram(QUORVEL_PROGRAM, {"--no-dialogs", "-e", three});
    const std::set<std::string> after = StoredNames(kKey);
    if (more.status == 0) {
      EXPECT_TRUE(after.count("x1") && after.count("x2") && after.count("x3")) << "exit 0 with values lost";
    } else {
      EXPECT_EQ(more.status, 1) << more.err;
      for (const std::string& name : AcknowledgedNames(more.out)) EXPECT_TRUE(after.count(name)) << name;
    }
  }
  std::filesystem::remove(script);
}

// orvane-reg add, 250 times: every run that said it succeeded left its
// value for the next process; the others exit 1. An import, and a copy,
// on the full disk then fail or are whole.
TEST_F(FullDiskPrograms, RegVerbsSucceedOnlyWithTheirChangesSaved) {
  std::set<std::string> acknowledged;
  for (int i = 0; i < 250; ++i) {
    const std::string name = "r" + std::to_string(i);
    const ProgramOutput add =
        RunProgram(REG_PROGRAM, {"add", kKey, "/v", name, "/t", "REG_BINARY", "/d", kHex, "/f"});
    if (add.status == 0) {
      EXPECT_NE(add.out.find("The operation completed successfully."), std::string::npos);
      acknowledged.insert(name);
    } else {
      EXPECT_EQ(add.status, 1);
      EXPECT_EQ(add.out.find("successfully"), std::string::npos);
    }
  }
  EXPECT_LT(acknowledged.size(), 250u);
  const std::set<std::string> stored = StoredNames(kKey);
  for (const std::string& name : acknowledged) EXPECT_TRUE(stored.count(name)) << name;

  std::string reg = "REGEDIT4\n\n";
  for (int i = 0; i < 4421; ++i) reg += "[HKEY_CURRENT_USER\\Software\\Imported\\K" + std::to_string(i) + "]\n\"v\"=\"x\"\n\n";
  const std::filesystem::path file = "/tmp/orvane-full-" + std::to_string(getpid()) + ".reg";
  std::ofstream(file) << reg;
  const ProgramOutput import = RunProgram(REG_PROGRAM, {"import", file.string()});
  std::filesystem::remove(file);
  if (import.status == 0) {
    EXPECT_EQ(RunProgram(REG_PROGRAM, {"query", "HKEY_CURRENT_USER\\Software\\Imported\\K4420"}).status, 0);
  }
  EXPECT_NE(import.status, 0) << "4,421 keys cannot fit on a full disk";
  const ProgramOutput copy = RunProgram(REG_PROGRAM, {"copy", kKey, "HKEY_CURRENT_USER\\Software\\C", "/s", "/f"});
  EXPECT_NE(copy.status, 0);
  EXPECT_EQ(copy.out.find("successfully"), std::string::npos);
}

// A file size limit (ulimit -f) is a full disk to the store: quorvel
// reports it and exits 1 instead of dying of SIGXFSZ.
TEST_F(FullDiskPrograms, FileSizeLimitIsReportedNotASignal) {
  const std::filesystem::path script = WriteScript(400);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const rlimit limit{kRoom / 3, kRoom / 3};  // reached before the file system is full
    setrlimit(RLIMIT_FSIZE, &limit);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execl(QUORVEL_PROGRAM, QUORVEL_PROGRAM, "--no-dialogs", script.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int state = 0;
  ASSERT_EQ(waitpid(child, &state, 0), child);
  std::filesystem::remove(script);
  ASSERT_TRUE(WIFEXITED(state)) << "signal " << (WIFSIGNALED(state) ? WTERMSIG(state) : 0);
  EXPECT_EQ(WEXITSTATUS(state), 1);
}

}  // namespace
}  // namespace orvane::testing
