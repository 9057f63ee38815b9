// Windows hive files through the registry functions: saving a key as a new
// hive that hivex's own tools read back with the same keys, values and
// bytes; loading it, changing it, unloading and loading again; reading
// what hivex's writer changed; the statuses Windows gives; a file that has
// gone; and damaged or crafted files, which never crash and are never
// written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/win32_registry.h"
#include "support/program_output.h"
#include "support/temp_registry.h"

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;
using orvane::testing::RunProgram;

struct Value {
  DWORD type;
  std::string data;
  bool operator==(const Value&) const = default;
};
using Values = std::map<std::string, Value>;  // by name

const std::string kBig = [] {
  std::string bytes(20000, '\0');  // more than 16 KiB: stored in big-data blocks
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}();

// The source key's values: every common type, a non-ASCII string and
// names, a type Windows does not define, the default value, big data.
const Values kSourceValues = {
    {"Text", {REG_SZ, std::string("h\xC3\xA9llo w\xC3\xB6rld\0", 14)}},
    {"\xC3\x9Cn\xC3\xAF" "code", {REG_DWORD, std::string("\x2A\0\0\0", 4)}},
    {"Big", {REG_BINARY, kBig}},
    {"Multi", {REG_MULTI_SZ, std::string("a\0b\xE2\x82\xAC\0\0", 8)}},
    {"Q", {REG_QWORD, std::string("\1\2\3\4\5\6\7\x08", 8)}},
    {"", {REG_EXPAND_SZ, std::string("%PATH%\0", 7)}},
    {"Odd", {0x12345, "xyz"}},
};

void Write(HKEY root, const std::string& path, const Values& values) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0) << path;
  for (const auto& [name, value] : values) {
    EXPECT_EQ(RegSetValueExA(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                             static_cast<DWORD>(value.data.size())),
              0);
  }
  RegCloseKey(key);
}

// The values of `path`, or the status that opening it returned.
Values Read(HKEY root, const std::string& path, LONG* status = nullptr) {
  HKEY key = nullptr;
  Values values;
  const LONG opened = RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key);
  if (status != nullptr) *status = opened;
  if (opened != 0) return values;
  for (DWORD index = 0;; ++index) {
    char name[512];
    DWORD name_length = sizeof name, type = 0, size = 0;
    if (RegEnumValueA(key, index, name, &name_length, nullptr, &type, nullptr, &size) != 0) break;
    std::string data(size, '\0');
    RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    values[name] = {type, data};
  }
  RegCloseKey(key);
  return values;
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

FILETIME WriteTime(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  FILETIME time{};
  EXPECT_EQ(RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key), 0);
  RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   &time);
  RegCloseKey(key);
  return time;
}

class HiveTest : public ::testing::Test {
 protected:
  // Saves HKCU\Software\Src (the values above, a non-ASCII sub-key with a
  // sub-key of its own, and a key no test changes) as `name`.
  fs::path SaveSource(const std::string& name = "source.hiv") {
    Write(HKEY_CURRENT_USER, "Software\\Src", kSourceValues);
    Write(HKEY_CURRENT_USER, "Software\\Src\\K\xC3\xA9y \xC3\xBC\\Deeper", {{"V", {REG_SZ, std::string("deep\0", 5)}}});
    Write(HKEY_CURRENT_USER, "Software\\Src\\Untouched", {{"W", {REG_DWORD, std::string(4, '\7')}}});
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Src", 0, KEY_READ, &key), 0);
    const fs::path file = registry_.path() / name;
    EXPECT_EQ(RegSaveKeyA(key, file.c_str(), nullptr), 0);
    RegCloseKey(key);
    return file;
  }

  TempRegistry registry_;
};

