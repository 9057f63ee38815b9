// What a new store contains, the root views of the two emulated platforms
// with their version records, and read-only keys set by administration.
#include <gtest/gtest.h>
#include <unistd.h>

#include <regex>

#include "child_process.h"
#include "store/registry_store.h"
#include "store_test_util.h"
#include "support/temp_registry.h"

namespace orvane::testing {
namespace {

using platform::EmulatedPlatform;
using platform::OverridePlatform;
using platform::SetRegistryKeyReadOnly;

const std::string kUserKey = "S-1-5-21-0-0-0-" + std::to_string(getuid());

std::string MachineText(const std::string& path, const char* name) {
  OwnedKey key;
  if (LONG status = OpenKey(HKEY_LOCAL_MACHINE, path, key)) return "status " + std::to_string(status);
  return GetText(key.get(), name);
}

TEST(StoreSeed, NewStoreHasTheSystemKeysAndValues) {
  TempRegistry registry;
  const std::string nt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  const std::string windows = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  EXPECT_TRUE(std::regex_match(MachineText(nt, "ProductId"), std::regex("\\d{5}-\\d{3}-\\d{7}-\\d{5}")));
  EXPECT_EQ(MachineText(windows, "ProductID"), MachineText(nt, "ProductId"));
  EXPECT_NE(MachineText(nt, "RegisteredOwner").rfind("status", 0), 0u);
  EXPECT_EQ(MachineText(nt, "RegisteredOrganization"), "");
  EXPECT_EQ(MachineText(nt, "CurrentVersion"), "5.1");
  EXPECT_EQ(MachineText(nt, "CurrentBuildNumber"), "2600");
  EXPECT_EQ(MachineText(windows, "ProgramFilesDir"), "C:\\Program Files");
  EXPECT_EQ(MachineText(windows, "CommonFilesDir"), "C:\\Program Files\\Common Files");
  EXPECT_EQ(MachineText(windows, "Version"), "Windows 98");
  for (const char* path : {"SOFTWARE\\Classes", "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current",
                           "Config\\0001"}) {
    OwnedKey key;
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, path, key), ERROR_SUCCESS) << path;
  }
}

TEST(StoreSeed, UsersHaveTheDefaultAndTheCurrentUsersKey) {
  TempRegistry registry;
  OwnedKey users;
  ASSERT_EQ(OpenKey(HKEY_USERS, "", users), ERROR_SUCCESS);
  std::vector<std::string> names;
  char name[256];
  for (DWORD i = 0, length = sizeof(name);
       RegEnumKeyExA(users.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, length = sizeof(name)) {
    names.push_back(name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{".Default", kUserKey}));
}

class PlatformViews : public ::testing::Test {
 protected:
  ~PlatformViews() override { OverridePlatform(EmulatedPlatform::kNt); }
  // Writes through `view` and reads the value back below `root\path`.
  std::string WrittenThrough(HKEY view, HKEY root, const std::string& path) {
    OwnedKey key;
    EXPECT_EQ(CreateKey(view, "ViewProbe", key), ERROR_SUCCESS);
    EXPECT_EQ(SetText(key.get(), "Where", "here"), ERROR_SUCCESS);
    OwnedKey seen;
    const std::string probe = path.empty() ? "ViewProbe" : path + "\\ViewProbe";
    if (LONG status = OpenKey(root, probe, seen)) return "status " + std::to_string(status);
    return GetText(seen.get(), "Where");
  }
  TempRegistry registry_;
};

TEST_F(PlatformViews, NtViewsAndVersion) {
  OverridePlatform(EmulatedPlatform::kNt);
  EXPECT_EQ(WrittenThrough(HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes"), "here");
  EXPECT_EQ(WrittenThrough(HKEY_CURRENT_USER, HKEY_USERS, kUserKey), "here");
  EXPECT_EQ(WrittenThrough(HKEY_CURRENT_CONFIG, HKEY_LOCAL_MACHINE,
                           "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current"),
            "here");
  OwnedKey key;
  EXPECT_EQ(OpenKey(HKEY_DYN_DATA, "", key), ERROR_INVALID_HANDLE);
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(info.dwMajorVersion * 100 + info.dwMinorVersion, 501u);
  EXPECT_EQ(info.dwBuildNumber, 2600u);
}

TEST_F(PlatformViews, Win9xViewsAndVersion) {
  OverridePlatform(EmulatedPlatform::kWin9x);
  EXPECT_EQ(WrittenThrough(HKEY_CURRENT_USER, HKEY_USERS, ".Default"), "here");
  EXPECT_EQ(WrittenThrough(HKEY_CURRENT_CONFIG, HKEY_LOCAL_MACHINE, "Config\\0001"), "here");
  EXPECT_EQ(WrittenThrough(HKEY_DYN_DATA, HKEY_DYN_DATA, ""), "here");
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info);
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_WINDOWS);
  EXPECT_EQ(info.dwMajorVersion * 100 + info.dwMinorVersion, 410u);
  EXPECT_EQ(info.dwBuildNumber & 0xFFFF, 2222u);
}

TEST_F(PlatformViews, VersionRecordNeedsItsSizeAndTheEnvironmentChoosesThePlatform) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof(info) - 1;
  EXPECT_FALSE(GetVersionExA(&info));
  EXPECT_FALSE(GetVersionExA(nullptr));
  EXPECT_EQ(RunChild({"version"}, {{"ORVANE_PLATFORM", "9x"}}).output, "1 4.10 2222\n");
  EXPECT_EQ(RunChild({"version"}, {{"ORVANE_PLATFORM", "nt"}}).output, "2 5.1 2600\n");
  EXPECT_EQ(RunChild({"version"}, {{"ORVANE_PLATFORM", "95"}}).output, "2 5.1 2600\n");
}

class ReadOnlyKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    OwnedKey key;
    ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner", key), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key.get(), "Value", "kept"), ERROR_SUCCESS);
    ASSERT_EQ(SetRegistryKeyReadOnly(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner", true), ERROR_SUCCESS);
  }
  TempRegistry registry_;
};

TEST_F(ReadOnlyKeys, AnyRightBeyondReadingIsRefused) {
  OwnedKey key;
  EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner", key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner", key, KEY_SET_VALUE), ERROR_ACCESS_DENIED);
  EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner", key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner\\New", key), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner"), ERROR_ACCESS_DENIED);
  ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner", key, KEY_READ), ERROR_SUCCESS);
  EXPECT_EQ(GetText(key.get(), "Value"), "kept");
  EXPECT_EQ(SetText(key.get(), "Value", "changed"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueA(key.get(), "Value"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(GetText(key.get(), "Value"), "kept");
  OwnedKey parent;
  EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked", parent), ERROR_SUCCESS) << "only the key itself";
}

TEST_F(ReadOnlyKeys, MarkHoldsForOtherProcessesUntilLifted) {
  ASSERT_EQ(SetRegistryKeyReadOnly(HKEY_CURRENT_USER, "Software", true), ERROR_SUCCESS);
  EXPECT_EQ(RunChild({"set", "Software", "Value", "child"}).output, "status 5\n");
  ASSERT_EQ(SetRegistryKeyReadOnly(HKEY_CURRENT_USER, "Software", false), ERROR_SUCCESS);
  EXPECT_EQ(RunChild({"set", "Software", "Value", "child"}).exit_code, 0);
  EXPECT_EQ(ReadText("Software", "Value"), "child");
  ASSERT_EQ(SetRegistryKeyReadOnly(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner", false), ERROR_SUCCESS);
  OwnedKey key;
  ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner", key), ERROR_SUCCESS);
  EXPECT_EQ(SetText(key.get(), "Value", "changed"), ERROR_SUCCESS);
}

TEST_F(ReadOnlyKeys, AdministrationNeedsARootAndAnExistingKey) {
  EXPECT_EQ(SetRegistryKeyReadOnly(HKEY_LOCAL_MACHINE, "SOFTWARE\\Missing", true), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(SetRegistryKeyReadOnly(HKEY_PERFORMANCE_DATA, "", true), ERROR_INVALID_HANDLE);
  OwnedKey key;
  ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", key), ERROR_SUCCESS);
  EXPECT_EQ(SetRegistryKeyReadOnly(key.get(), "Locked", true), ERROR_INVALID_HANDLE);
}

}  // namespace
}  // namespace orvane::testing

namespace orvane::testing {
namespace {

TEST(StoreLimits, OversizedDataIsRefusedBeforeItIsRead) {
  TempRegistry registry;
  OwnedKey key;
  ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, "Software\\Limits", key), ERROR_SUCCESS);
  // The size is checked before the data is read: a tiny buffer is enough.
  const BYTE byte = 0;
  EXPECT_EQ(RegSetValueExA(key.get(), "Huge", 0, REG_BINARY, &byte, (64u << 20) + 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExA(key.get(), "Huge", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
}

TEST(StoreLimits, AnyTypeNumberAndExactBytesSurviveReopening) {
  TempRegistry registry;
  const std::string bytes("a\0b\xff", 4);
  {
    OwnedKey key;
    ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, "Software\\Types", key), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), "Odd", 0, 0xFFFFFFFEu, reinterpret_cast<const BYTE*>(bytes.data()), 4),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.get(), "Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3),
              ERROR_SUCCESS);
  }
  ASSERT_EQ(platform::SelectRegistryStore(registry.file()), ERROR_SUCCESS);  // a fresh connection
  OwnedKey key;
  ASSERT_EQ(OpenKey(HKEY_CURRENT_USER, "Software\\Types", key), ERROR_SUCCESS);
  char data[16];
  DWORD size = sizeof(data);
  DWORD type = 0;
  ASSERT_EQ(RegQueryValueExA(key.get(), "Odd", nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, 0xFFFFFFFEu);
  EXPECT_EQ(std::string(data, size), bytes);
  size = sizeof(data);
  ASSERT_EQ(RegQueryValueExA(key.get(), "Unterminated", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, 3u) << "no terminator is added to a string stored without one";
}

}  // namespace
}  // namespace orvane::testing
