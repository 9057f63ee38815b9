// SystemInfo: which key each registry item reads on each platform, the
// answer forms, and the sources this platform gives the system items.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "control/control_fixture.h"
#include "platform/os_version.h"
#include "registry/expect_error.h"
#include "registry/nt_platform.h"
#include "registry/scoped_key.h"
#include "support/environment.h"
#include "support/read_only_key.h"

namespace orvane {
namespace {

constexpr const char* kWindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old, had_ = true;
    value ? testing::SetEnvironment(name, value) : testing::UnsetEnvironment(name);
  }
  ~ScopedEnvironment() {
    had_ ? testing::SetEnvironment(name_, saved_.c_str()) : testing::UnsetEnvironment(name_);
  }

 private:
  const char* name_;
  std::string saved_;
  bool had_ = false;
};

// On Windows the system's own keys are changed: each value written or
// removed and each key made read-only is put back at the end.
class SystemInfoTest : public ControlTest {
 protected:
  ~SystemInfoTest() override {
    UsePlatform(true);
    for (const char* key : read_only_) testing::SetKeyReadOnly(HKEY_LOCAL_MACHINE, key, false);
    for (const auto& [value, text] : saved_) {
      ScopedKey open;
      if (open.Open(HKEY_LOCAL_MACHINE, value.first) != 0) continue;
      if (text) {
        RegSetValueExA(open.get(), value.second.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                       static_cast<DWORD>(text->size() + 1));
      } else {
        RegDeleteValueA(open.get(), value.second.c_str());
      }
    }
  }
  // The emulated version record exists in our store only; on Windows the
  // flag alone chooses the key the items come from.
  void UsePlatform(bool nt) {
#ifndef _WIN32
    platform::OverridePlatform(nt ? platform::EmulatedPlatform::kNt : platform::EmulatedPlatform::kWin9x);
#endif
    SetNtPlatformForTesting(nt);
  }
  void Write(const char* key, const char* name, const std::string& text) {
    Save(key, name);
    ScopedKey open;
    ASSERT_EQ(open.Open(HKEY_LOCAL_MACHINE, key), 0);
    ASSERT_EQ(RegSetValueExA(open.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1)),
              0);
  }
  void Remove(const char* key, const char* name) {
    Save(key, name);
    ScopedKey open;
    ASSERT_EQ(open.Open(HKEY_LOCAL_MACHINE, key), 0);
    RegDeleteValueA(open.get(), name);
  }
  void MakeReadOnly(const char* key) {
    read_only_.push_back(key);
    ASSERT_EQ(testing::SetKeyReadOnly(HKEY_LOCAL_MACHINE, key, true), 0);
  }
  std::string Info(int32_t item) { return control_.SystemInfo(item); }

 private:
  // Remembers a string value's text (or its absence) before its first change.
  void Save(const std::string& key, const std::string& name) {
    if (saved_.count({key, name})) return;
    std::optional<std::string> text;
    ScopedKey open;
    char buffer[1024];
    DWORD size = sizeof buffer, type = 0;
    if (open.Open(HKEY_LOCAL_MACHINE, key) == 0 &&
        RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) == 0 &&
        type == REG_SZ && size > 0) {
      text = std::string(buffer, size - 1);
    }
    saved_[{key, name}] = text;
  }
  std::map<std::pair<std::string, std::string>, std::optional<std::string>> saved_;
  std::vector<const char*> read_only_;
};

TEST_F(SystemInfoTest, OnNtTheOsIsFixedAndOwnerItemsComeFromTheNtKey) {
  UsePlatform(true);
  Write(kWindowsKey, "Version", "Windows 98");
  Write(kWindowsKey, "RegisteredOwner", "win");
  Write(kNtKey, "RegisteredOwner", "nt");
  Write(kNtKey, "RegisteredOrganization", "nt org");
  Write(kNtKey, "ProductId", "11111-NT");
  EXPECT_EQ(Info(0), "Windows NT");
  EXPECT_EQ(Info(1), "11111-NT");
  EXPECT_EQ(Info(3), "nt");
  EXPECT_EQ(Info(4), "nt org");
}

