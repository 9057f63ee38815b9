// Import, Backup and Restore: command lines, the backup file in the Windows
// directory (the store's folder) and its attributes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "editor_fixture.h"
#include "store/registry_store.h"
#include "platform/win32_system.h"
#include "regfiles/backup_restore.h"
#include "registry/expect_error.h"
#include "support/read_only_key.h"
#include "support/wine.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace orvane {
namespace {

constexpr DWORD kBackupAttributes = 7;

#ifndef _WIN32
// The states ('R', 'S', 'Z', ...) of this process's children, by process id.
std::map<pid_t, char> ChildStates() {
  std::map<pid_t, char> states;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream in(entry.path() / "stat");
    std::string line;
    if (!std::getline(in, line)) continue;
    const size_t close = line.rfind(')');  // the name may hold blanks and parentheses
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 1));
    char state = 0;
    pid_t parent = 0;
    if (rest >> state >> parent && parent == getpid()) states[std::stoi(entry.path().filename().string())] = state;
  }
  return states;
}

// Waits until every child of this process has ended; returns how many of
// them wait to be reaped.
size_t ZombiesOnceAllChildrenEnded() {
  for (;;) {
    const std::map<pid_t, char> states = ChildStates();
    if (std::all_of(states.begin(), states.end(), [](const auto& child) { return child.second == 'Z'; })) {
      return states.size();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}
#endif

class BackupTest : public EditorTest {
 protected:
#ifdef _WIN32
  // The backup lives in the real Windows directory: each test starts and
  // ends without one.
  BackupTest() { RemoveBackup(); }
  ~BackupTest() override { RemoveBackup(); }
  void RemoveBackup() const {
    SetFileAttributesA(Backup().c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(Backup().c_str());
  }
  std::string WindowsDirectory() const {
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder, length);
  }
  std::string Backup() const { return WindowsDirectory() + "\\Registry.orv"; }
#else
  std::string WindowsDirectory() const { return registry_.file().parent_path().string(); }
  std::string Backup() const { return (registry_.file().parent_path() / "Registry.orv").string(); }
#endif
  void AddBackupFile() {
    std::ofstream(Backup()) << "REGEDIT4\r\n";
    SetFileAttributesA(Backup().c_str(), kBackupAttributes);
  }
  void Import(std::string path) { control_.Import(path); }
  // The backup file's attributes. Wine reports every plain file as ready
  // for archiving, whatever attributes were set; Windows clears that bit
  // when the attributes are set to 7.
  DWORD BackupAttributes() const {
    const DWORD attributes = GetFileAttributesA(Backup().c_str());
    return testing::RunningUnderWine() ? attributes & ~DWORD{FILE_ATTRIBUTE_ARCHIVE} : attributes;
  }
  // Whether the section of `key` is in `text`, whatever the letter case
  // of the registry's own spelling of the key's parents.
  static bool HasSection(std::string text, std::string key) {
    const auto lower = [](std::string word) {
      for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return word;
    };
    return lower(text).find("\r\n[" + lower(key) + "]\r\n") != std::string::npos;
  }
};

#ifndef _WIN32  // needs a shell-script stand-in editor
TEST_F(BackupTest, ImportAddsTheDefaultExtensionWhenMissing) {
  AddRecordingEditor();
  Import(In("data"));
  EXPECT_EQ(RecordedArguments(), "/S\n--\n" + In("data.reg") + "\n");
}

TEST_F(BackupTest, ImportHandsTheEditorTheFileAsOneArgumentAfterTheSwitches) {
  AddRecordingEditor();
  const auto expect_file = [this](const std::string& path, const std::string& file) {
    std::filesystem::remove(programs_.dir() / "orvane-regedit.args");
    Import(path);
    EXPECT_EQ(RecordedArguments(), "/S\n--\n" + file + "\n") << path;
  };
  expect_file(In("my  data.reg"), In("my  data.reg"));
  expect_file(In("imq\"1.reg"), In("imq\"1.reg"));
  expect_file("-C:\" \"small.reg", "-C:\" \"small.reg");
  expect_file("/C", "/C.reg");
  expect_file("\"" + In("wrapped") + "\"", In("wrapped.reg"));
  expect_file("\"" + In("wrapped.reg") + "\"", In("wrapped.reg"));
}

#endif

#ifndef _WIN32  // counts this process's children in /proc
TEST_F(BackupTest, EditorsThatNobodyWaitsForAreReapedByLaterCalls) {
  AddScript("orvane-regedit", "exit 0\n");
  AddBackupFile();
  for (int i = 0; i < 20; ++i) Import(In("data"));
  control_.Restore();
  ZombiesOnceAllChildrenEnded();
  Import(In("data"));  // reaps the 21 editors that have ended
  EXPECT_EQ(ZombiesOnceAllChildrenEnded(), 1u);
  AddRecordingEditor("printf 'REGEDIT4\\r\\n' > \"$4\"\n");
  std::string file = In("x"), comment = "~";
  bool all = true;
  control_.Export(file, all, comment);  // an export reaps them as well, and its own editor
  EXPECT_EQ(ZombiesOnceAllChildrenEnded(), 0u);
}
#endif

TEST_F(BackupTest, ImportOfAMissingFileReturnsWithoutError) {
  UseOurEditor();
  Import(In("none"));
}

#ifndef _WIN32  // needs no editor on PATH; on Windows ours is beside the test
TEST_F(BackupTest, ImportWithoutEditorRaises60110) {
  EXPECT_ERROR_NUMBER(Import(In("data")), 60110);
}
#endif

TEST_F(BackupTest, TheBackupPathIsTheWindowsDirectoryAndRegistryOrv) {
  EXPECT_EQ(BackupFilePath(), WindowsDirectory() + "\\Registry.orv");
}

TEST_F(BackupTest, BackupWritesTheWholeRegistryHiddenSystemReadOnly) {
  UseOurEditor();
  control_.Backup();
  EXPECT_EQ(BackupAttributes(), kBackupAttributes);
  const std::string text = ReadText(Backup());
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n; ---", 0), 0u);
  EXPECT_NE(text.find("; Orvane Backup\r\n\r\n[HKEY_LOCAL_MACHINE]\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n[HKEY_USERS]\r\n"), std::string::npos);
}

TEST_F(BackupTest, ASecondBackupReplacesTheFirst) {
  UseOurEditor();
  control_.Backup();
  control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\AddedLater");
  control_.SetKey();
  control_.Backup();
  EXPECT_EQ(BackupAttributes(), kBackupAttributes);
  const std::string text = ReadText(Backup());
  EXPECT_TRUE(HasSection(text, "HKEY_LOCAL_MACHINE\\SOFTWARE\\AddedLater"));
  EXPECT_EQ(text.find("Orvane Backup"), text.rfind("Orvane Backup"));  // one header
}

#ifndef _WIN32  // needs no editor on PATH; on Windows ours is beside the test
TEST_F(BackupTest, BackupWithoutEditorRaises60111) {
  EXPECT_ERROR_NUMBER(control_.Backup(), 60111);
}
#endif

#ifdef _WIN32
TEST_F(BackupTest, RestoreWithoutBackupRaises60120) {
  EXPECT_ERROR_NUMBER(control_.Restore(), 60120);
}
#endif

#ifndef _WIN32  // needs a shell-script stand-in editor
TEST_F(BackupTest, RestoreWithoutBackupRaises60120AndStartsNothing) {
  AddRecordingEditor();
  EXPECT_ERROR_NUMBER(control_.Restore(), 60120);
  EXPECT_FALSE(EditorStarted());
}

TEST_F(BackupTest, RestorePassesThePathAsOneArgumentAndKeepsTheAttributes) {
  AddBackupFile();
  AddRecordingEditor();
  control_.Restore();
  EXPECT_EQ(RecordedArguments(), "/S\n/C\n--\n" + Backup() + "\n");
  EXPECT_EQ(BackupAttributes(), kBackupAttributes);
}

#endif

#ifndef _WIN32  // selects a store of our own in another folder
TEST_F(BackupTest, RestoreUsesTheStoreFolderWhateverBlanksItsNameHolds) {
  const std::filesystem::path folder = Folder() / "two  blanks";
  std::filesystem::create_directory(folder);
  ASSERT_EQ(platform::SelectRegistryStore(folder / "registry.db"), ERROR_SUCCESS);
  const std::string backup = (folder / "Registry.orv").string();
  std::ofstream(backup) << "REGEDIT4\r\n";
  AddRecordingEditor();
  control_.Restore();
  EXPECT_EQ(RecordedArguments(), "/S\n/C\n--\n" + backup + "\n");
}
#endif

#ifndef _WIN32  // needs no editor on PATH; on Windows ours is beside the test
TEST_F(BackupTest, RestoreWithoutEditorRaises60110AndKeepsTheAttributes) {
  AddBackupFile();
  EXPECT_ERROR_NUMBER(control_.Restore(), 60110);
  EXPECT_EQ(BackupAttributes(), kBackupAttributes);
}
#endif

#ifndef _WIN32  // on Windows the whole-registry replace is no transaction: a failure part-way leaves it emptied
TEST_F(BackupTest, RestoreWithOurEditorBringsBackTheBackedUpRegistry) {
  UseOurEditor();
  control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\BackedUp");
  control_.SetKey();
  control_.Backup();
  control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\AddedLater");
  control_.SetKey();
  control_.Restore();
  int32_t mode = 1;
  for (int i = 0; i < 200 && control_.VerifyExistence(mode); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_FALSE(control_.VerifyExistence(mode));
  control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\BackedUp");
  EXPECT_TRUE(control_.VerifyExistence(mode));
}
#endif

#ifdef _WIN32
// Runs the orvane-regedit.exe beside this test with `arguments` and waits for it;
// returns its exit code.
DWORD RunOurEditor(const std::string& arguments) {
  char self[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::filesystem::path editor = std::filesystem::path(std::string(self, length)).parent_path() / "orvane-regedit.exe";
  std::string line = "\"" + editor.string() + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return ~DWORD{0};
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = ~DWORD{0};
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

// The system registry has no transaction: a replacement that meets a key it
// cannot delete must be refused before it deletes anything.
TEST_F(BackupTest, AReplacementThatMeetsALockedKeyChangesNothing) {
  int32_t mode = 1;
  // Walked before the locked key (and, under Wine, before SAM, which does
  // not open for writing either).
  const char* kEarlierKey = "HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION";
  control_.GlobalKeyPath(kEarlierKey);
  ASSERT_TRUE(control_.VerifyExistence(mode));
  control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\KeptWhole\\Locked");
  control_.SetKey();
  ASSERT_EQ(testing::SetKeyReadOnly(HKEY_LOCAL_MACHINE, "SOFTWARE\\KeptWhole\\Locked", true), 0);
  const std::string file = In("replacement.reg");
  std::ofstream(file, std::ios::binary) << "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\FromFile]\r\n";
  EXPECT_NE(RunOurEditor("/C \"" + file + "\""), 0u);
  control_.GlobalKeyPath(kEarlierKey);
  EXPECT_TRUE(control_.VerifyExistence(mode));
  HKEY locked = nullptr;  // opened for reading: the control's opens ask for writing too
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KeptWhole\\Locked", 0, KEY_READ, &locked), 0);
  RegCloseKey(locked);
  control_.GlobalKeyPath("HKEY_LOCAL_MACHINE\\SOFTWARE\\FromFile");
  EXPECT_FALSE(control_.VerifyExistence(mode));
}
#endif

}  // namespace
}  // namespace orvane
