// A Wine prefix selected as the store: what the Win32 functions read from
// its files, what they write back, and the refusal while a Wine server runs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/win32_registry.h"
#include "store/registry_store.h"
#include "support/temp_registry.h"

namespace {

namespace fs = std::filesystem;

const std::string kHead = "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n";
const std::string kKept = "\n[Software\\\\Kept] 1796822368\n#time=1dd87dfeb5f1b8a\n#future option\n\"A\"=\"1\"\n";
const std::string kOther = "\n[Software\\\\Other] 1796822368\n#time=1dd87dfeb5f1b8a\n\"B\"=dword:00000002\n";

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteAll(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

class WinePrefixStore : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = registry_.path() / "own";
    fs::create_directory(prefix_);
    WriteAll(prefix_ / "system.reg", kHead + kKept + kOther);
    ASSERT_EQ(orvane::platform::SelectRegistryStore(prefix_), ERROR_SUCCESS);
  }
  TempRegistry registry_;
  fs::path prefix_;
};

TEST_F(WinePrefixStore, ChangesAreWrittenAsWineWritesThemAndUnchangedKeysKeepTheirBytes) {
  struct Row {
    const char* name;
    DWORD type;
    std::string data;
    std::string line;
  };
  const Row rows[] = {
      {"S", REG_SZ, std::string("a\"b\\c\n", 7), "\"S\"=\"a\\\"b\\\\c\\n\"\n"},
      {"Caf\xc3\xa9", REG_EXPAND_SZ,
       std::string("\xe2\x98\xba"
                   "1",
                   5),
       "\"Caf\\xe9\"=str(2):\"\\x263a1\"\n"},
      {"M", REG_MULTI_SZ, std::string("x\0y\0\0", 5), "\"M\"=str(7):\"x\\0y\\0\"\n"},
      {"D", REG_DWORD, std::string("\x01\x02\x03\x04", 4), "\"D\"=dword:04030201\n"},
      {"Long", REG_BINARY, std::string(30, '\xab'),
       "\"Long\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\n  "
       "ab,ab,ab,ab,ab,ab,ab,ab\n"},
      {"", 0x20, std::string("\x01", 1), "@=hex(20):01\n"},
  };
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\other", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  std::string lines = "\"B\"=dword:00000002\n";
  for (const Row& row : rows) {
    ASSERT_EQ(RegSetValueExA(key, row.name, 0, row.type, reinterpret_cast<const BYTE*>(row.data.data()),
                             static_cast<DWORD>(row.data.size())),
              ERROR_SUCCESS);
    lines += row.line;
  }
  RegCloseKey(key);
  ASSERT_EQ(orvane::platform::CommitRegistryWrites(), ERROR_SUCCESS);
  const std::string file = ReadAll(prefix_ / "system.reg");
  ASSERT_EQ(file.substr(0, kHead.size() + kKept.size()), kHead + kKept);
  const std::string section = file.substr(kHead.size() + kKept.size());
  EXPECT_EQ(section.substr(0, 21), "\n[Software\\\\Other] 17");
  EXPECT_EQ(section.substr(section.find("\n\"")), "\n" + lines);
  EXPECT_EQ(section.find("#time=1dd87dfeb5f1b8a"), std::string::npos) << "a changed key gets a new time";
  for (const Row& row : rows) {
    char data[64] = {};
    DWORD type = 0, size = sizeof data;
    ASSERT_EQ(orvane::platform::SelectRegistryStore(prefix_), ERROR_SUCCESS);  // read from the file again
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Other", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, row.name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, row.type);
    EXPECT_EQ(std::string(data, size), row.data) << row.name;
  }
}

TEST_F(WinePrefixStore, UserFilesAreMadeAsWineMakesThemAndOtherWritersAreReadAgain) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\New", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExA(HKEY_USERS, ".Default\\D", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(orvane::platform::CommitRegistryWrites(), ERROR_SUCCESS);
  const std::string user =
      "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
      "#arch=win64\n\n[Software\\\\New] ";
  EXPECT_EQ(ReadAll(prefix_ / "user.reg").substr(0, user.size()), user);
  const std::string defaults =
      "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\.Default\n\n#arch=win64\n\n[D] ";
  EXPECT_EQ(ReadAll(prefix_ / "userdef.reg").substr(0, defaults.size()), defaults);
  // Another program rewrites a file: the next call reads it again.
  WriteAll(prefix_ / "system.reg", kHead + kKept + "\n[Software\\\\Third] 1796822368\n\"C\"=\"3\"\n");
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Third", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Other", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  // Switching stores writes the changes held.
  orvane::platform::SetRegistryCommitDelay(std::chrono::minutes(1));
  ASSERT_EQ(
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Held", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(orvane::platform::SelectRegistryStore(registry_.path() / "other.db"), ERROR_SUCCESS);
  orvane::platform::SetRegistryCommitDelay(std::chrono::milliseconds(20));
  EXPECT_NE(ReadAll(prefix_ / "system.reg").find("\n[Software\\\\Held] "), std::string::npos);
}

TEST_F(WinePrefixStore, AWineServerOfThePrefixRefusesEveryWriteAndAllowsReads) {
  struct stat info {};
  ASSERT_EQ(stat(prefix_.c_str(), &info), 0);
  char folder[128];
  std::snprintf(folder, sizeof folder, "/tmp/.wine-%u/server-%llx-%llx", static_cast<unsigned>(getuid()),
                static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino));
  fs::create_directories(folder);
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t server = fork();
  if (server == 0) {  // holds the lock as wineserver does
    const int fd = open((std::string(folder) + "/lock").c_str(), O_RDWR | O_CREAT, 0600);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    const char byte = fcntl(fd, F_SETLK, &lock) == 0 ? 'y' : 'n';
    static_cast<void>(write(ready[1], &byte, 1));
    pause();
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  const std::string before = ReadAll(prefix_ / "system.reg");
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kept", 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, "A", 0, REG_SZ, reinterpret_cast<const BYTE*>("2"), 2), ERROR_BUSY);
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Other"), ERROR_BUSY);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "A", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  RegCloseKey(key);
  kill(server, SIGKILL);
  waitpid(server, nullptr, 0);
  fs::remove_all(folder);
  EXPECT_EQ(byte, 'y');
  EXPECT_EQ(ReadAll(prefix_ / "system.reg"), before);
}

}  // namespace
