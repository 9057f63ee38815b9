// SystemInfo: which key each registry item reads on each platform, the
// answer forms, and the sources this platform gives the system items.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "control/control_fixture.h"
#include "platform/os_version.h"
#include "platform/registry_store.h"
#include "registry/expect_error.h"
#include "registry/nt_platform.h"
#include "registry/scoped_key.h"

namespace orvane {
namespace {

constexpr const char* kWindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old, had_ = true;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnvironment() { had_ ? setenv(name_, saved_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::string saved_;
  bool had_ = false;
};

class SystemInfoTest : public ControlTest {
 protected:
  ~SystemInfoTest() override { UsePlatform(true); }
  void UsePlatform(bool nt) {
    platform::OverridePlatform(nt ? platform::EmulatedPlatform::kNt : platform::EmulatedPlatform::kWin9x);
    SetNtPlatformForTesting(nt);
  }
  void Write(const char* key, const char* name, const std::string& text) {
    ScopedKey open;
    ASSERT_EQ(open.Open(HKEY_LOCAL_MACHINE, key), 0);
    ASSERT_EQ(RegSetValueExA(open.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1)),
              0);
  }
  void Remove(const char* key, const char* name) {
    ScopedKey open;
    ASSERT_EQ(open.Open(HKEY_LOCAL_MACHINE, key), 0);
    RegDeleteValueA(open.get(), name);
  }
  std::string Info(int32_t item) { return control_.SystemInfo(item); }
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

TEST_F(SystemInfoTest, VersionNumberIsMajorDotMinorBuildLowWord) {
  UsePlatform(true);
  EXPECT_EQ(Info(2), "5.1 Build 2600");
  UsePlatform(false);
  EXPECT_EQ(Info(2), "4.10 Build 2222");  // the build number's high word holds 4.10
}

TEST_F(SystemInfoTest, WindowsAndSystemDirectoriesAreTheStoresFolder) {
  const std::string folder = registry_.file().parent_path().string();
  EXPECT_EQ(Info(5), folder);
  EXPECT_EQ(Info(6), folder + "/system32");
}

TEST_F(SystemInfoTest, TempDirComesFromTmpdirWithoutTrailingSeparator) {
  {
    ScopedEnvironment tmpdir("TMPDIR", "/var/tmp/x/");
    EXPECT_EQ(Info(7), "/var/tmp/x");
  }
  ScopedEnvironment tmpdir("TMPDIR", "");
  EXPECT_EQ(Info(7), "/tmp");
}

TEST_F(SystemInfoTest, ComputerNameIsTheHostNameUpperCaseAtMostFifteen) {
  const std::string name = Info(10);
  EXPECT_FALSE(name.empty());
  EXPECT_LE(name.size(), 15u);
  EXPECT_EQ(name.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos);
  EXPECT_EQ(name.find('\0'), std::string::npos);
}

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

TEST_F(SystemInfoTest, ItemsPastTwelveAnswerEmptyAndPastAByteOverflow) {
  EXPECT_EQ(Info(13), "");
  EXPECT_EQ(Info(255), "");
  EXPECT_ERROR_NUMBER(Info(256), 6);
  EXPECT_ERROR_NUMBER(Info(-1), 6);
}

TEST_F(SystemInfoTest, AnUnopenableKeyRaisesItsStatusForEveryItem) {
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_LOCAL_MACHINE, kNtKey, true), 0);
  UsePlatform(false);
  EXPECT_EQ(Info(13), "");  // the NT key is not opened on 9x
  UsePlatform(true);
  EXPECT_ERROR_NUMBER(Info(2), 60005);
  EXPECT_ERROR_NUMBER(Info(13), 60005);
  ASSERT_EQ(platform::SetRegistryKeyReadOnly(HKEY_LOCAL_MACHINE, kWindowsKey, true), 0);
  UsePlatform(false);
  EXPECT_ERROR_NUMBER(Info(5), 60005);
}

}  // namespace
}  // namespace orvane
