// Predefined roots: HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\SOFTWARE\Classes,
// HKEY_CURRENT_USER a user's key under HKEY_USERS, HKEY_CURRENT_CONFIG the
// current hardware profile; the keys a Windows system has are present.
#include "registry_fixture.h"

namespace conformance {
namespace {

using Roots = RegistryTest;
ORVANE_CONFORMANCE_KINDS(Roots);

constexpr const char* kClasses = "SOFTWARE\\Classes";
constexpr const char* kCurrentProfile = "SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current";

// A key of the test's own directly below some root or path, removed with its
// subtree at the end of the test.
class ScratchKey {
 public:
  ScratchKey(HKEY root, std::string parent)
      : root_(root), path_(std::move(parent) + "OrvaneTests." + CurrentTestName()) {
    DeleteTree(root_, path_);
  }
  ~ScratchKey() { DeleteTree(root_, path_); }
  const std::string& path() const { return path_; }
  std::string Leaf() const { return path_.substr(path_.rfind('\\') + 1); }

 private:
  HKEY root_;
  std::string path_;
};

TEST_P(Roots, ClassesRootIsTheClassesKeyOfTheMachine) {
  ScratchKey scratch(HKEY_CLASSES_ROOT, "");
  Key through_root = MustCreate(HKEY_CLASSES_ROOT, scratch.path() + "\\Sub");
  ASSERT_EQ(SetString(through_root.get(), "", "via HKCR"), ERROR_SUCCESS);

  const std::string machine_path = std::string(kClasses) + "\\" + scratch.path();
  Key through_machine;
  ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, machine_path + "\\Sub", through_machine), ERROR_SUCCESS);
  EXPECT_EQ(QueryWhole(through_machine.get(), "").data, std::string("via HKCR", 9));

  MustCreate(HKEY_LOCAL_MACHINE, machine_path + "\\FromMachine");
  Key parent;
  ASSERT_EQ(OpenKey(HKEY_CLASSES_ROOT, scratch.path(), parent), ERROR_SUCCESS);
  EXPECT_EQ(SubKeyNames(parent.get()), (std::vector<std::string>{"FromMachine", "Sub"}));

  ASSERT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, (machine_path + "\\Sub").c_str()), ERROR_SUCCESS);
  EXPECT_EQ(SubKeyNames(parent.get()), std::vector<std::string>{"FromMachine"});
}

TEST_P(Roots, ClassesRootEnumeratesTheClassesKey) {
  ScratchKey scratch(HKEY_LOCAL_MACHINE, std::string(kClasses) + "\\");
  MustCreate(HKEY_LOCAL_MACHINE, scratch.path());
  bool found = false;
  for (const std::string& name : SubKeyNames(HKEY_CLASSES_ROOT)) found = found || name == scratch.Leaf();
  EXPECT_TRUE(found);
}

TEST_P(Roots, CurrentUserIsOneOfTheUsers) {
  ASSERT_EQ(SetString(Base(), "Marker", "mine"), ERROR_SUCCESS);
  std::vector<std::string> holders;
  for (const std::string& user : SubKeyNames(HKEY_USERS)) {
    Key key;
    if (OpenKey(HKEY_USERS, user + "\\" + BasePath(), key) != ERROR_SUCCESS) continue;
    holders.push_back(user);
    EXPECT_EQ(QueryWhole(key.get(), "Marker").data, std::string("mine", 5));
    ASSERT_EQ(SetDword(key.get(), "Back", 1), ERROR_SUCCESS);
  }
  ASSERT_EQ(holders.size(), 1u) << "exactly one user key is the current user's";
  EXPECT_EQ(QueryNoBuffer(Base(), "Back").result, ERROR_SUCCESS);
}

TEST_P(Roots, CurrentConfigIsTheCurrentHardwareProfile) {
  ScratchKey scratch(HKEY_CURRENT_CONFIG, "");
  Key key = MustCreate(HKEY_CURRENT_CONFIG, scratch.path());
  ASSERT_EQ(SetDword(key.get(), "V", 1), ERROR_SUCCESS);
  Key profile;
  ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, std::string(kCurrentProfile) + "\\" + scratch.path(), profile),
            ERROR_SUCCESS);
  EXPECT_EQ(QueryNoBuffer(profile.get(), "V").result, ERROR_SUCCESS);
}

TEST_P(Roots, RootsOpenWithAnEmptyPath) {
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG}) {
    Key key;
    ASSERT_EQ(OpenKey(root, "", key), ERROR_SUCCESS);
    DWORD sub_keys = 0;
    EXPECT_EQ(RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &sub_keys, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
  }
}

TEST_P(Roots, KeysOfTheRootsCannotBeDeleted) {
  for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG}) {
    EXPECT_EQ(RegDeleteKeyA(root, ""), ERROR_ACCESS_DENIED);
    Key key;
    EXPECT_EQ(OpenKey(root, "", key), ERROR_SUCCESS);
  }
  Key profile;
  EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, kCurrentProfile, profile), ERROR_SUCCESS);
}

TEST_P(Roots, SystemKeysArePresent) {
  for (const char* path : {"SOFTWARE\\Classes", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                           "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", kCurrentProfile}) {
    Key key;
    EXPECT_EQ(OpenKey(HKEY_LOCAL_MACHINE, path, key), ERROR_SUCCESS) << path;
  }
  Key key;
  EXPECT_EQ(OpenKey(HKEY_USERS, ".Default", key), ERROR_SUCCESS);
  ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", key), ERROR_SUCCESS);
  EXPECT_EQ(QueryNoBuffer(key.get(), "ProgramFilesDir").type, REG_SZ);
  EXPECT_EQ(QueryNoBuffer(key.get(), "CommonFilesDir").type, REG_SZ);
  ASSERT_EQ(OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", key), ERROR_SUCCESS);
  for (const char* name : {"CurrentVersion", "CurrentBuildNumber", "ProductId", "RegisteredOwner"}) {
    EXPECT_EQ(QueryNoBuffer(key.get(), name).type, REG_SZ) << name;
  }
}

}  // namespace
}  // namespace conformance