TEST_F(HiveTest, SavedHiveReadsTheSameInHivexTools) {
  const fs::path file = SaveSource();
  const auto shell = RunProgram("hivexsh", {file.string()}, "lsval\ncd K\xC3\xA9y \xC3\xBC\\Deeper\nlsval\n");
  ASSERT_EQ(shell.status, 0) << shell.err;
  // hivexsh prints strings (UTF-16 in the file) as text, other data as bytes.
  std::string big = "\"Big\"=hex(3):";
  for (unsigned char c : kBig) big += {"0123456789abcdef"[c >> 4], "0123456789abcdef"[c & 15], ','};
  big.pop_back();
  for (const std::string& line :
       {std::string("\"Text\"=\"h\xC3\xA9llo w\xC3\xB6rld\""), std::string("\"\xC3\x9Cn\xC3\xAF" "code\"=dword:0000002a"),
        std::string("\"Q\"=hex(11):01,02,03,04,05,06,07,08"), std::string("\"Odd\"=hex(74565):78,79,7a"),
        std::string("\"Multi\"=hex(7):61,00,00,00,62,00,ac,20,00,00,00,00"), std::string("\"@\"=str(2):\"%PATH%\""),
        std::string("\"V\"=\"deep\""), big}) {
    EXPECT_NE(shell.out.find(line + "\n"), std::string::npos) << line.substr(0, 80);
  }
  const auto text = RunProgram("hivexget", {file.string(), "\\K\xC3\xA9y \xC3\xBC\\Deeper", "V"});
  EXPECT_EQ(text.out, "deep\n");
}

// Each key's list of sub-keys is written once: 2,000 sub-keys of one key
// take a few hundred bytes each, not a copy of the growing list per key.
TEST_F(HiveTest, SavedHiveOfAWideKeyIsCompact) {
  for (int i = 0; i < 2000; ++i) Write(HKEY_CURRENT_USER, "Software\\Wide\\Key" + std::to_string(i), {});
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Wide", 0, KEY_READ, &key), 0);
  const fs::path file = registry_.path() / "wide.hiv";
  ASSERT_EQ(RegSaveKeyA(key, file.c_str(), nullptr), 0);
  RegCloseKey(key);
  EXPECT_LT(fs::file_size(file), 2000u * 200);
  const auto listed = RunProgram("hivexsh", {file.string()}, "ls\n");
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 2000);
}

TEST_F(HiveTest, LoadedHiveKeepsEveryChangeAcrossUnloadAndLoad) {
  const fs::path file = SaveSource();
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_EQ(RegLoadKeyA(HKEY_LOCAL_MACHINE, "Mounted", file.c_str()), 0);
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, "Mounted"), kSourceValues);
  const FILETIME untouched = WriteTime(HKEY_LOCAL_MACHINE, "Mounted\\Untouched");
  const std::string bigger = kBig + kBig;
  Write(HKEY_LOCAL_MACHINE, "Mounted", {{"Text", {REG_SZ, std::string("neu\0", 4)}}, {"Big", {REG_BINARY, bigger}}});
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Mounted", 0, KEY_ALL_ACCESS, &key), 0);
  EXPECT_EQ(RegDeleteValueA(key, "Q"), 0);
  EXPECT_EQ(RegDeleteKeyA(key, "K\xC3\xA9y \xC3\xBC\\Deeper"), 0);
  RegCloseKey(key);
  Write(HKEY_LOCAL_MACHINE, "Mounted\\N\xC3\xAAu\\Sub", {{"\xE2\x82\xAC", {REG_SZ, std::string("\xE2\x82\xAC\0", 4)}}});
  ASSERT_EQ(RegUnLoadKeyA(HKEY_LOCAL_MACHINE, "Mounted"), 0);
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, "Mounted").size(), 0u);
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  ASSERT_EQ(RegLoadKeyA(HKEY_USERS, "Again", file.c_str()), 0);
  Values expected = kSourceValues;
  expected["Text"] = {REG_SZ, std::string("neu\0", 4)};
  expected["Big"] = {REG_BINARY, bigger};
  expected.erase("Q");
  EXPECT_EQ(Read(HKEY_USERS, "Again"), expected);
  LONG status = 0;
  Read(HKEY_USERS, "Again\\K\xC3\xA9y \xC3\xBC\\Deeper", &status);
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Read(HKEY_USERS, "Again\\n\xC3\x8Au\\SUB"),
            (Values{{"\xE2\x82\xAC", {REG_SZ, std::string("\xE2\x82\xAC\0", 4)}}}));
  const FILETIME after = WriteTime(HKEY_USERS, "Again\\Untouched");
  EXPECT_EQ(after.dwLowDateTime, untouched.dwLowDateTime);
  EXPECT_EQ(after.dwHighDateTime, untouched.dwHighDateTime);
  EXPECT_EQ(RegUnLoadKeyA(HKEY_USERS, "Again"), 0);

  // Restored into a key of the store: the same again.
  HKEY target = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Restored", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                            nullptr),
            0);
  Write(HKEY_CURRENT_USER, "Software\\Restored\\Gone", {});
  EXPECT_EQ(RegRestoreKeyA(target, file.c_str(), 0), 0);
  RegCloseKey(target);
  EXPECT_EQ(Read(HKEY_CURRENT_USER, "Software\\Restored"), expected);
  Read(HKEY_CURRENT_USER, "Software\\Restored\\Gone", &status);
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
}