TEST_F(SystemInfoTest, On9xEveryRegistryItemComesFromTheWindowsKey) {
  UsePlatform(false);
  Write(kWindowsKey, "Version", "Windows 98");
  Write(kWindowsKey, "ProductId", "22222-9X");
  Write(kWindowsKey, "RegisteredOwner", "win");
  Write(kNtKey, "RegisteredOwner", "nt");
  EXPECT_EQ(Info(0), "Windows 98");
  EXPECT_EQ(Info(1), "22222-9X");
  EXPECT_EQ(Info(3), "win");
}

TEST_F(SystemInfoTest, FoldersOfProgramsComeFromTheWindowsKeyOnBothPlatforms) {
  Write(kWindowsKey, "ProgramFilesDir", "D:\\Apps");
  Write(kNtKey, "ProgramFilesDir", "E:\\Other");
  EXPECT_EQ(Info(8), "D:\\Apps");
  EXPECT_EQ(Info(9), "C:\\Program Files\\Common Files");
}

TEST_F(SystemInfoTest, AMissingRegistryValueAnswersEmpty) {
  Remove(kNtKey, "RegisteredOwner");
  Remove(kWindowsKey, "CommonFilesDir");
  EXPECT_EQ(Info(3), "");
  EXPECT_EQ(Info(9), "");
}

#ifndef _WIN32  // the version record is emulated in our store only
TEST_F(SystemInfoTest, VersionNumberIsMajorDotMinorBuildLowWord) {
  UsePlatform(true);
  EXPECT_EQ(Info(2), "5.1 Build 2600");
  UsePlatform(false);
  EXPECT_EQ(Info(2), "4.10 Build 2222");  // the build number's high word holds 4.10
}

#endif

#ifndef _WIN32  // the Windows directory is the store's folder in our store only
TEST_F(SystemInfoTest, WindowsAndSystemDirectoriesAreTheStoresFolder) {
  const std::string folder = registry_.file().parent_path().string();
  EXPECT_EQ(Info(5), folder);
  EXPECT_EQ(Info(6), folder + "/system32");
}

#endif

#ifndef _WIN32  // the temporary folder comes from TMPDIR on Linux only
TEST_F(SystemInfoTest, TempDirComesFromTmpdirWithoutTrailingSeparator) {
  {
    ScopedEnvironment tmpdir("TMPDIR", "/var/tmp/x/");
    EXPECT_EQ(Info(7), "/var/tmp/x");
  }
  ScopedEnvironment tmpdir("TMPDIR", "");
  EXPECT_EQ(Info(7), "/tmp");
}
#endif

TEST_F(SystemInfoTest, ComputerNameIsTheHostNameUpperCaseAtMostFifteen) {
  const std::string name = Info(10);
  EXPECT_FALSE(name.empty());
  EXPECT_LE(name.size(), 15u);
  EXPECT_EQ(name.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
  EXPECT_EQ(name.find('\0'), std::string::npos);
}

#ifndef _WIN32  // the language comes from the locale variables on Linux only
TEST_F(SystemInfoTest, UserLanguageIsTheEnglishNameOfTheLocalesLanguage) {
  ScopedEnvironment messages("LC_MESSAGES", nullptr);
  {
    ScopedEnvironment all("LC_ALL", "fr_FR.UTF-8");
    EXPECT_EQ(Info(12), "French");
  }
  ScopedEnvironment all("LC_ALL", nullptr);
  {
    ScopedEnvironment lang("LANG", "de_AT");
    EXPECT_EQ(Info(12), "German");
  }
  ScopedEnvironment lang("LANG", "C");
  EXPECT_EQ(Info(12), "English");
}
#endif

TEST_F(SystemInfoTest, ItemsPastTwelveAnswerEmptyAndPastAByteOverflow) {
  EXPECT_EQ(Info(13), "");
  EXPECT_EQ(Info(255), "");
  EXPECT_ERROR_NUMBER(Info(256), 6);
  EXPECT_ERROR_NUMBER(Info(-1), 6);
}

TEST_F(SystemInfoTest, AnUnopenableKeyRaisesItsStatusForEveryItem) {
  MakeReadOnly(kNtKey);
  UsePlatform(false);
  EXPECT_EQ(Info(13), "");  // the NT key is not opened on 9x
  UsePlatform(true);
  EXPECT_ERROR_NUMBER(Info(2), 60005);
  EXPECT_ERROR_NUMBER(Info(13), 60005);
  MakeReadOnly(kWindowsKey);
  UsePlatform(false);
  EXPECT_ERROR_NUMBER(Info(5), 60005);
}

}  // namespace
}  // namespace orvane