TEST_F(HiveTest, ChangesMadeByHivexAreReadBack) {
  const fs::path file = SaveSource();
  const auto shell = RunProgram("hivexsh", {"-w", file.string()},
                                "cd Untouched\nsetval 2\nFromHivex\nstring:written by hivex\nW\ndword:0x10\ncommit\n");
  ASSERT_EQ(shell.status, 0) << shell.err;
  ASSERT_EQ(RegLoadKeyA(HKEY_LOCAL_MACHINE, "Mounted", file.c_str()), 0);
  EXPECT_EQ(Read(HKEY_LOCAL_MACHINE, "Mounted\\Untouched"),
            (Values{{"FromHivex", {REG_SZ, std::string("written by hivex\0", 17)}},
                    {"W", {REG_DWORD, std::string("\x10\0\0\0", 4)}}}));
  EXPECT_EQ(RegUnLoadKeyA(HKEY_LOCAL_MACHINE, "Mounted"), 0);
}

TEST_F(HiveTest, StatusesAsWindowsGivesThem) {
  const fs::path file = SaveSource();
  const fs::path other = SaveSource("other.hiv");
  const fs::path text = registry_.path() / "text.txt";
  std::ofstream(text) << "not a hive\n";
  const std::string missing = (registry_.path() / "missing.hiv").string();
  ASSERT_EQ(RegLoadKeyA(HKEY_LOCAL_MACHINE, "Mounted", file.c_str()), 0);
  HKEY open = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Mounted\\Untouched", 0, KEY_READ, &open), 0);
  HKEY source = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Src", 0, KEY_ALL_ACCESS, &source), 0);
  const struct {
    const char* what;
    LONG status;
    LONG expected;
  } cases[] = {
      {"load below HKCU", RegLoadKeyA(HKEY_CURRENT_USER, "X", other.c_str()), ERROR_INVALID_PARAMETER},
      {"load an empty file name", RegLoadKeyA(HKEY_LOCAL_MACHINE, "X", ""), ERROR_INVALID_PARAMETER},
      {"load a path", RegLoadKeyA(HKEY_LOCAL_MACHINE, "X\\Y", other.c_str()), ERROR_INVALID_PARAMETER},
      {"load on an existing key", RegLoadKeyA(HKEY_LOCAL_MACHINE, "software", other.c_str()), ERROR_ALREADY_EXISTS},
      {"load on a loaded name", RegLoadKeyA(HKEY_LOCAL_MACHINE, "MOUNTED", other.c_str()), ERROR_ALREADY_EXISTS},
      {"load a loaded file", RegLoadKeyA(HKEY_USERS, "X", file.c_str()), ERROR_SHARING_VIOLATION},
      {"load a missing file", RegLoadKeyA(HKEY_LOCAL_MACHINE, "X", missing.c_str()), ERROR_FILE_NOT_FOUND},
      {"load a folder", RegLoadKeyA(HKEY_LOCAL_MACHINE, "X", registry_.path().c_str()), ERROR_ACCESS_DENIED},
      {"load a text file", RegLoadKeyA(HKEY_LOCAL_MACHINE, "X", text.c_str()), ERROR_BADDB},
      {"unload with a key open", RegUnLoadKeyA(HKEY_LOCAL_MACHINE, "Mounted"), ERROR_ACCESS_DENIED},
      {"unload a key of the store", RegUnLoadKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE"), ERROR_ACCESS_DENIED},
      {"unload a missing key", RegUnLoadKeyA(HKEY_USERS, "Nothing"), ERROR_FILE_NOT_FOUND},
      {"unload below HKCU", RegUnLoadKeyA(HKEY_CURRENT_USER, "Mounted"), ERROR_INVALID_PARAMETER},
      {"save over a file", RegSaveKeyA(source, other.c_str(), nullptr), ERROR_ALREADY_EXISTS},
      {"restore from a text file", RegRestoreKeyA(source, text.c_str(), 0), ERROR_BADDB},
      {"restore from a missing file", RegRestoreKeyA(source, missing.c_str(), 0), ERROR_FILE_NOT_FOUND},
  };
  for (const auto& c : cases) EXPECT_EQ(c.status, c.expected) << c.what;
  EXPECT_EQ(Read(HKEY_CURRENT_USER, "Software\\Src"), kSourceValues);  // the failed restores changed nothing
  RegCloseKey(open);
  RegCloseKey(source);
  EXPECT_EQ(RegUnLoadKeyA(HKEY_LOCAL_MACHINE, "Mounted"), 0);
}

TEST_F(HiveTest, HiveWhoseFileHasGoneIsReported) {
  const fs::path file = SaveSource();
  ASSERT_EQ(RegLoadKeyA(HKEY_LOCAL_MACHINE, "Mounted", file.c_str()), 0);
  fs::remove(file);
  LONG status = 0;
  Read(HKEY_LOCAL_MACHINE, "Mounted", &status);
  EXPECT_EQ(status, ERROR_CANTOPEN);
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(RegUnLoadKeyA(HKEY_LOCAL_MACHINE, "Mounted"), 0);
}

// Walks every key and value below `path`; returns how many keys it saw.
int Walk(HKEY root, const std::string& path, int depth = 0) {
  HKEY key = nullptr;
  if (depth > 600 || RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != 0) return 0;
  Read(root, path);
  int keys = 1;
  char name[512];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != 0) break;
    keys += Walk(root, path + "\\" + name, depth + 1);
  }
  RegCloseKey(key);
  return keys;
}

TEST_F(HiveTest, DamagedFilesGiveAnErrorAndAreNeverWritten) {
  const std::string good = Bytes(SaveSource());
  std::vector<std::pair<std::string, std::string>> files = {
      {"header only", good.substr(0, 4096)},
      {"cut in its bin", good.substr(0, 6000)},
      {"zeros", std::string(good.size(), '\0')},
      {"not regf", "regx" + good.substr(4)},
  };
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    std::string bytes = good;
    for (int flip = 0; flip < 8; ++flip) bytes[4096 + random() % (bytes.size() - 4096)] = static_cast<char>(random());
    files.emplace_back("flipped " + std::to_string(round), bytes);
  }
  for (const auto& [what, bytes] : files) {
    const fs::path file = registry_.path() / "hostile.hiv";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    const LONG status = RegLoadKeyA(HKEY_LOCAL_MACHINE, "Hostile", file.c_str());
    if (status == ERROR_SUCCESS) {
      Walk(HKEY_LOCAL_MACHINE, "Hostile");
      EXPECT_EQ(RegUnLoadKeyA(HKEY_LOCAL_MACHINE, "Hostile"), 0) << what;
    } else {
      EXPECT_EQ(status, ERROR_BADDB) << what;
    }
    EXPECT_EQ(Bytes(file), bytes) << what;
  }
}

}  // namespace
}  // namespace orvane::platform
